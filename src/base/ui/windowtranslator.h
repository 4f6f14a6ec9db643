// Translates one window or pane from the language files, by the object names of its
// controls, and writes the window's English design texts into the template file.
//
// Keys of [Translations]: Window.Component.Caption|Hint|Text, Window.Component.Column[i]
// and Window.Caption (the window's title). Window and component names match without
// regard to case; unknown keys are ignored. "~~" stands for a line break.
#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>

class QWidget;
class Translator;

class WindowTranslator : public QObject {
    Q_OBJECT
public:
    // window: a top-level window or a pane; its objectName is the window name of the
    // keys. writeTemplate: write the design texts into "english.lng" (every window
    // but the splash window).
    WindowTranslator(QWidget* window, Translator& translator, bool writeTemplate = true);

    // The usual start of a window's life, once its controls exist: a translator owned
    // by the window, set to the program's current language (template written).
    static WindowTranslator* attach(QWidget* window, Translator& translator,
                                    bool followAtOnce = false);

    const QString& language() const { return m_language; }
    // Used once the window's controls exist: takes note of the design texts, writes
    // them to the template, then applies the language's translations.
    void setLanguage(const QString& language);
    // Applies another language's translations (design texts where it has none).
    void changeLanguage(const QString& language);
    // Reads every message of the current language into the message cache.
    void loadMessages();
    // A message text by key with its English default.
    QString t(const QString& key, const QString& def) const;

    // Windows that follow a language change at once, whether shown or not (the
    // settings window, the main window and its panes). The others follow when
    // shown or activated; a visible window always follows at once.
    void setFollowAtOnce(bool atOnce) { m_followAtOnce = atOnce; }

    Translator& translator() const { return m_translator; }

signals:
    // After the window's texts changed language: a window re-sets here the texts
    // it builds from messages (T()).
    void retranslated();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    enum class Property { Caption, Hint, Text, Column };
    struct Design {
        QPointer<QObject> object;
        Property property;
        int column;
        QString text;
    };
    void takeDesign();
    void writeTemplate();
    void apply();
    void followTranslator(const QString& language);

    QWidget* m_window;
    Translator& m_translator;
    bool m_writeTemplate;
    bool m_followAtOnce = false;
    bool m_designTaken = false;
    QString m_language = QStringLiteral("default");
    QString m_designTitle;
    QList<Design> m_design;
};

// Registers the language files built into the program (call before
// installShippedLanguages() from app/languages.h reads them from ":/language").
void initLanguageResources();
