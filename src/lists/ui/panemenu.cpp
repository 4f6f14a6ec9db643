#include "lists/ui/panemenu.h"

#include <QActionGroup>

namespace {
struct Separator {
    const char* name;
    const char* caption; // the pair is read from the caption when the entry runs
};
const Separator kSeparators[] = {
    {"SeparatorUnderscore1", "'_'  -->  '  '"},
    {"SeparatorBlank1", "'  '  -->  '_'"},
    {"SeparatorDash1", "'-'  -->  '  -  '"},
    {"SeparatorSpacedDash1", "'  -  '  -->  '-'"},
    {"SeparatorUnderDash1", "'_-_'  -->  '  -  '"},
    {"SeparatorToUnderDash1", "'  -  '  -->  '_-_'"},
};
} // namespace

QStringList PaneMenu::separatorNames() {
    QStringList names;
    for (const Separator& s : kSeparators)
        names << QString::fromLatin1(s.name);
    return names;
}

PaneMenu::PaneMenu(QWidget* parent) : QMenu(parent) {
    setObjectName("PMList");
    // "Edit ID3-tag" opens the tag editor once it exists; until then it stays disabled.
    QAction* edit = add(this, "EditID3tag1", "Edit ID3-tag", QKeySequence(Qt::Key_Return));
    m_commands.removeOne(edit);
    edit->setEnabled(false);
    setDefaultAction(edit);
    add(this, "OpenDirectory1", "Open Directory");
    addSeparator();
    add(this, "SelectChecked1", "Select Checked");
    add(this, "SelectAll1", "Select All", QKeySequence(Qt::CTRL | Qt::Key_A));
    add(this, "SelectOnOtherList1", "Select On Other List");
    add(this, "CopySelectedToOtherList1", "Copy Selected To Other List",
        QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_O));
    addSeparator();
    add(this, "Rename1", "Rename", QKeySequence(Qt::Key_F2));
    QMenu* caseMenu = addMenu("Change Case");
    caseMenu->setObjectName("ChangeCase1");
    add(caseMenu, "FirstLettersBig1", "First Letters Big");
    add(caseMenu, "Beginingbig1", "Begining big");
    add(caseMenu, "ALLCAPS1", "ALL CAPS");
    add(caseMenu, "allsmall1", "all small");
    add(caseMenu, "FIRSTwordbig1", "FIRST word big");
    add(caseMenu, "lastWORDBIG1", "last WORD BIG");
    QMenu* separators = addMenu("Separator Change");
    separators->setObjectName("SeparatorChange1");
    for (const Separator& s : kSeparators)
        add(separators, s.name, s.caption);
    separators->addSeparator();
    add(separators, "Custom1", "Custom");
    QMenu* types = addMenu("Rename Type");
    types->setObjectName("RenameType1");
    auto* group = new QActionGroup(types);
    const auto type = [&](const char* name, const char* caption) {
        QAction* a = types->addAction(caption);
        a->setObjectName(name);
        a->setCheckable(true);
        group->addAction(a);
        return a;
    };
    m_file = type("File1", "File");
    m_onlyList = type("OnlyList1", "Only List");
    m_directory = type("Directory1", "Directory");
    m_file->setChecked(true);
    addSeparator();
    add(this, "RemoveSelectedFromList1", "Remove Selected From List");
    add(this, "DeleteSelectedFromDisc1", "Delete Selected From Disc");
    addSeparator();
    QMenu* rating = addMenu("Rating");
    rating->setObjectName("Rating1");
    add(rating, "Up1", "Up", QKeySequence(Qt::SHIFT | Qt::Key_Plus));
    add(rating, "Down1", "Down",
        QKeySequence(QKeyCombination(Qt::ShiftModifier | Qt::KeypadModifier, Qt::Key_Slash)));
    add(rating, "Reset1", "Reset");
}

QAction* PaneMenu::add(QMenu* menu, const char* name, const char* caption,
                       const QKeySequence& keys) {
    QAction* a = menu->addAction(QString::fromUtf8(caption));
    a->setObjectName(name);
    a->setEnabled(false); // until its command is bound
    if (!keys.isEmpty()) {
        a->setShortcut(keys);
        // The keys work while the pane's list has the focus (the binder adds the entry
        // to the list), not anywhere in the window.
        a->setShortcutContext(Qt::WidgetShortcut);
    }
    m_commands << a;
    return a;
}

QAction* PaneMenu::entry(const QString& name) const {
    return findChild<QAction*>(name);
}

RenameType PaneMenu::renameType() const {
    if (m_onlyList->isChecked())
        return RenameType::OnlyList;
    if (m_directory->isChecked())
        return RenameType::Directory;
    return RenameType::File;
}
