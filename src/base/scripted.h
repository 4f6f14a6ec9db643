// Prompt and progress implementations that answer from a script and record what
// was asked: for tests and for running commands without windows.
#pragma once

#include "base/progress.h"
#include "base/prompt.h"

#include <QStringList>

#include <deque>
#include <variant>

class ScriptedPrompt : public Prompt {
public:
    using Reply = std::variant<Answer, QString, std::nullopt_t>;
    // Answers are consumed in order; with none left, questions get No / Cancel
    // and inputs and dialogs are cancelled.
    void push(Reply reply) { m_replies.push_back(std::move(reply)); }
    const QStringList& asked() const { return m_asked; }
    const QStringList& informed() const { return m_informed; }

    void information(const QString& text) override { m_informed << text; }
    bool askYesNo(const QString& text) override {
        return nextAnswer(text, Answer::No) == Answer::Yes;
    }
    Answer askYesNoAll(const QString& text) override { return nextAnswer(text, Answer::No); }
    Answer askOkIgnoreNoToAll(const QString& text) override {
        return nextAnswer(text, Answer::NoToAll);
    }
    // A scripted text longer than maxLength is cut, as the box would refuse the rest.
    std::optional<QString> input(const QString&, const QString& label, const QString&,
                                 int maxLength = 0) override;
    QString chooseFolder(const QString& caption, const QString&) override {
        return nextText(caption);
    }
    QString chooseOpenFile(const QString& caption, const QString&, const QString&) override {
        return nextText(caption);
    }
    QString chooseSaveFile(const QString& caption, const QString&, const QString&) override {
        return nextText(caption);
    }

private:
    Answer nextAnswer(const QString& text, Answer fallback);
    QString nextText(const QString& text);

    std::deque<Reply> m_replies;
    QStringList m_asked;
    QStringList m_informed;
};

class ScriptedProgress : public Progress {
public:
    // Requests cancel when the given item number (1-based) is shown; 0 never.
    void cancelAtItem(int n) { m_cancelAt = n; }
    const QStringList& operations() const { return m_operations; }
    const QStringList& items() const { return m_items; }
    bool open() const { return m_open; }

    void startProgress(const QString& operation) override;
    void showProgressItem(const QString& text) override;
    void endProgress() override { m_open = false; }

private:
    QStringList m_operations;
    QStringList m_items;
    int m_cancelAt = 0;
    bool m_open = false;
};

// Progress that shows nothing and is never cancelled: for command-line runs.
class SilentProgress : public Progress {
public:
    void startProgress(const QString&) override { clearCancel(); }
    void showProgressItem(const QString&) override {}
    void endProgress() override {}
};
