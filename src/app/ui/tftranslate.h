// The translate window: edits a language file, one row per distinct text.
#pragma once

#include "app/translationtable.h"

#include <QWidget>

class Progress;
class Prompt;
class Settings;
class Translator;
class WindowTranslator;
class QComboBox;
class QLabel;
class QTreeWidget;
class QTreeWidgetItem;

class TFTranslate : public QWidget {
    Q_OBJECT
public:
    TFTranslate(Translator& translator, Settings& settings, Prompt& prompt, Progress& progress,
                QWidget* parent = nullptr);

    // "Load": reads the selected language into the list. False when nothing was loaded.
    bool load();
    // "Save": writes the rows into the selected language's file.
    bool save();
    // "Save as": asks for a file name and forces the extension ".lng".
    bool saveAs();
    // Selects a language of the list by name (without regard to case).
    bool selectLanguage(const QString& name);
    // Changes a row's text as an edit in the list does.
    void editRow(int row, const QString& text);

    const TranslationTable& table() const { return m_table; }
    QString counterText() const;
    WindowTranslator& windowTranslator() const { return *m_tr; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void fillLanguages();
    void fillRows();
    bool writeInto(const QString& path);
    void showCounter();

    Translator& m_translator;
    Settings& m_settings;
    Prompt& m_prompt;
    Progress& m_progress;
    WindowTranslator* m_tr;
    TranslationTable m_table;
    QComboBox* m_languages;
    QTreeWidget* m_list;
    QLabel* m_counter;
    bool m_filling = false;
};
