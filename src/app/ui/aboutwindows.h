// The about window (version and credits) and the donation window.
#pragma once

#include <QDialog>

class TFAbout : public QDialog {
    Q_OBJECT
public:
    explicit TFAbout(QWidget* parent = nullptr);
};

class TFDonations : public QDialog {
    Q_OBJECT
public:
    explicit TFDonations(QWidget* parent = nullptr);
};
