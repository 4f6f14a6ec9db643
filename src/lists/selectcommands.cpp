#include "lists/selectcommands.h"
#include "lists/rowscan.h"

#include "base/commandenv.h"
#include "base/prompt.h"
#include "base/translator.h"
#include "lists/columns.h"
#include "lists/editrules.h"
#include "lists/songlistmodel.h"

#include <QHash>

#include <algorithm>
#include <iterator>

#include <optional>

void selectRows(PaneRef pane, const std::vector<int>& rows, bool clear, int current) {
    if (!pane.selection)
        return;
    SongListModel& model = *pane.model;
    const int lastColumn = model.columnCount() - 1;
    // Adding to a selection: the union, computed here. Qt compares an old selection with
    // a new one range by range, which takes hours for a hundred thousand scattered rows;
    // clearing first and selecting whole rows as they are keeps it to one pass.
    std::vector<int> all;
    if (!clear) {
        const std::vector<int> had = pane.selectedRows();
        std::set_union(had.begin(), had.end(), rows.begin(), rows.end(), std::back_inserter(all));
    }
    const std::vector<int>& wanted = clear ? rows : all;
    // One range per run of neighbouring rows: a selection of a million rows stays small.
    QItemSelection selection;
    for (size_t i = 0; i < wanted.size();) {
        size_t j = i;
        while (j + 1 < wanted.size() && wanted[j + 1] == wanted[j] + 1)
            ++j;
        if (wanted[i] >= 0 && wanted[j] < model.size())
            selection.append(
                QItemSelectionRange(model.index(wanted[i], 0), model.index(wanted[j], lastColumn)));
        i = j + 1;
    }
    if (pane.selection->hasSelection())
        pane.selection->clearSelection();
    if (!selection.isEmpty())
        pane.selection->select(selection, QItemSelectionModel::Select);
    if (current < 0 && !rows.empty())
        current = rows.front();
    if (current >= 0 && current < model.size())
        pane.selection->setCurrentIndex(model.index(current, 0), QItemSelectionModel::NoUpdate);
}

void selectAll(PaneRef pane) {
    if (!pane.selection || pane.model->size() == 0)
        return;
    SongListModel& model = *pane.model;
    const QItemSelection all(model.index(0, 0),
                             model.index(model.size() - 1, model.columnCount() - 1));
    pane.selection->select(all, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void selectChecked(PaneRef pane) {
    std::vector<int> rows;
    const std::vector<SongItem>& items = pane.model->items();
    for (size_t r = 0; r < items.size(); ++r)
        if (items[r].checked())
            rows.push_back(int(r));
    selectRows(pane, rows, true);
}

bool selectOnOtherList(PaneRef pane, PaneRef other) {
    const std::vector<int> selected = pane.selectedRows();
    if (selected.empty() || !other || other.model->size() == 0)
        return false;
    // The wanted names by their case-folded hash; each is found once, at its first row in
    // the other pane. No name is copied: a million rows are hashed in place.
    QMultiHash<std::size_t, int> wanted;
    wanted.reserve(qsizetype(selected.size()));
    for (const int r : selected)
        wanted.insert(foldedHash(pane.model->item(r).view(SongItem::FileName)), r);
    std::vector<char> found(size_t(pane.model->size()), 0);
    std::vector<int> rows;
    const std::vector<SongItem>& items = other.model->items();
    for (size_t r = 0; r < items.size(); ++r) {
        prefetchRow(items, r, SongItem::FileName);
        const QStringView name = items[r].view(SongItem::FileName);
        const auto [first, last] = wanted.equal_range(foldedHash(name));
        bool hit = false;
        for (auto it = first; it != last; ++it) {
            if (found[size_t(*it)] ||
                !foldedEqual(name, pane.model->item(*it).view(SongItem::FileName)))
                continue;
            found[size_t(*it)] = 1; // every selected row of that name is answered here
            hit = true;
        }
        if (hit)
            rows.push_back(int(r));
    }
    selectRows(other, rows, true);
    return true;
}

int copySelectedRows(PaneRef from, SongListModel& to) {
    const std::vector<int> rows = from.selectedRows();
    std::vector<SongItem> copies;
    copies.reserve(rows.size());
    for (const int r : rows)
        copies.push_back(from.model->item(r));
    to.append(std::move(copies));
    return int(rows.size());
}

bool goToLine(CommandEnv& env, PaneRef pane) {
    SongListModel& model = *pane.model;
    if (model.size() == 0)
        return false;
    const std::vector<int> selected = pane.selectedRows();
    const QString start = selected.empty() ? QStringLiteral("1") : QString::number(selected[0] + 1);
    const std::optional<QString> answer =
        env.prompt.input(T("GoToLine", "Go To Line"), T("GoToLineNumber", "Number") + ": ", start);
    if (!answer)
        return false;
    bool ok = false;
    const qlonglong line = answer->trimmed().toLongLong(&ok);
    if (!ok) {
        env.prompt.information(
            T("InfoNotInteger", "'%1' is not a valid integer value.").arg(*answer));
        return false;
    }
    if (line < 1 || line > model.size())
        return false;
    selectRows(pane, {int(line - 1)}, true);
    return true;
}

QString clipboardText(const SongItem& item, ClipboardKind kind) {
    switch (kind) {
    case ClipboardKind::FileName:
        return item.text(SongItem::FileName);
    case ClipboardKind::Line: {
        QString line = item.text(SongItem::FileName);
        for (int c = 1; c < item.textCount(); ++c)
            line += ' ' + item.text(c);
        return line.trimmed();
    }
    case ClipboardKind::Advance: {
        QString text = listColumnHeader(SongItem::FileName) + ": " + item.text(SongItem::FileName);
        for (int c = 1; c < item.textCount(); ++c) {
            const QStringView v = item.view(c);
            if (v.isEmpty() || v == u" ")
                continue;
            text += "\r\n" + listColumnHeader(c) + ": " + v.toString();
        }
        return text.trimmed();
    }
    }
    return {};
}
