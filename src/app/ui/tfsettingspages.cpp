// The settings window's seven pages: every control under the name settings.set stores it by.
#include "app/ui/tfsettings.h"

#include "base/prompt.h"
#include "base/settings.h"
#include "base/translator.h"
#include "base/ui/windowtranslator.h"
#include "lists/columns.h"
#include "lists/patternchoices.h"
#include "lists/ui/tfcustom.h"

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
        b->setProperty(SwatchProperty, true);
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
    g = group(p, "GBListShows", " List Shows ");
    g->addWidget(radio("RBListV2", "ID3v2, else ID3v1"), 0, 0);
    g->addWidget(radio("RBListV1", "ID3v1 only"), 0, 1);
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
