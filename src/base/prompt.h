// Every question the program asks the user goes through this interface, so that
// commands run the same with real dialogs and with scripted answers in tests.
#pragma once

#include <QString>

#include <optional>

class Prompt {
public:
    enum class Answer { Ok, Yes, No, YesToAll, Ignore, NoToAll, Cancel };
    virtual ~Prompt() = default;

    // An information message with one OK button.
    virtual void information(const QString& text) = 0;
    // A warning question with Yes and No; true for Yes.
    virtual bool askYesNo(const QString& text) = 0;
    // Yes / No / Yes to All.
    virtual Answer askYesNoAll(const QString& text) = 0;
    // OK / Ignore / No to All.
    virtual Answer askOkIgnoreNoToAll(const QString& text) = 0;
    // A one-line input box; nullopt when cancelled. maxLength > 0 limits what can be typed.
    virtual std::optional<QString> input(const QString& caption, const QString& label,
                                         const QString& initial, int maxLength = 0) = 0;
    // File dialogs; an empty result means cancelled. filter uses Qt's form
    // ("Lists (*.txt *.csv);;All files (*)").
    virtual QString chooseFolder(const QString& caption, const QString& start) = 0;
    virtual QString chooseOpenFile(const QString& caption, const QString& filter,
                                   const QString& start) = 0;
    virtual QString chooseSaveFile(const QString& caption, const QString& filter,
                                   const QString& start) = 0;
};
