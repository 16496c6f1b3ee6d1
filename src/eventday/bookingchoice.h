#pragma once
#include "eventday/badges.h"

#include <optional>

class QGroupBox;
class QRadioButton;
class QWidget;

namespace qv {

// "Prenotazioni": all of them, the confirmed ones, or the card the window
// was opened from, as the badges and the confirmations by mail offer them.
struct BookingChoice
{
    QGroupBox *group = nullptr; // grpPrenotazioni
    QRadioButton *all = nullptr, *confirmed = nullptr, *current = nullptr; // optTutte, optConfermate, optScheda

    // Without `card` the third choice is hidden; a card not saved yet (0)
    // has no record number, so it is shown but cannot be chosen. A saved
    // card is the choice it starts with.
    static BookingChoice make(QWidget *parent, std::optional<qint64> card);
    Badges::Which which() const;
};

} // namespace qv
