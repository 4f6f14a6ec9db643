#include "app/ui/tfsettings.h"

#include "app/columns.h"
#include "app/patternchoices.h"
#include "app/prompt.h"
#include "app/settings.h"
#include "app/translator.h"
#include "app/ui/tfcustom.h"
#include "app/ui/windowtranslator.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDesktopServices>
#include <QFontDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTabWidget>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

namespace {
const char* kSwatch = "colourSwatch";
const QUrl kDownloadPage(QStringLiteral("https://rendolo.sourceforge.io/download.html"));
} // namespace

// A small picture of the screen with a marker for the title's position: three
// columns, five rows; the marker is dragged and snaps to the grid.
class TitlePositionPicker : public QWidget {
public:
    TitlePositionPicker(Settings& settings, QWidget* parent)
        : QWidget(parent), m_settings(settings) {
        setFixedSize(120, 90);
        setCursor(Qt::SizeAllCursor);
    }
    QRect marker() const {
        const int w = width() / 3, h = height() / 5;
        return {m_settings.number("TitlePositionX") * w, m_settings.number("TitlePositionY") * h, w,
                h};
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.fillRect(rect(), m_settings.colour("SPosition").darker(300));
        p.setPen(Qt::gray);
        for (int i = 1; i < 3; ++i)
            p.drawLine(i * width() / 3, 0, i * width() / 3, height());
        for (int i = 1; i < 5; ++i)
            p.drawLine(0, i * height() / 5, width(), i * height() / 5);
        p.fillRect(marker().adjusted(2, 2, -2, -2), m_settings.colour("SPosition"));
        p.setPen(Qt::black);
        p.drawRect(rect().adjusted(0, 0, -1, -1));
    }
    void mousePressEvent(QMouseEvent* e) override { moveTo(e->position().toPoint()); }
    void mouseMoveEvent(QMouseEvent* e) override {
        if (e->buttons() & Qt::LeftButton)
            moveTo(e->position().toPoint());
    }

private:
    void moveTo(QPoint p) {
        m_settings.setValue("TitlePositionX", std::clamp(p.x() * 3 / std::max(1, width()), 0, 2));
        m_settings.setValue("TitlePositionY", std::clamp(p.y() * 5 / std::max(1, height()), 0, 4));
        update();
    }
    Settings& m_settings;
};

TFSettings::TFSettings(Settings& settings, Prompt& prompt, Translator& translator, QWidget* parent)
    : QDialog(parent), m_settings(settings), m_prompt(prompt), m_translator(translator) {
    setObjectName(QStringLiteral("FSettings"));
    setWindowTitle(QStringLiteral("Settings"));
    resize(620, 560);
    build();
    bindControls();

    m_tr = new WindowTranslator(this, translator);
    m_tr->setFollowAtOnce(true);
    connect(m_tr, &WindowTranslator::retranslated, this, &TFSettings::retranslate);
    m_tr->setLanguage(translator.language());

    connect(&m_settings, &Settings::changed, this, &TFSettings::showValue);
    connect(&m_settings, &Settings::columnVisibilityChanged, this,
            [this](int column, bool visible) {
                if (QListWidgetItem* item = m_columns->item(column)) {
                    const QSignalBlocker block(m_columns);
                    item->setCheckState(visible ? Qt::Checked : Qt::Unchecked);
                }
            });
}

