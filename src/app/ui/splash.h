// The start-up window: the program's picture and one status line.
#pragma once

#include <QWidget>

class QLabel;

class TFSplash : public QWidget {
    Q_OBJECT
public:
    TFSplash();
    // Shows the status text of a start-up step (looked up by key) and paints it.
    void showStep(const char* key, const char* def);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QLabel* m_status;
};
