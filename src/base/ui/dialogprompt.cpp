#include "base/ui/dialogprompt.h"

#include "base/translator.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QLineEdit>
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
                                           const QString& initial, int maxLength) {
    QInputDialog dialog(m_parent);
    dialog.setWindowTitle(caption);
    dialog.setLabelText(label);
    dialog.setInputMode(QInputDialog::TextInput);
    dialog.setTextValue(initial);
    if (maxLength > 0)
        if (auto* edit = dialog.findChild<QLineEdit*>())
            edit->setMaxLength(maxLength);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.textValue();
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

QString DialogPrompt::chooseSaveFileType(const QString& caption, const QStringList& types,
                                         const QString& start, int& type) {
    QFileDialog dialog(m_parent, caption);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    // The caller asks about the file it really writes (its extension may change).
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setNameFilters(types);
    if (type >= 0 && type < types.size())
        dialog.selectNameFilter(types.at(type));
    const QFileInfo info(start);
    if (!start.isEmpty()) {
        if (info.isDir()) {
            dialog.setDirectory(start);
        } else {
            dialog.setDirectory(info.absolutePath());
            dialog.selectFile(info.fileName());
        }
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    type = int(types.indexOf(dialog.selectedNameFilter()));
    return dialog.selectedFiles().first();
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