void TFSettings::build() {
    m_pages = new QTabWidget(this);
    m_pages->setObjectName(QStringLiteral("PCSettings"));

    // Small builders: every control carries its settings key as its object name.
    auto page = [this](const char* name, const char* caption) {
        auto* w = new QWidget;
        w->setObjectName(QString::fromLatin1(name));
        m_pages->addTab(w, QString::fromLatin1(caption));
        auto* l = new QVBoxLayout(w);
        return l;
    };
    auto group = [](QVBoxLayout* into, const char* name, const char* caption) {
        auto* g = new QGroupBox(QString::fromLatin1(caption));
        g->setObjectName(QString::fromLatin1(name));
        into->addWidget(g);
        return new QGridLayout(g);
    };
    auto check = [](const char* name, const char* caption) {
        auto* c = new QCheckBox(QString::fromLatin1(caption));
        c->setObjectName(QString::fromLatin1(name));
        return c;
    };
    auto radio = [](const char* name, const char* caption) {
        auto* r = new QRadioButton(QString::fromLatin1(caption));
        r->setObjectName(QString::fromLatin1(name));
        return r;
    };
    auto number = [](const char* name, int min, int max) {
        auto* s = new QSpinBox;
        s->setObjectName(QString::fromLatin1(name));
        s->setRange(min, max);
        return s;
    };
    auto label = [](const char* name, const char* caption) {
        auto* l = new QLabel(QString::fromLatin1(caption));
        l->setObjectName(QString::fromLatin1(name));
        return l;
    };
    auto swatch = [this](const char* name) {
        auto* b = new QToolButton;
        b->setObjectName(QString::fromLatin1(name));
        b->setProperty(kSwatch, true);
        b->setFixedSize(40, 20);
        connect(b, &QToolButton::clicked, this,
                [this, key = QString::fromLatin1(name)] { pickColour(key); });
        return b;
    };
    auto row = [](QWidget* a, QWidget* b, QWidget* c = nullptr) {
        auto* h = new QHBoxLayout;
        h->addWidget(a);
        h->addWidget(b);
        if (c)
            h->addWidget(c);
        h->addStretch();
        return h;
    };

    // Global
    QVBoxLayout* p = page("TSGlobal", "Global");
    QGridLayout* g = group(p, "GBWindowPositions", " Window Positions ");
    g->addWidget(radio("RBHorizontal", "Side by Side"), 0, 0);
    g->addWidget(radio("RBVertical", "One Above the Other"), 1, 0);
    g->addWidget(radio("RBWhole", "One List Only"), 2, 0);
    for (auto [n, c] : {std::pair{"CBAnimations", "Show Animations on Progres"},
                        {"CBDimWindow", "Dim unactive window"},
                        {"CBWarnings", "Show Warnings"},
                        {"CBCloseMinimize", "Close Minimizes To Tray"}})
        p->addWidget(check(n, c));
    m_language = new QComboBox;
    m_language->setObjectName(QStringLiteral("CBLanguage_skip_"));
    p->addLayout(row(label("LLanguage", "Language:"), m_language));
    m_fileFormat = new QComboBox;
    m_fileFormat->setObjectName(QStringLiteral("CBMp3Format_skip_"));
    p->addWidget(label("LMp3Format", "Prefered Mp3 File Format:"));
    p->addWidget(m_fileFormat);
    for (const PatternChoice& c : fileNameChoices())
        m_fileFormat->addItem(QString::fromLatin1(c.text));
    m_folderFormat = new QComboBox;
    m_folderFormat->setObjectName(QStringLiteral("CBDirStruct_skip_"));
    p->addWidget(label("LDirStruct", "Move / Copy Directory Structure"));
    p->addWidget(m_folderFormat);
    for (const PatternChoice& c : folderChoices())
        m_folderFormat->addItem(QString::fromLatin1(c.text));
    p->addStretch();

    // On Startup
    p = page("TSStartup", "On Startup");
    for (auto [n, c] : {std::pair{"CBStartMenu", "Add To Start Menu"},
                        {"CBRegExt", "Register Types On Startup"},
                        {"CBUpdates", "Check For Updates"},
                        {"CBDatabase", "Load Default Database"}})
        p->addWidget(check(n, c));
    g = group(p, "GBCompact", " Compact Database ");
    g->addWidget(radio("CBManualy", "Manualy"), 0, 0);
    g->addWidget(radio("CBEachTime", "Each Time"), 1, 0);
    g->addWidget(radio("CBCoupleUses", "After Number of Uses: "), 2, 0);
    g->addWidget(number("SEDBUse", 1, 400), 2, 1);
    p->addStretch();

    // List
    p = page("TSList", "List");
    g = group(p, "GBLoadTag", " Load ID3 Tag on ");
    g->addWidget(radio("RBLTBegining", "Begining"), 0, 0);
    g->addWidget(radio("RBLTEdit", "Edit Mp3"), 0, 1);
    g->addWidget(radio("RBLTNever", "Never"), 0, 2);
    g = group(p, "GBLyrics", " Lyrics ");
    g->addWidget(check("CBLLoadOnBegining", "Load On Begining"), 0, 0);
    g->addWidget(check("CBLCheckOnEdit", "Check On Edit"), 1, 0);
    g->addWidget(check("CBLColorFiles", "Color Files With Lyrics"), 2, 0);
    p->addLayout(row(label("LRandom", "Random probability"), number("SERandomSeed_skip_", 1, 99),
                     label("LPercent_skip_", "%")));
    g = group(p, "GBColumns", "Column Visibility");
    m_columns = new QListWidget;
    m_columns->setObjectName(QStringLiteral("LBColumns"));
    g->addWidget(m_columns, 0, 0);
    fillColumns();
    connect(m_columns, &QListWidget::itemChanged, this, [this](QListWidgetItem* item) {
        m_settings.setColumnVisible(m_columns->row(item), item->checkState() == Qt::Checked);
    });

    // List GUI
    p = page("TSListGUI", "List GUI");
    g = group(p, "GBBitrateColor", "Bitrate Color");
    int col = 0;
    for (const char* n : {"BitCMin", "BitCMid1", "BitCMid2", "BitCMax"})
        g->addWidget(swatch(n), 0, col++);
    g = group(p, "GBBitrate", "Bitrate [k bits]");
    g->addWidget(number("SEMin", 8, 320), 0, 0);
    g->addWidget(number("SEMid", 8, 320), 0, 1);
    g->addWidget(number("SEMax", 8, 320), 0, 2);
    p->addWidget(check("CBColorBitrate", "Color Line According To Bitrate"));
    p->addWidget(check("CBWeightResort", "Resort On Weight Change"));
    g = group(p, "GBRating", "Rating Type");
    g->addWidget(check("CBStar", "Show Stars"), 0, 0);
    g->addWidget(check("CBStarInterval", "Interval"), 1, 0);
    g->addWidget(number("SEStarInterval", 0, 100), 1, 1);
    g->addWidget(check("CBStarLimit", "Limit"), 2, 0);
    g->addWidget(number("SEStarMax", 10, 10000), 2, 1);
    g->parentWidget()->hide();
    p->addStretch();

    // List Hint
    p = page("TSListHint", "List Hint");
    p->addWidget(check("CBShowHint", "Show Hint"));
    g = group(p, "GBHintValues", " Values to show in a hint ");
    const std::pair<const char*, const char*> hints[] = {{"CBHAlbumImage", "Album Image"},
                                                         {"CBHSongTitle", "Song Title"},
                                                         {"CBHArtist", "Artist"},
                                                         {"CBHAlbum", "Album"},
                                                         {"CBHYear", "Year"},
                                                         {"CBHGenre", "Genre"},
                                                         {"CBHTrackNumber", "Track Number"},
                                                         {"CBHComment", "Comment"},
                                                         {"CBHLyrics", "Lyrics"},
                                                         {"CBHError", "Error"},
                                                         {"CBHCD", "On CD"},
                                                         {"CBHWeight", "Weight"},
                                                         {"CBHLength", "Length"},
                                                         {"CBHBitRate", "Bit Rate"},
                                                         {"CBHFrequency", "Frequency"},
                                                         {"CBHcrc", "CRC"},
                                                         {"CBHOriginal", "Original"},
                                                         {"CBHCopyright", "Copyright"}};
    int i = 0;
    for (auto [n, c] : hints) {
        g->addWidget(check(n, c), i % 9, i / 9);
        ++i;
    }
    p->addStretch();

    // Player
    p = page("TSPlayer", "Player");
    for (auto [n, c] : {std::pair{"CBPopOut", "Pop-out Player on Play"},
                        {"CBWinamp", "Control Winamp With Player"},
                        {"CBPlayRank", "Increase Rank On Play"}})
        p->addWidget(check(n, c));
    p->addLayout(row(label("LPlayLength", "Length of Partial Playing:"),
                     number("EPlayLength", 2, 59), label("LSeconds1", "seconds")));
    g = group(p, "GBPlayerTime", " Player Time ");
    g->addWidget(radio("CBCountDown", "Count Down"), 0, 0);
    g->addWidget(radio("CBCountUp", "Count Up"), 0, 1);
    p->addWidget(check("CBShowOnScreen", "Show Playing Song on Screen"));
    p->addLayout(row(label("LShowTime", "Show for"), number("SEShowTime", 1, 10),
                     label("LSeconds2", "seconds")));
    g = group(p, "GBTitle", " Title And Karaoke ");
    g->addWidget(swatch("SNormal"), 0, 0);
    g->addWidget(label("LNormal", "Color of Normal Title"), 0, 1);
    g->addWidget(swatch("SActive"), 1, 0);
    g->addWidget(label("LActive", "Color of Active Karaoke"), 1, 1);
    g->addWidget(swatch("SPosition"), 2, 0);
    g->addWidget(label("LPosition", "Position And Backround"), 2, 1);
    m_titleSample = label("LTitleSample", "Song Title");
    m_titleSample->setToolTip(QStringLiteral("Click to choose the title font"));
    m_titleSample->setCursor(Qt::PointingHandCursor);
    m_titleSample->installEventFilter(this);
    g->addWidget(m_titleSample, 3, 0, 1, 2);
    m_position = new TitlePositionPicker(m_settings, this);
    m_position->setObjectName(QStringLiteral("PPosition"));
    g->addWidget(m_position, 0, 2, 4, 1);
    p->addStretch();

    // Other
    p = page("TSOther", "Other");
    g = group(p, "GBInfoPages", " Info Pages ");
    i = 0;
    for (auto [n, c] : {std::pair{"CBInfoId3v1", "ID3v1 Tag"},
                        {"CBInfoId3v2", "ID3v2 Tag"},
                        {"CBInfoMPEG", "MPEG Info"},
                        {"CBInfoFile", "File Info"},
                        {"CBInfoCovers", "Covers"},
                        {"CBInfoLyrics", "Lyrics"}})
        g->addWidget(check(n, c), i++, 0);
    auto* download = new QPushButton(QStringLiteral("Download"));
    download->setObjectName(QStringLiteral("BDownload"));
    download->setToolTip(QStringLiteral("Open the download page for a newer version"));
    connect(download, &QPushButton::clicked, this,
            [] { QDesktopServices::openUrl(kDownloadPage); });
    p->addLayout(row(label("LDownload", "Newest version:"), download));
    p->addStretch();

    auto* save = new QPushButton(QStringLiteral("Save"));
    save->setObjectName(QStringLiteral("BSave"));
    save->setDefault(true);
    auto* close = new QPushButton(QStringLiteral("Close"));
    close->setObjectName(QStringLiteral("BClose"));
    connect(save, &QPushButton::clicked, this, &TFSettings::save);
    connect(close, &QPushButton::clicked, this, &QDialog::close);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(save);
    buttons->addWidget(close);
    auto* main = new QVBoxLayout(this);
    main->addWidget(m_pages);
    main->addLayout(buttons);
}

