#pragma once
#include "output/pageoutput.h"
#include "reservations/seatmap.h"

#include <QWidget>

#include <functional>
#include <memory>

class QLabel;
class QSpinBox;

namespace qv {
class ClickablePicture;
class Form;
class SeatGrid;
class SeatLegend;
struct FormDescription;
}

// The seat map of one event: its hall at a glance, read from the event's
// reservations archive (only read) whenever the window becomes active and on
// "Aggiorna". A double-click on a seat, or Enter, books it on a new card or
// shows the card that holds it. A window of its own beside the workspaces.
class TfrmMappaPosti : public QWidget
{
    Q_OBJECT
public:
    // What the seats' double-click does, given by the window that opens the
    // map: a free seat goes on a new card of the event; a held one shows the
    // card (its record number).
    struct Desk
    {
        std::function<void(const QString &seat)> bookSeat;
        std::function<void(qint64 record)> showBooking;
    };

    TfrmMappaPosti(const qv::SeatMapEvent &event, Desk desk, QWidget *parent = nullptr);
    ~TfrmMappaPosti() override;

    // Opens the map of `event`, or brings forward the one already open on
    // its archive; it closes itself when the user goes back to the main menu.
    static TfrmMappaPosti *open(const qv::SeatMapEvent &event, Desk desk);

    const qv::SeatMapEvent &event() const { return m_event; }
    const qv::SeatMap &map() const { return *m_map; }
    // Reads the archive again; an archive that cannot be read gives the
    // archive access message, and no seat looks free that may not be.
    void refresh();
    // The map as printed.
    qv::page::Document document() const;

    // Toolbar.
    qv::ClickablePicture *cmdAggiorna, *cmdStampa, *cmdPDF, *cmdGuida, *cmdEsci;
    QLabel *lblTitoloEvento, *lblQuando, *lblSede, *lblContatori;
    qv::SeatLegend *lgdStati;
    QSpinBox *spnPostiPerFila; // 0: the rows as wide as the window
    qv::SeatGrid *grdPosti;
    QLabel *panInfo;

    void cmdAggiornaClick();
    void cmdStampaClick();
    void cmdPDFClick();
    void cmdGuidaClick();
    void cmdEsciClick();
    // A seat double-clicked or chosen with Enter.
    void seatActivated(int index);

    // Where the row width is kept: the program's INI file, [MappaPosti] PostiPerFila.
    static int storedRowWidth();
    static void storeRowWidth(int seats);

protected:
    bool event(QEvent *event) override;

private:
    qv::FormDescription description();
    void showHeader();
    // One card among several holders: the user picks it; 0 for none.
    qint64 chooseHolder(int index);

    qv::SeatMapEvent m_event;
    Desk m_desk;
    std::shared_ptr<qv::SeatMap> m_map;
    qv::Form *m_form = nullptr;
    bool m_readSinceInactive = false;
};
