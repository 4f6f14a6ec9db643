// Drops of rows from the other pane's list: accepted only from that list (never from the
// list itself), the list turns white while such a drag is over it and goes back to its
// own colour when the drag leaves; the drop runs the pane's "DropRows" command.
#pragma once

#include <QObject>

class CommandRouter;
class TFFrame;

class PaneDrop : public QObject {
    Q_OBJECT
public:
    // Watches `target`'s list for drags that come from `source`'s list.
    PaneDrop(CommandRouter& router, TFFrame& target, TFFrame& source);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool fromSource(const QEvent* event) const;
    void restoreColours();

    CommandRouter& m_router;
    TFFrame& m_target;
    TFFrame& m_source;
};
