// The shared progress window: operation title, the item being handled, Cancel.
#pragma once

#include "app/progress.h"

#include <QDialog>
#include <QElapsedTimer>

class QLabel;

class TFMsg : public QDialog, public Progress {
    Q_OBJECT
public:
    explicit TFMsg(QWidget* mainWindow);

    void startProgress(const QString& operation) override;
    void showProgressItem(const QString& text) override;
    void endProgress() override;

    // The looked-up title of an operation name; empty for an unknown name.
    static QString operationTitle(const QString& operation);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    QWidget* m_mainWindow;
    QLabel* m_title;
    QLabel* m_item;
    QElapsedTimer m_lastPaint;
};
