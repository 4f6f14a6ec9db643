// The settings window: shows and edits the live settings store. A change takes
// effect at once; "Save" writes settings.set and closes; "Close" only closes.
#pragma once

#include <QDialog>
#include <QHash>

class Prompt;
class Settings;
class TFCustom;
class Translator;
class WindowTranslator;
class QComboBox;
class QLabel;
class QListWidget;
class QTabWidget;

class TFSettings : public QDialog {
    Q_OBJECT
public:
    enum class Page { Global, OnStartup, List, ListGui, ListHint, Player, Other };

    TFSettings(Settings& settings, Prompt& prompt, Translator& translator,
               QWidget* parent = nullptr);

    // Shows the window on a page (the column menu's "Set visible columns" uses List).
    void showPage(Page page);
    // The same by the page's English caption or object name ("List", "TSList");
    // an unknown or empty name keeps the page last shown.
    void showPage(const QString& page);
    // The custom style window used by both "Custom" entries; without one the
    // settings window makes its own on first use.
    void setCustomStyleWindow(TFCustom* custom) { m_custom = custom; }

    // The "Custom" entries, also for the menus: asks for a pattern and, on OK,
    // makes it current. False when cancelled.
    bool chooseCustomFileFormat();
    bool chooseCustomFolderFormat();

    WindowTranslator& windowTranslator() const { return *m_tr; }

public slots:
    // "Save": writes settings.set and closes.
    void save();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The dynamic property that marks a colour swatch (its value is the settings key).
    static constexpr const char* SwatchProperty = "colourSwatch";

    void build(); // the seven pages (tfsettingspages.cpp)
    void bindControls();
    void showValue(const QString& key);
    void chooseFileFormat(int index);
    void chooseFolderFormat(int index);
    void selectFormatEntries();
    void fillColumns();
    void showTitleFont();
    void pickTitleFont();
    void pickColour(const QString& key);
    void retranslate();
    TFCustom& custom();

    Settings& m_settings;
    Prompt& m_prompt;
    Translator& m_translator;
    WindowTranslator* m_tr = nullptr;
    TFCustom* m_custom = nullptr;
    QTabWidget* m_pages = nullptr;
    QComboBox* m_language = nullptr;
    QComboBox* m_fileFormat = nullptr;
    QComboBox* m_folderFormat = nullptr;
    QListWidget* m_columns = nullptr;
    QLabel* m_titleSample = nullptr;
    QWidget* m_position = nullptr;       // the title position picker
    QHash<QString, QWidget*> m_controls; // lower-case settings key -> control
};