// The generic rule: a check box, radio button, number box or colour swatch whose
// name is a key of [Settings] shows that setting and changes it at once.
void TFSettings::bindControls() {
    const QList<QWidget*> widgets = findChildren<QWidget*>();
    for (QWidget* w : widgets) {
        const QString key = w->objectName();
        if (key.isEmpty() || !m_settings.value(key).isValid())
            continue;
        if (auto* b = qobject_cast<QAbstractButton*>(w); b && b->isCheckable()) {
            connect(b, &QAbstractButton::toggled, this, [this, b, key](bool on) {
                if (!on && key.compare(QLatin1String("CBWarnings"), Qt::CaseInsensitive) == 0 &&
                    !m_prompt.askYesNo(m_translator.translate(
                        QStringLiteral("WarningsDisable"),
                        QStringLiteral("This will disable all the warnings.~~You will not be "
                                       "warned for file or "
                                       "any other kind of deletion again.~~Do you wish to disable "
                                       "warnings?")))) {
                    const QSignalBlocker block(b);
                    b->setChecked(true);
                    return;
                }
                m_settings.setValue(key, on);
            });
        } else if (auto* s = qobject_cast<QSpinBox*>(w)) {
            connect(s, &QSpinBox::valueChanged, this,
                    [this, key](int v) { m_settings.setValue(key, v); });
        } else if (!w->property(kSwatch).isValid()) {
            continue;
        }
        m_controls.insert(key.toLower(), w);
        showValue(key);
    }
    showValue(QStringLiteral("Language"));
    showValue(QStringLiteral("LTitleName"));
    selectFormatEntries();

    connect(m_language, &QComboBox::activated, this, [this](int index) {
        const QString name = m_language->itemText(index);
        m_settings.setValue(QStringLiteral("Language"), name);
        m_translator.changeLanguage(name);
    });
    connect(m_fileFormat, &QComboBox::activated, this, &TFSettings::chooseFileFormat);
    connect(m_folderFormat, &QComboBox::activated, this, &TFSettings::chooseFolderFormat);
}

