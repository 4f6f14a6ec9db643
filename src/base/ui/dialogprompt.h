// The prompt interface answered by real dialogs. A question belongs to the window that
// asks it (the active one), else to the main window; its buttons are captioned in the
// interface language (ConstYes, ConstNo, ...).
#pragma once

#include "base/prompt.h"

class QWidget;

class DialogPrompt : public Prompt {
public:
    explicit DialogPrompt(QWidget* parent = nullptr) : m_parent(parent) {}
    void setParent(QWidget* parent) { m_parent = parent; }

    void information(const QString& text) override;
    bool askYesNo(const QString& text) override;
    bool askYesNoList(const QString& text, const QStringList& items) override;
    Answer askYesNoAll(const QString& text) override;
    Answer askOkIgnoreNoToAll(const QString& text) override;
    std::optional<QString> input(const QString& caption, const QString& label,
                                 const QString& initial, int maxLength = 0) override;
    QString chooseFolder(const QString& caption, const QString& start) override;
    QString chooseOpenFile(const QString& caption, const QString& filter,
                           const QString& start) override;
    QString chooseSaveFile(const QString& caption, const QString& filter,
                           const QString& start) override;
    QString chooseSaveFileType(const QString& caption, const QStringList& types,
                               const QString& start, int& type) override;

    // The parent of the next question.
    QWidget* askingWindow() const;

private:
    QWidget* m_parent;
};
