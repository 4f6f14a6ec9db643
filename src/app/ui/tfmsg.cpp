#include "app/ui/tfmsg.h"

#include "app/translator.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TFMsg::TFMsg(QWidget* mainWindow) : QDialog(nullptr), m_mainWindow(mainWindow) {
    setObjectName("FMsgForm");
    setWindowFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    setFixedSize(280, 115);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);
    setStyleSheet("#FMsgForm { border: 1px dotted rgb(0, 0, 255); border-radius: 11px; }");
    auto* layout = new QVBoxLayout(this);
    m_title = new QLabel(this);
    m_title->setObjectName("LOperation_skip_");
    m_title->setAlignment(Qt::AlignCenter);
    QFont bold = m_title->font();
    bold.setBold(true);
    m_title->setFont(bold);
    m_item = new QLabel(this);
    m_item->setObjectName("LStatus_skip_");
    m_item->setAlignment(Qt::AlignCenter);
    m_item->setMaximumWidth(240);
    auto* cancel = new QPushButton(T("ProgressCancel", "Cancel"), this);
    cancel->setObjectName("BCancel");
    connect(cancel, &QPushButton::clicked, this, [this] { requestCancel(); });
    layout->addWidget(m_title);
    layout->addWidget(m_item);
    layout->addWidget(cancel, 0, Qt::AlignCenter);
}

QString TFMsg::operationTitle(const QString& operation) {
    struct Op { const char* name; const char* key; const char* def; };
    static const Op ops[] = {
        {"add", "ProgressAdd", "Adding files"},
        {"load", "ProgressLoad", "Loading"},
        {"save", "ProgressSave", "Saving"},
    };
    for (const Op& op : ops)
        if (operation == QLatin1String(op.name))
            return T(op.key, op.def);
    return {};
}

void TFMsg::startProgress(const QString& operation) {
    clearCancel();
    const QString title = operationTitle(operation);
    if (!title.isEmpty())
        m_title->setText(title);
    m_item->clear();
    if (m_mainWindow) {
        const QRect r = m_mainWindow->frameGeometry();
        move(r.center() - rect().center());
    }
    show();
    raise();
    m_lastPaint.start();
    QApplication::processEvents();
}

void TFMsg::showProgressItem(const QString& text) {
    // Eliding keeps the line within the window; repainting is limited to a few
    // times a second so that a fast loop is not slowed by drawing.
    if (m_lastPaint.isValid() && m_lastPaint.elapsed() < 50)
        return;
    m_lastPaint.restart();
    m_item->setText(m_item->fontMetrics().elidedText(text, Qt::ElideMiddle, 240));
    QApplication::processEvents();
}

void TFMsg::endProgress() { hide(); }

void TFMsg::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        requestCancel();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TFMsg::closeEvent(QCloseEvent* event) {
    requestCancel();
    event->ignore();
}
