#pragma once
#include "ui/widgets.h"

class QLabel;
class QPushButton;

namespace qv {

// Each opens its dialog modally, owned by `owner`, and destroys it on return.
void showInfoWindow(QWidget *owner);
void showCreditsWindow(QWidget *owner);

} // namespace qv

// About the program, with the maker's information address. It closes only
// through "Chiudi".
class TfrmInfo : public qv::ButtonClosedDialog
{
    Q_OBJECT
public:
    explicit TfrmInfo(QWidget *parent = nullptr);
    QLabel *imgLogo;
    QLabel *imgInfo;
    qv::ClickablePicture *imgEmail;
    QLabel *lnkWeb;
    QPushButton *btnChiudi;
};

// Credits, with the maker's web address; centred on the window that opens it.
// It closes only through "Chiudi".
class TfrmSplash : public qv::ButtonClosedDialog
{
    Q_OBJECT
public:
    explicit TfrmSplash(QWidget *parent = nullptr);
    QLabel *imgLogo;
    qv::ClickablePicture *imgWeb;
    QLabel *lnkWeb;
    QPushButton *btnChiudi;
};
