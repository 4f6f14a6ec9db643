// "Custom style": lets the user type a file-name or folder pattern, with clickable
// command names and separator samples.
#pragma once

#include <QDialog>

#include <optional>

class Prompt;
class Translator;
class WindowTranslator;
class QCheckBox;
class QLineEdit;

class TFCustom : public QDialog {
    Q_OBJECT
public:
    TFCustom(Prompt& prompt, Translator& translator, QWidget* parent = nullptr);

    // Shows the window modally, starting with the given pattern; the pattern on
    // "Ok", nullopt on "Cancel".
    std::optional<QString> choose(const QString& current);

    QString pattern() const;
    void setPattern(const QString& pattern);
    // "Ok": accepts only a pattern with at least one command letter, else says so.
    bool tryAccept();

    WindowTranslator& windowTranslator() const { return *m_tr; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Prompt& m_prompt;
    WindowTranslator* m_tr;
    QLineEdit* m_pattern;
    QCheckBox* m_upper;
};
