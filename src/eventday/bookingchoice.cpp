#include "eventday/bookingchoice.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QRadioButton>
#include <QVBoxLayout>

namespace qv {

BookingChoice BookingChoice::make(QWidget *parent, std::optional<qint64> card)
{
    BookingChoice c;
    c.group = new QGroupBox(QStringLiteral("Prenotazioni"), parent);
    c.group->setObjectName(QStringLiteral("grpPrenotazioni"));
    const auto option = [&c](const char *name, const QString &text) {
        auto *o = new QRadioButton(text, c.group);
        o->setObjectName(QString::fromLatin1(name));
        return o;
    };
    c.all = option("optTutte", QStringLiteral("Tutte le prenotazioni"));
    c.confirmed = option("optConfermate", QStringLiteral("Solo le prenotazioni confermate"));
    c.current = option("optScheda", QStringLiteral("Solo la scheda corrente"));
    auto *layout = new QVBoxLayout(c.group);
    auto *buttons = new QButtonGroup(c.group);
    for (QRadioButton *o : {c.all, c.confirmed, c.current}) {
        layout->addWidget(o);
        buttons->addButton(o);
    }
    if (!card) {
        c.current->hide();
        c.all->setChecked(true);
    } else if (*card <= 0) {
        c.current->setEnabled(false);
        c.current->setToolTip(QStringLiteral("La scheda corrente non \u00E8 ancora stata salvata."));
        c.all->setChecked(true);
    } else {
        c.current->setChecked(true);
    }
    return c;
}

Badges::Which BookingChoice::which() const
{
    return current->isChecked() ? Badges::Which::Current : confirmed->isChecked() ? Badges::Which::Confirmed : Badges::Which::All;
}

} // namespace qv
