// "Jump to searched text": a text box over the names of the active pane; each change of
// the text lists, in list order, the names holding every word of it. Enter or a double
// click on a name selects that row in the pane.
#pragma once

#include "lists/findrows.h"

#include <QPointer>
#include <QWidget>

class QLineEdit;
class QListView;
class JumpListModel;
class SongListModel;

class TFFilter : public QWidget {
    Q_OBJECT
public:
    explicit TFFilter(QWidget* parent = nullptr);
    ~TFFilter() override;

    // Shows the window over the names of this pane: all of them at first.
    void open(PaneRef pane);
    // The rows listed now, in list order.
    const std::vector<int>& listed() const;
    void setText(const QString& text);

signals:
    // A listed row was chosen: the binder selects it in the pane.
    void rowChosen(PaneRef pane, int row);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void refilter();
    void choose(int listedIndex);
    void paneChanged();

    QLineEdit* m_text;
    QListView* m_list;
    JumpListModel* m_names;
    PaneRef m_pane;
    QPointer<SongListModel> m_watched;
    JumpIndex m_index;
    bool m_stale = true;
    bool m_placed = false;
};
