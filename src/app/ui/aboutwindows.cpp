#include "app/ui/aboutwindows.h"

#include "base/translator.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

namespace {
QLabel* heading(const QString& text, QWidget* parent) {
    auto* l = new QLabel(text, parent);
    QFont f = l->font();
    f.setPointSizeF(f.pointSizeF() * 1.6);
    f.setBold(true);
    l->setFont(f);
    return l;
}
} // namespace

TFAbout::TFAbout(QWidget* parent) : QDialog(parent) {
    setObjectName("FAbout");
    setWindowTitle(T("AboutTitle", "About Rendolo"));
    auto* layout = new QVBoxLayout(this);
    auto* icon = new QLabel(this);
    icon->setPixmap(QPixmap(":/icons/rendolo.png"));
    layout->addWidget(icon, 0, Qt::AlignHCenter);
    layout->addWidget(heading("Rendolo " + QStringLiteral(RENDOLO_VERSION), this), 0,
                      Qt::AlignHCenter);
    auto* text = new QLabel(
        T("AboutText", "MP3 collection manager: tags, names, catalogues, lyrics and playback.~~"
                       "Built with Qt, SQLite and GStreamer."),
        this);
    text->setObjectName("LAboutText");
    text->setAlignment(Qt::AlignCenter);
    text->setWordWrap(true);
    layout->addWidget(text);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
}

TFDonations::TFDonations(QWidget* parent) : QDialog(parent) {
    setObjectName("FDonations");
    setWindowTitle(T("DonationTitle", "Make a Donation"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heading(T("DonationHeading", "Do you like Rendolo?"), this));
    auto* text =
        new QLabel(T("DonationText", "Rendolo is free. If it helps you keep your music in order,~~"
                                     "please consider supporting its development."),
                   this);
    text->setObjectName("LDonationText");
    text->setWordWrap(true);
    layout->addWidget(text);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}
