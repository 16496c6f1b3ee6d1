#pragma once
#include <QWidget>

namespace qv {

// A long-lived window that is closed by hiding it and showing the window
// that comes after it (the main menu unless it says otherwise).
class Workspace : public QWidget
{
    Q_OBJECT
public:
    explicit Workspace(QWidget *parent = nullptr);

protected:
    virtual QWidget *windowAfterClose() const;
    void closeEvent(QCloseEvent *event) override;
};

// Opens the window maximised; its normal size is the whole screen too, so it
// fills the screen even where no window manager maximises it.
void fillScreen(QWidget *window);

// A fixed-size window without title-bar buttons, centred on the screen.
void makeFixedCentred(QWidget *window);

} // namespace qv
