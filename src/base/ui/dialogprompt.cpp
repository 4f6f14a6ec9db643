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

// Button captions in the interface language (Qt's own would stay English).
void translateButtons(QMessageBox& box) {
    static const struct {
        QMessageBox::StandardButton button;
        const char* key;
        const char* text;
    } captions[] = {
        {QMessageBox::Yes, "ConstYes", "Yes"},
        {QMessageBox::No, "ConstNo", "No"},
        {QMessageBox::YesToAll, "ConstYesToAll", "Yes to All"},
        {QMessageBox::NoToAll, "ConstNoToAll", "No to All"},
        {QMessageBox::Ok, "ConstOK", "OK"},
        {QMessageBox::Ignore, "ConstIgnore", "Ignore"},
        {QMessageBox::Cancel, "ConstCancel", "Cancel"},
    };
    for (const auto& c : captions)
        if (QAbstractButton* b = box.button(c.button))
            b->setText(T(c.key, c.text));
}

QMessageBox::StandardButton ask(QWidget* parent, QMessageBox::Icon icon, const QString& text,
                                QMessageBox::StandardButtons buttons,
                                QMessageBox::StandardButton defaultButton) {
    QMessageBox box(icon, title(), text, buttons, parent);
    if (defaultButton != QMessageBox::NoButton)
        box.setDefaultButton(defaultButton);
    translateButtons(box);
    return QMessageBox::StandardButton(box.exec());
}
} // namespace

QWidget* DialogPrompt::askingWindow() const {
    // The window the user is working in asks, so it stays in front once the question is
    // answered (a question parented on the main window would raise the main window over
    // the translate window that asked it).
    if (QWidget* modal = QApplication::activeModalWidget())
        return modal;
    QWidget* active = QApplication::activeWindow();
    if (active && active->isVisible() && active->windowType() != Qt::Tool &&
        active->windowType() != Qt::Popup && active->windowType() != Qt::ToolTip &&
        active->windowType() != Qt::SplashScreen)
        return active;
    return m_parent;
}

void DialogPrompt::information(const QString& text) {
    ask(askingWindow(), QMessageBox::Information, text, QMessageBox::Ok, QMessageBox::NoButton);
}

bool DialogPrompt::askYesNo(const QString& text) {
    return ask(askingWindow(), QMessageBox::Warning, text, QMessageBox::Yes | QMessageBox::No,
               QMessageBox::No) == QMessageBox::Yes;
}

Prompt::Answer DialogPrompt::askYesNoAll(const QString& text) {
    switch (ask(askingWindow(), QMessageBox::Warning, text,
                QMessageBox::Yes | QMessageBox::No | QMessageBox::YesToAll, QMessageBox::No)) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::YesToAll:
        return Answer::YesToAll;
    default:
        return Answer::No;
    }
}

Prompt::Answer DialogPrompt::askOkIgnoreNoToAll(const QString& text) {
    switch (ask(askingWindow(), QMessageBox::Warning, text,
                QMessageBox::Ok | QMessageBox::Ignore | QMessageBox::NoToAll,
                QMessageBox::NoButton)) {
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
    QInputDialog dialog(askingWindow());
    dialog.setWindowTitle(caption);
    dialog.setLabelText(label);
    dialog.setInputMode(QInputDialog::TextInput);
    dialog.setTextValue(initial);
    dialog.setOkButtonText(T("ConstOK", "OK"));
    dialog.setCancelButtonText(T("ConstCancel", "Cancel"));
    if (maxLength > 0)
        if (auto* edit = dialog.findChild<QLineEdit*>())
            edit->setMaxLength(maxLength);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.textValue();
}

QString DialogPrompt::chooseFolder(const QString& caption, const QString& start) {
    return QFileDialog::getExistingDirectory(askingWindow(), caption, start);
}

QString DialogPrompt::chooseOpenFile(const QString& caption, const QString& filter,
                                     const QString& start) {
    return QFileDialog::getOpenFileName(askingWindow(), caption, start, filter);
}

QString DialogPrompt::chooseSaveFile(const QString& caption, const QString& filter,
                                     const QString& start) {
    return QFileDialog::getSaveFileName(askingWindow(), caption, start, filter);
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
