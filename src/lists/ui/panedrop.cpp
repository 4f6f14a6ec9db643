#include "lists/ui/panedrop.h"

#include "lists/commandrouter.h"
#include "lists/ui/songlistview.h"
#include "lists/ui/tfframe.h"

#include <QDropEvent>
#include <QMimeData>

PaneDrop::PaneDrop(CommandRouter& router, TFFrame& target, TFFrame& source)
    : QObject(&target), m_router(router), m_target(target), m_source(source) {
    SongListView& list = target.list();
    list.setDragEnabled(true);
    list.setDragDropMode(QAbstractItemView::DragDrop);
    list.setDefaultDropAction(Qt::CopyAction);
    list.viewport()->installEventFilter(this);
}

bool PaneDrop::fromSource(const QEvent* event) const {
    const QMimeData* mime = static_cast<const QDropEvent*>(event)->mimeData();
    if (!mime || !mime->hasFormat(SongListView::RowsMimeType))
        return false;
    const quintptr from = mime->data(SongListView::RowsMimeType).toULongLong();
    return from == quintptr(&m_source.list()) && m_router.enabledOn("DropRows", m_target.paneRef());
}

void PaneDrop::restoreColours() {
    m_target.setPaneActive(m_target.isActive());
}

bool PaneDrop::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto* e = static_cast<QDragMoveEvent*>(event);
        const QMimeData* mime = e->mimeData();
        if (!mime || !mime->hasFormat(SongListView::RowsMimeType))
            break; // files from the file manager: the list's own handling
        if (!fromSource(event)) {
            e->ignore(); // the list's own rows, or a pane that is busy
            return true;
        }
        e->setDropAction(Qt::CopyAction);
        e->accept();
        if (event->type() == QEvent::DragEnter)
            m_target.list().setListBackground(Qt::white);
        return true;
    }
    case QEvent::DragLeave:
        restoreColours();
        break;
    case QEvent::Drop: {
        auto* e = static_cast<QDropEvent*>(event);
        if (!e->mimeData() || !e->mimeData()->hasFormat(SongListView::RowsMimeType))
            break;
        restoreColours();
        if (fromSource(event)) {
            e->setDropAction(Qt::CopyAction);
            e->accept();
            m_router.runOn("DropRows", m_target.paneRef());
        } else {
            e->ignore();
        }
        return true;
    }
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}