// Shows a setting's live value in its control (after a change from anywhere).
void TFSettings::showValue(const QString& key) {
    const QString lower = key.toLower();
    if (lower == QLatin1String("language")) {
        const QSignalBlocker block(m_language);
        m_language->clear();
        m_language->addItems(m_translator.languages());
        const int i = m_language->findText(m_settings.text(key), Qt::MatchFixedString);
        if (i < 0 && !m_settings.text(key).isEmpty())
            m_language->addItem(m_settings.text(key));
        m_language->setCurrentIndex(i >= 0 ? i : m_language->count() - 1);
        return;
    }
    if (lower.startsWith(QLatin1String("ltitle")) ||
        lower.startsWith(QLatin1String("titleposition")) || lower == QLatin1String("sposition")) {
        showTitleFont();
        m_position->update();
    }
    if (lower.startsWith(QLatin1String("mp3fileformat")) ||
        lower == QLatin1String("cbdirstruct_skip_"))
        selectFormatEntries();
    QWidget* w = m_controls.value(lower);
    if (!w)
        return;
    const QSignalBlocker block(w);
    if (auto* b = qobject_cast<QAbstractButton*>(w); b && b->isCheckable()) {
        b->setChecked(m_settings.flag(key));
    } else if (auto* s = qobject_cast<QSpinBox*>(w)) {
        s->setValue(m_settings.number(key));
    } else {
        const QColor c = m_settings.colour(key);
        w->setStyleSheet(
            QStringLiteral("background-color: %1; border: 1px solid gray;").arg(c.name()));
    }
}

