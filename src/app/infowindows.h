#pragma once
#include <QDialog>

class QLabel;
class QPushButton;

namespace qv {
class ClickablePicture;

// Each opens its dialog modally, owned by `owner`, and destroys it on return.
void showInfoWindow(QWidget *owner);
void showCreditsWindow(QWidget *owner);

} // namespace qv

// About the program, with the maker's information address.
class TfrmInfo : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmInfo(QWidget *parent = nullptr);
    QLabel *imgLogo;
    qv::ClickablePicture *imgEmail;
    QLabel *lnkWeb;
    QPushButton *btnChiudi;
};

// Credits, with the maker's web address.
class TfrmSplash : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmSplash(QWidget *parent = nullptr);
    QLabel *imgLogo;
    qv::ClickablePicture *imgWeb;
    QLabel *lnkWeb;
    QPushButton *btnChiudi;
};
