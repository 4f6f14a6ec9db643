#include "base/ui/dialogprompt.h"

#include "base/translator.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

namespace {
QString title() {
    return QApplication::applicationDisplayName();
}
} // namespace

void DialogPrompt::information(const QString& text) {
    QMessageBox::information(m_parent, title(), text);
}

bool DialogPrompt::askYesNo(const QString& text) {
    return QMessageBox::warning(m_parent, title(), text, QMessageBox::Yes | QMessageBox::No,
                                QMessageBox::No) == QMessageBox::Yes;
}

Prompt::Answer DialogPrompt::askYesNoAll(const QString& text) {
    QMessageBox box(QMessageBox::Warning, title(), text,
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::YesToAll, m_parent);
    box.setDefaultButton(QMessageBox::No);
    switch (box.exec()) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::YesToAll:
        return Answer::YesToAll;
    default:
        return Answer::No;
    }
}

Prompt::Answer DialogPrompt::askOkIgnoreNoToAll(const QString& text) {
    QMessageBox box(QMessageBox::Warning, title(), text,
                    QMessageBox::Ok | QMessageBox::Ignore | QMessageBox::NoToAll, m_parent);
    switch (box.exec()) {
    case QMessageBox::Ok:
        return Answer::Ok;
    case QMessageBox::Ignore:
        return Answer::Ignore;
    default:
        return Answer::NoToAll;
    }
}

std::optional<QString> DialogPrompt::input(const QString& caption, const QString& label,
                                           const QString& initial) {
    bool ok = false;
    const QString text =
        QInputDialog::getText(m_parent, caption, label, QLineEdit::Normal, initial, &ok);
    if (!ok)
        return std::nullopt;
    return text;
}

QString DialogPrompt::chooseFolder(const QString& caption, const QString& start) {
    return QFileDialog::getExistingDirectory(m_parent, caption, start);
}

QString DialogPrompt::chooseOpenFile(const QString& caption, const QString& filter,
                                     const QString& start) {
    return QFileDialog::getOpenFileName(m_parent, caption, start, filter);
}

QString DialogPrompt::chooseSaveFile(const QString& caption, const QString& filter,
                                     const QString& start) {
    return QFileDialog::getSaveFileName(m_parent, caption, start, filter);
}

bool DialogPrompt::askYesNoList(const QString& text, const QStringList& items) {
    // The first few items in the question, all of them behind "Show Details...".
    const int shown = 10;
    QString body = text + "\n\n" + items.mid(0, shown).join('\n');
    if (items.size() > shown)
        body += "\n" + T("InfoAndMore", "... and %1 more").arg(items.size() - shown);
    QMessageBox box(QMessageBox::Warning, title(), body, QMessageBox::Yes | QMessageBox::No,
                    m_parent);
    box.setDefaultButton(QMessageBox::No);
    if (items.size() > shown)
        box.setDetailedText(items.join('\n'));
    return box.exec() == QMessageBox::Yes;
}