void TFSettings::selectFormatEntries() {
    {
        const QSignalBlocker block(m_fileFormat);
        const int i =
            choiceIndex(fileNameChoices(), m_settings.text(QStringLiteral("Mp3FileFormat_text")));
        m_fileFormat->setCurrentIndex(i >= 0 ? i : 0);
    }
    const QSignalBlocker block(m_folderFormat);
    const int i = m_settings.number(QStringLiteral("CBDirStruct_skip_"));
    m_folderFormat->setCurrentIndex(i >= 0 && i < m_folderFormat->count() ? i : 0);
}

TFCustom& TFSettings::custom() {
    if (!m_custom)
        m_custom = new TFCustom(m_prompt, m_translator, this);
    return *m_custom;
}

bool TFSettings::chooseCustomFileFormat() {
    const auto pattern = custom().choose(m_settings.text(QStringLiteral("Mp3FileFormat")));
    if (!pattern)
        return false;
    m_settings.setValue(QStringLiteral("Mp3FileFormat"), *pattern);
    m_settings.setValue(
        QStringLiteral("Mp3FileFormat_text"),
        QLatin1String(fileNameChoices()[customChoiceIndex(fileNameChoices())].text));
    return true;
}

bool TFSettings::chooseCustomFolderFormat() {
    const auto pattern = custom().choose(m_settings.text(QStringLiteral("MoveCopyFileFormat")));
    if (!pattern)
        return false;
    m_settings.setValue(QStringLiteral("MoveCopyFileFormat"), *pattern);
    m_settings.setValue(QStringLiteral("CBDirStruct_skip_"), customChoiceIndex(folderChoices()));
    return true;
}

void TFSettings::chooseFileFormat(int index) {
    const auto& choices = fileNameChoices();
    if (index < 0 || index >= choices.size())
        return;
    if (choices[index].kind == PatternChoice::Kind::Pattern) {
        m_settings.setValue(QStringLiteral("Mp3FileFormat"), QLatin1String(choices[index].pattern));
        m_settings.setValue(QStringLiteral("Mp3FileFormat_text"),
                            QLatin1String(choices[index].text));
    } else if (choices[index].kind == PatternChoice::Kind::Custom) {
        chooseCustomFileFormat();
    }
    selectFormatEntries(); // the separator, or a cancelled "Custom", keeps the entry chosen before
}

