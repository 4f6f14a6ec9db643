#include "lists/ui/listeditcommands.h"

#include "base/commandenv.h"
#include "base/nativepath.h"
#include "base/progress.h"
#include "base/settings.h"
#include "lists/commandrouter.h"
#include "lists/editcommands.h"
#include "lists/findrows.h"
#include "lists/selectcommands.h"
#include "lists/songlistmodel.h"
#include "lists/ui/panedrop.h"
#include "lists/ui/panemenu.h"
#include "lists/ui/songlistview.h"
#include "lists/ui/tffilter.h"
#include "lists/ui/tffind.h"
#include "lists/ui/tfframe.h"

#include <QClipboard>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QRandomGenerator>
#include <QUrl>

namespace {
using F = CommandFlag;

// The keys of a list that are no menu shortcut: Del, Shift+Del, Space, F3, Esc and
// Shift with the keypad's minus.
class ListKeys : public QObject {
public:
    ListKeys(CommandRouter& router, TFFrame& frame)
        : QObject(&frame), m_router(router), m_frame(frame) {
        frame.list().installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress)
            return QObject::eventFilter(watched, event);
        const auto* key = static_cast<QKeyEvent*>(event);
        const Qt::KeyboardModifiers mods =
            key->modifiers() & ~(Qt::KeypadModifier | Qt::GroupSwitchModifier);
        const bool keypad = key->modifiers().testFlag(Qt::KeypadModifier);
        const PaneRef pane = m_frame.paneRef();
        QString command;
        if (key->key() == Qt::Key_Delete && mods == Qt::NoModifier)
            command = "MRemoveFromList"; // the checked rows, as the Checked menu
        else if (key->key() == Qt::Key_Delete && mods == Qt::ShiftModifier)
            command = "MDeleteFromDisc";
        else if (key->key() == Qt::Key_Space && mods == Qt::NoModifier)
            command = "MInvertSelected";
        else if (key->key() == Qt::Key_F3 && mods == Qt::NoModifier)
            command = "FindNext";
        else if (key->key() == Qt::Key_Minus && keypad && mods == Qt::ShiftModifier)
            command = "Down1";
        else if (key->key() == Qt::Key_Plus && keypad && mods == Qt::ShiftModifier)
            command = "Up1";
        if (!command.isEmpty()) {
            m_router.runOn(command, pane);
            return true;
        }
        if (key->key() == Qt::Key_Escape && mods == Qt::NoModifier) {
            m_router.env().progress.requestCancel();
            m_frame.list().clearSelection();
            return true;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    CommandRouter& m_router;
    TFFrame& m_frame;
};

// A folder as a file URL, from its bytes (a name that is not UTF-8 stays the same file).
QUrl folderUrl(const QString& folder) {
    return QUrl::fromEncoded("file://" + QUrl::toPercentEncoding(toNativePath(folder), "/"));
}

void focusList(TFFrame& frame) {
    frame.list().setFocus();
    if (const QModelIndex c = frame.list().currentIndex(); c.isValid())
        frame.list().scrollTo(c);
}
} // namespace

void bindListEditCommands(CommandRouter& router, TFFrame& frame1, TFFrame& frame2, TFFind& find,
                          TFFilter& filter) {
    const auto frameOf = [&frame1, &frame2](const PaneRef& p) -> TFFrame& {
        return p.number == 0 ? frame1 : frame2;
    };
    const auto renameType = [frameOf](const CommandContext& c) {
        return frameOf(c.pane).paneMenu().renameType();
    };
    const CommandFlags rows = F::ChangesPane;
    const CommandFlags onSelected = F::ChangesPane | F::NeedsSelection;
    const CommandFlags longOnSelected = onSelected | F::LongRunning;

    // Checked menu.
    router.add("MCheckAll", rows, [](CommandContext& c) { checkAll(*c.pane.model); });
    router.add("MUnCheckAll", rows, [](CommandContext& c) { uncheckAll(*c.pane.model); });
    router.add("MInvertChecked", rows, [frameOf](CommandContext& c) {
        if (frameOf(c.pane).list().hasFocus()) // Ins means the list, not a text box
            invertChecked(*c.pane.model);
    });
    router.add("MRandomCheck", rows, [](CommandContext& c) {
        randomCheck(*c.pane.model, c.env.settings.number("SERandomSeed_skip_"),
                    QRandomGenerator::global()->generate());
    });
    using CC = SongListModel::CheckChange;
    for (const auto& [name, change] :
         {std::pair{"MCheckSelected", CC::Check}, std::pair{"MUnCheckSelected", CC::Uncheck},
          std::pair{"MInvertSelected", CC::Invert}})
        router.add(name, onSelected,
                   [change](CommandContext& c) { checkSelected(c.pane, change); });
    const CommandFlags onChecked = F::ChangesPane | F::NeedsChecked | F::LongRunning;
    router.add("MRemoveFromList", onChecked, [](CommandContext& c) {
        removeFromList(c.env, c.pane, targetRows(c.pane, RowTarget::Checked));
    });
    router.add("MDeleteFromDisc", onChecked, [](CommandContext& c) {
        deleteFromDisc(c.env, c.pane, targetRows(c.pane, RowTarget::Checked));
    });

    // Edit and File menus.
    router.add("MFind", F::None, [&find](CommandContext&) { find.showFull(); });
    const auto search = [&find, frameOf](CommandContext& c) {
        const FindResult r = findNext(c.pane, find.options(), find.lastFound());
        find.setLastFound(r.lastFound);
        if (!r.rows.empty())
            focusList(frameOf(c.pane));
    };
    router.add("FindFirst", F::None, [search, frameOf](CommandContext& c) {
        frameOf(c.pane).list().clearSelection();
        frameOf(c.pane).list().setFocus();
        search(c);
    });
    router.add("FindNext", F::None, search);
    QObject::connect(&find, &TFFind::findRequested, &router,
                     [&router] { router.run("FindFirst"); });
    router.add("MGoTo", F::None, [frameOf](CommandContext& c) {
        if (goToLine(c.env, c.pane))
            focusList(frameOf(c.pane));
    });
    router.add("MJumpTo", F::None, [&filter](CommandContext& c) { filter.open(c.pane); });
    QObject::connect(&filter, &TFFilter::rowChosen, &router, [frameOf](PaneRef pane, int row) {
        selectRows(pane, {row}, true);
        focusList(frameOf(pane));
    });
    router.add("MLineNote", rows, [](CommandContext& c) { addLineNote(c.env, *c.pane.model); });
    router.add("MRemoveEmpty", rows, [](CommandContext& c) { removeEmptyLines(c.pane); });
    for (const auto& [name, kind] : {std::pair{"MClipFileName", ClipboardKind::FileName},
                                     std::pair{"MClipLine", ClipboardKind::Line},
                                     std::pair{"MClipAdvance", ClipboardKind::Advance}})
        router.add(name, F::NeedsSelection, [kind](CommandContext& c) {
            const int row = c.pane.selectedRows().front();
            QGuiApplication::clipboard()->setText(clipboardText(c.pane.model->item(row), kind));
        });
    router.add("MClear", rows, [frameOf](CommandContext& c) {
        if (clearList(c.env, *c.pane.model))
            frameOf(c.pane).list().setHintText({});
    });

    // The panes' context menus: each entry acts on the pane whose menu it is.
    router.add("OpenDirectory1", F::NeedsSelection, [](CommandContext& c) {
        const SongItem& item = c.pane.model->item(c.pane.selectedRows().front());
        if (item.subItemCount() > 0 && !item.view(SongItem::Location).isEmpty())
            QDesktopServices::openUrl(folderUrl(item.text(SongItem::Location)));
    });
    router.add("SelectChecked1", F::NeedsChecked, [](CommandContext& c) { selectChecked(c.pane); });
    router.add("SelectAll1", F::None, [](CommandContext& c) { selectAll(c.pane); });
    router.add("SelectOnOtherList1", F::NeedsSelection, [frameOf](CommandContext& c) {
        if (selectOnOtherList(c.pane, c.other))
            focusList(frameOf(c.other)); // the other pane becomes the active one
    });
    router.add("CopySelectedToOtherList1", F::NeedsSelection, [&router](CommandContext& c) {
        if (router.enabledOn("DropRows", c.other)) // not into a pane a scan is filling
            copySelectedRows(c.pane, *c.other.model);
    });
    // A drop on a pane: copies of the other pane's selected rows.
    router.add("DropRows", rows,
               [](CommandContext& c) { copySelectedRows(c.other, *c.pane.model); });
    router.add("Rename1", onSelected,
               [renameType](CommandContext& c) { renameWithPrompt(c.env, c.pane, renameType(c)); });
    const std::pair<const char*, CaseRule> rules[] = {{"FirstLettersBig1", CaseRule::FirstLetters},
                                                      {"Beginingbig1", CaseRule::Beginning},
                                                      {"ALLCAPS1", CaseRule::AllCaps},
                                                      {"allsmall1", CaseRule::AllSmall},
                                                      {"FIRSTwordbig1", CaseRule::FirstWord},
                                                      {"lastWORDBIG1", CaseRule::LastWord}};
    for (const auto& [name, rule] : rules)
        router.add(name, longOnSelected, [renameType, rule](CommandContext& c) {
            changeCase(c.env, c.pane, c.pane.selectedRows(), rule, renameType(c));
        });
    for (const QString& name : PaneMenu::separatorNames())
        router.add(name, longOnSelected, [renameType, frameOf, name](CommandContext& c) {
            // The pair comes from the entry's caption, as the language shows it.
            const SeparatorPair pair =
                separatorFromCaption(frameOf(c.pane).paneMenu().entry(name)->text());
            changeSeparator(c.env, c.pane, c.pane.selectedRows(), pair, renameType(c));
        });
    router.add("Custom1", longOnSelected, [renameType](CommandContext& c) {
        if (const std::optional<SeparatorPair> pair = askCustomSeparator(c.env))
            changeSeparator(c.env, c.pane, c.pane.selectedRows(), *pair, renameType(c));
    });
    router.add("RemoveSelectedFromList1", longOnSelected, [](CommandContext& c) {
        removeFromList(c.env, c.pane, targetRows(c.pane, RowTarget::Selected));
    });
    router.add("DeleteSelectedFromDisc1", longOnSelected, [](CommandContext& c) {
        deleteFromDisc(c.env, c.pane, targetRows(c.pane, RowTarget::Selected));
    });
    for (const auto& [name, action] :
         {std::pair{"Up1", RateAction::Up}, std::pair{"Down1", RateAction::Down},
          std::pair{"Reset1", RateAction::Reset}})
        router.add(name, onSelected, [action](CommandContext& c) {
            rate(c.env, c.pane, c.pane.selectedRows(), action);
        });

    for (TFFrame* frame : {&frame1, &frame2}) {
        const CommandRouter::PaneSource source = [frame] { return frame->paneRef(); };
        for (QAction* a : frame->paneMenu().commandEntries()) {
            router.bind(a, a->objectName(), source);
            frame->list().addAction(a); // its keys work while the list has the focus
        }
        new ListKeys(router, *frame);
        new PaneDrop(router, *frame, frame == &frame1 ? frame2 : frame1);
        QObject::connect(frame, &TFFrame::clearRequested, &router,
                         [&router, source] { router.runOn("MClear", source()); });
        QObject::connect(frame, &TFFrame::goToLineRequested, &router,
                         [&router, source] { router.runOn("MGoTo", source()); });
    }
}
