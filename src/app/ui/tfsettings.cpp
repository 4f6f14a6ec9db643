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
        } else if (!w->property(SwatchProperty).isValid()) {
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
    // A change that was not written would be lost at exit: say so and stay open.
    if (!m_settings.saveSettings()) {
        m_prompt.information(m_tr->t(QStringLiteral("SettingsNotSaved"),
                                     QStringLiteral("The settings could not be saved.")) +
                             "\n" + m_settings.file().path() + ": " +
                             m_settings.file().errorString());
        return;
    }
    close();
}

bool TFSettings::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_titleSample && event->type() == QEvent::MouseButtonRelease) {
        pickTitleFont();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}