void TFSettings::chooseFolderFormat(int index) {
    const auto& choices = folderChoices();
    if (index < 0 || index >= choices.size())
        return;
    if (choices[index].kind == PatternChoice::Kind::Pattern) {
        m_settings.setValue(QStringLiteral("MoveCopyFileFormat"),
                            QLatin1String(choices[index].pattern));
        m_settings.setValue(QStringLiteral("CBDirStruct_skip_"), index);
    } else if (choices[index].kind == PatternChoice::Kind::Custom) {
        chooseCustomFolderFormat();
    }
    selectFormatEntries();
}

void TFSettings::fillColumns() {
    const QSignalBlocker block(m_columns);
    if (m_columns->count() == 0)
        for (int i = 0; i < ListColumnCount; ++i) {
            auto* item = new QListWidgetItem(m_columns);
            item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable | Qt::ItemIsSelectable);
            item->setCheckState(m_settings.columnVisible(i) ? Qt::Checked : Qt::Unchecked);
        }
    for (int i = 0; i < ListColumnCount; ++i)
        m_columns->item(i)->setText(listColumnHeader(i));
}

void TFSettings::showTitleFont() {
    QFont f(m_settings.text(QStringLiteral("LTitleName")));
    f.setPointSize(std::clamp(m_settings.number(QStringLiteral("LTitleSize")), 6, 36));
    const QString style = m_settings.text(QStringLiteral("LTitleStyle"));
    f.setBold(style.contains('B'));
    f.setItalic(style.contains('I'));
    f.setUnderline(style.contains('U'));
    f.setStrikeOut(style.contains('S'));
    m_titleSample->setFont(f);
    QPalette pal = m_titleSample->palette();
    pal.setColor(QPalette::WindowText, m_settings.colour(QStringLiteral("SNormal")));
    m_titleSample->setPalette(pal);
}

void TFSettings::pickTitleFont() {
    QFont f(m_settings.text(QStringLiteral("LTitleName")),
            m_settings.number(QStringLiteral("LTitleSize")));
    const QString style = m_settings.text(QStringLiteral("LTitleStyle"));
    f.setBold(style.contains('B'));
    f.setItalic(style.contains('I'));
    f.setUnderline(style.contains('U'));
    f.setStrikeOut(style.contains('S'));
    bool ok = false;
    f = QFontDialog::getFont(&ok, f, this);
    if (!ok)
        return;
    QString letters;
    if (f.bold())
        letters += 'B';
    if (f.italic())
        letters += 'I';
    if (f.underline())
        letters += 'U';
    if (f.strikeOut())
        letters += 'S';
    m_settings.setValue(QStringLiteral("LTitleName"), f.family());
    m_settings.setValue(QStringLiteral("LTitleSize"), f.pointSize());
    m_settings.setValue(QStringLiteral("LTitleStyle"), letters);
}

void TFSettings::pickColour(const QString& key) {
    const QColor c = QColorDialog::getColor(m_settings.colour(key), this);
    if (c.isValid())
        m_settings.setValue(key, c);
}

void TFSettings::retranslate() {
    fillColumns();
}

void TFSettings::showPage(Page page) {
    m_pages->setCurrentIndex(int(page));
    show();
    raise();
    activateWindow();
}

void TFSettings::showPage(const QString& page) {
    static const char* const captions[] = {"Global",    "On Startup", "List", "List GUI",
                                           "List Hint", "Player",     "Other"};
    for (int i = 0; i < m_pages->count(); ++i)
        if (page.compare(QLatin1String(captions[i]), Qt::CaseInsensitive) == 0 ||
            page.compare(m_pages->widget(i)->objectName(), Qt::CaseInsensitive) == 0)
            m_pages->setCurrentIndex(i);
    show();
    raise();
    activateWindow();
}

void TFSettings::save() {
    m_settings.saveSettings();
    close();
}

bool TFSettings::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_titleSample && event->type() == QEvent::MouseButtonRelease) {
        pickTitleFont();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}
