#include "app/ui/windowstate.h"

#include "app/ui/tfmain.h"
#include "base/settings.h"
#include "lists/columns.h"
#include "lists/ui/songlistview.h"
#include "lists/ui/tfframe.h"

#include <QGuiApplication>
#include <QHeaderView>
#include <QScreen>
#include <QSplitter>
#include <QTimer>

namespace {
const QString kSection = QStringLiteral("Window");

QString pack(const QByteArray& state) {
    return QString::fromLatin1(state.toBase64());
}
QByteArray unpack(const QString& text) {
    return QByteArray::fromBase64(text.toLatin1());
}
QString columnsKey(const TFFrame& frame) {
    return frame.objectName() + QStringLiteral("Columns");
}
} // namespace

WindowState::WindowState(Settings& settings, TFMain& window)
    : m_settings(settings), m_file(settings.file()), m_window(window) {}

void WindowState::restore() {
    // The window starts maximised; one that was left smaller comes back where it was, as
    // long as that place is still on a screen. (Not restoreGeometry(): without a window
    // manager it shifts the window by a guessed title bar.)
    const QStringList g = m_file.readString(kSection, "Geometry").split(',');
    const QRect rect =
        g.size() == 4 ? QRect(g[0].toInt(), g[1].toInt(), g[2].toInt(), g[3].toInt()) : QRect();
    const QScreen* screen = QGuiApplication::screenAt(rect.center());
    if (!m_file.readBool(kSection, "Maximized", true) && rect.width() >= 200 &&
        rect.height() >= 150 && screen) {
        m_window.setWindowState(Qt::WindowNoState);
        m_window.setGeometry(rect.intersected(screen->availableGeometry()));
    }
    for (TFFrame* frame : {m_window.frame1(), m_window.frame2()}) {
        QHeaderView* header = frame->list().horizontalHeader();
        const QString key = columnsKey(*frame);
        if (!m_file.hasKey(kSection, key) ||
            !header->restoreState(unpack(m_file.readString(kSection, key))))
            continue;
        // Which columns show is the settings' business ([SettingsColumn]).
        for (int c = 0; c < ListColumnCount; ++c) {
            const bool wanted = m_settings.columnVisible(c);
            if (wanted && header->isSectionHidden(c))
                frame->setColumnVisible(c, true);
            else if (!wanted)
                header->hideSection(c);
            if (wanted && header->sectionSize(c) < 8)
                header->resizeSection(c, frame->defaultColumnWidth(c));
        }
        // The rows are in the order they were loaded, not sorted.
        header->setSortIndicator(-1, Qt::AscendingOrder);
    }
    QTimer::singleShot(0, &m_window, [this] { restoreSplitter(); });
}

void WindowState::restoreSplitter() {
    const QStringList sizes = m_file.readString(kSection, "Splitter").split(',');
    if (sizes.size() != 2 || m_file.readInt(kSection, "Layout", -1) != m_window.layoutMode() ||
        m_window.layoutMode() == 2)
        return;
    const int first = sizes[0].toInt(), second = sizes[1].toInt();
    if (first > 0 && second > 0)
        m_window.splitter()->setSizes({first, second});
}

bool WindowState::save() {
    const bool maximized = m_window.isMaximized() || m_window.isFullScreen();
    const QRect rect = maximized ? m_window.normalGeometry() : m_window.geometry();
    m_file.writeBool(kSection, "Maximized", maximized);
    m_file.writeString(kSection, "Geometry",
                       QStringLiteral("%1,%2,%3,%4")
                           .arg(rect.x())
                           .arg(rect.y())
                           .arg(rect.width())
                           .arg(rect.height()));
    m_file.writeInt(kSection, "Layout", m_window.layoutMode());
    const QList<int> sizes = m_window.splitter()->sizes();
    if (sizes.size() == 2)
        m_file.writeString(kSection, "Splitter",
                           QStringLiteral("%1,%2").arg(sizes[0]).arg(sizes[1]));
    for (TFFrame* frame : {m_window.frame1(), m_window.frame2()})
        m_file.writeString(kSection, columnsKey(*frame),
                           pack(frame->list().horizontalHeader()->saveState()));
    return m_file.save();
}
