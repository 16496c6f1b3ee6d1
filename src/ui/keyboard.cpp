#include "ui/keyboard.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QPointer>
#include <QShortcut>
#include <QStyle>
#include <QVariant>

#include <limits>

namespace qv {

namespace {

// A button's key presses it at once, not after the usual short press
// animation, so what the user types next lands on the card the action left
// (a new card, a saved card).
class PressAtOnce : public QObject
{
public:
    explicit PressAtOnce(QAbstractButton *button) : QObject(button), m_button(button) {}

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() != QEvent::Shortcut)
            return false;
        m_button->click();
        return true;
    }

private:
    QAbstractButton *m_button;
};

// Enter presses a keyboard stop, as Space does.
class EnterPresses : public QObject
{
public:
    explicit EnterPresses(QAbstractButton *button) : QObject(button), m_button(button) {}

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key != Qt::Key_Return && key != Qt::Key_Enter)
            return false;
        m_button->click();
        return true;
    }

private:
    QAbstractButton *m_button;
};

class ReservedKeys : public QObject
{
public:
    ReservedKeys(QWidget *box, KeyTest takes) : QObject(box), m_takes(std::move(takes)) {}

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() != QEvent::ShortcutOverride)
            return false;
        auto *key = static_cast<QKeyEvent *>(event);
        if (!m_takes(key))
            return false;
        key->accept(); // the key goes to the box as an ordinary key press
        return true;
    }

private:
    KeyTest m_takes;
};

QPoint centreOf(const QWidget *w)
{
    return w->mapTo(w->window(), w->rect().center());
}

class ArrowKeys : public QObject
{
public:
    ArrowKeys(QObject *parent, QList<QList<QWidget *>> rows) : QObject(parent), m_rows(std::move(rows)) {}

    void watch()
    {
        for (const QList<QWidget *> &row : m_rows)
            for (QWidget *w : row)
                w->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        auto *key = static_cast<QKeyEvent *>(event);
        auto *from = static_cast<QWidget *>(watched);
        if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier | Qt::ShiftModifier))
            return false;
        QWidget *to = nullptr;
        switch (key->key()) {
        case Qt::Key_Left: to = step(from, -1); break;
        case Qt::Key_Right: to = step(from, +1); break;
        case Qt::Key_Up: to = nearestInRow(from, -1); break;
        case Qt::Key_Down: to = nearestInRow(from, +1); break;
        default: return false;
        }
        if (to)
            to->setFocus(Qt::TabFocusReason);
        return true;
    }

private:
    QList<QWidget *> reachable(const QList<QWidget *> &row) const
    {
        QList<QWidget *> out;
        for (QWidget *w : row)
            if (w->isVisible() && w->isEnabled())
                out << w;
        return out;
    }
    // The previous or next control in reading order, wrapping round.
    QWidget *step(QWidget *from, int direction) const
    {
        QList<QWidget *> all;
        for (const QList<QWidget *> &row : m_rows)
            all += reachable(row);
        const qsizetype i = all.indexOf(from);
        if (i < 0 || all.size() < 2)
            return nullptr;
        return all.at((i + direction + all.size()) % all.size());
    }
    // The control of the nearest row above or below closest to `from` across.
    QWidget *nearestInRow(QWidget *from, int direction) const
    {
        int r = 0;
        while (r < m_rows.size() && !m_rows.at(r).contains(from))
            ++r;
        const int x = centreOf(from).x();
        for (int other = r + direction; other >= 0 && other < m_rows.size(); other += direction) {
            QWidget *best = nullptr;
            int bestDistance = std::numeric_limits<int>::max();
            for (QWidget *w : reachable(m_rows.at(other))) {
                const int distance = std::abs(centreOf(w).x() - x);
                if (distance < bestDistance) {
                    best = w;
                    bestDistance = distance;
                }
            }
            if (best)
                return best;
        }
        return nullptr;
    }

    QList<QList<QWidget *>> m_rows;
};

} // namespace

const QList<StandardShortcut> &standardShortcuts()
{
    using namespace Qt;
    static const QList<StandardShortcut> map{
        {{QStringLiteral("cmdNuovo"), QStringLiteral("btnNuovo")}, QKeySequence(CTRL | Key_N), QStringLiteral("nuova scheda")},
        {{QStringLiteral("cmdDuplica"), QStringLiteral("btnDuplica")}, QKeySequence(CTRL | Key_D),
         QStringLiteral("duplica la scheda corrente")},
        {{QStringLiteral("cmdSalva"), QStringLiteral("btnSalva")}, QKeySequence(CTRL | Key_S),
         QStringLiteral("salva la scheda in archivio")},
        {{QStringLiteral("cmdTrova"), QStringLiteral("btnTrova")}, QKeySequence(CTRL | Key_F),
         QStringLiteral("trova una scheda in archivio")},
        {{QStringLiteral("cmdFile")}, QKeySequence(CTRL | SHIFT | Key_A), QStringLiteral("allega file alla scheda")},
        {{QStringLiteral("cmdAnteprima")}, QKeySequence(CTRL | SHIFT | Key_P), QStringLiteral("anteprima di stampa")},
        {{QStringLiteral("cmdStampa"), QStringLiteral("btnStampa")}, QKeySequence(CTRL | Key_P),
         QStringLiteral("stampa la scheda")},
        {{QStringLiteral("cmdPDF")}, QKeySequence(CTRL | SHIFT | Key_E), QStringLiteral("crea il PDF della scheda")},
        {{QStringLiteral("cmdDisponibili")}, QKeySequence(CTRL | Key_L),
         QStringLiteral("eventi a cui \u00E8 ancora possibile aderire")},
        {{QStringLiteral("cmdRicontatta")}, QKeySequence(CTRL | Key_L), QStringLiteral("partecipanti da ricontattare")},
        {{QStringLiteral("btnDaConfermare")}, QKeySequence(CTRL | Key_L),
         QStringLiteral("prenotazioni in attesa di conferma")},
        {{QStringLiteral("btnMappa"), QStringLiteral("imgMappa")}, QKeySequence(CTRL | Key_M),
         QStringLiteral("mappa dei posti")},
        {{QStringLiteral("cmdAggiorna")}, QKeySequence(Key_F5), QStringLiteral("aggiorna la mappa dei posti")},
        {{QStringLiteral("cmdEsporta"), QStringLiteral("btnEsporta")}, QKeySequence(CTRL | Key_E),
         QStringLiteral("esporta l'archivio in Excel")},
        {{QStringLiteral("cmdSalvaCome")}, QKeySequence(CTRL | SHIFT | Key_S),
         QStringLiteral("salva i dati della griglia in un file del formato scelto")},
        {{QStringLiteral("cmdCalendario")}, QKeySequence(CTRL | SHIFT | Key_C),
         QStringLiteral("aggiunge l'evento al calendario")},
        {{QStringLiteral("cmdImporta")}, QKeySequence(CTRL | Key_I), QStringLiteral("importa partecipanti da un file")},
        {{QStringLiteral("cmdApriFile")}, QKeySequence(CTRL | Key_O), QStringLiteral("sceglie il file da importare")},
        {{QStringLiteral("cmdPrimo")}, QKeySequence(CTRL | SHIFT | Key_PageUp), QStringLiteral("prima scheda")},
        {{QStringLiteral("cmdIndietro")}, QKeySequence(CTRL | Key_PageUp), QStringLiteral("scheda precedente")},
        {{QStringLiteral("cmdAvanti")}, QKeySequence(CTRL | Key_PageDown), QStringLiteral("scheda successiva")},
        {{QStringLiteral("cmdUltimo")}, QKeySequence(CTRL | SHIFT | Key_PageDown), QStringLiteral("ultima scheda")},
        {{QStringLiteral("cmdGuida"), QStringLiteral("btnGuida"), QStringLiteral("imgGuida")}, QKeySequence(Key_F1),
         QStringLiteral("guida")},
        {{QStringLiteral("cmdEsci"), QStringLiteral("btnEsci"), QStringLiteral("imgEsci")}, QKeySequence(CTRL | Key_W),
         QStringLiteral("chiude la schermata di lavoro")},
        // The day of the event.
        {{QStringLiteral("imgCartellini"), QStringLiteral("btnCartellini")}, QKeySequence(CTRL | SHIFT | Key_B),
         QStringLiteral("cartellini con codice QR")},
        {{QStringLiteral("imgAccoglienza")}, QKeySequence(CTRL | SHIFT | Key_I),
         QStringLiteral("accoglienza dei partecipanti")},
        {{QStringLiteral("btnAvvisoTutti")}, QKeySequence(CTRL | SHIFT | Key_M),
         QStringLiteral("avviso a tutti i prenotati")},
        {{QStringLiteral("btnPresenze")}, QKeySequence(CTRL | Key_L), QStringLiteral("elenco dei presenti e degli assenti")},
        {{QStringLiteral("btnAnnullaIngresso")}, QKeySequence(CTRL | SHIFT | Key_Delete),
         QStringLiteral("annulla l'ingresso o l'uscita selezionati")},
        {{QStringLiteral("btnNuovoIngresso")}, QKeySequence(CTRL | Key_N),
         QStringLiteral("nuovo ingresso di chi non ha prenotato")},
        {{QStringLiteral("imgAttestati"), QStringLiteral("btnAttestati")}, QKeySequence(CTRL | SHIFT | Key_T),
         QStringLiteral("attestati di partecipazione")},
        {{QStringLiteral("imgFoglioFirme"), QStringLiteral("btnFoglioFirme")}, QKeySequence(CTRL | SHIFT | Key_F),
         QStringLiteral("foglio firme")},
        {{QStringLiteral("imgPosta"), QStringLiteral("btnPosta")}, QKeySequence(CTRL | SHIFT | Key_O),
         QStringLiteral("invio per posta elettronica")},
        {{QStringLiteral("imgStatistiche"), QStringLiteral("cmdStatistiche")}, QKeySequence(CTRL | SHIFT | Key_G),
         QStringLiteral("statistiche in grafici")},
    };
    return map;
}

QKeySequence standardShortcut(const QString &controlName)
{
    for (const StandardShortcut &entry : standardShortcuts())
        if (entry.controls.contains(controlName))
            return entry.keys;
    return {};
}

void giveShortcut(QAbstractButton *picture, const QKeySequence &sequence)
{
    if (picture->shortcut().isEmpty())
        picture->installEventFilter(new PressAtOnce(picture));
    picture->setShortcut(sequence);
    rememberShortcut(picture, sequence);
}

void giveShortcut(QAbstractButton *picture, const QKeySequence &sequence, QWidget *box)
{
    auto *shortcut = new QShortcut(sequence, box);
    shortcut->setContext(Qt::WidgetShortcut);
    QObject::connect(shortcut, &QShortcut::activated, picture, [picture] {
        if (picture->isVisible() && picture->isEnabled())
            picture->click();
    });
    rememberShortcut(picture, sequence);
}

int applyStandardShortcuts(QWidget *window)
{
    int found = 0;
    for (QAbstractButton *button : window->findChildren<QAbstractButton *>()) {
        const QKeySequence sequence = standardShortcut(button->objectName());
        if (sequence.isEmpty())
            continue;
        giveShortcut(button, sequence);
        ++found;
    }
    return found;
}

void reserveKeys(QWidget *box, KeyTest takes)
{
    box->installEventFilter(new ReservedKeys(box, std::move(takes)));
}

bool isPlainKey(const QKeyEvent *event)
{
    return !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
}

bool isModifierKey(int key)
{
    switch (key) {
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
    case Qt::Key_Meta:
    case Qt::Key_Super_L:
    case Qt::Key_Super_R:
    case Qt::Key_CapsLock:
    case Qt::Key_NumLock:
    case Qt::Key_ScrollLock:
        return true;
    default:
        return false;
    }
}

void makeKeyboardStop(QAbstractButton *picture)
{
    picture->setFocusPolicy(Qt::TabFocus);
    picture->setProperty("keyboardStop", true);
    if (picture->style()) {
        picture->style()->unpolish(picture);
        picture->style()->polish(picture);
    }
    picture->installEventFilter(new EnterPresses(picture)); // Space presses it already
}

void arrowNavigation(const QList<QList<QWidget *>> &rows)
{
    if (rows.isEmpty() || rows.first().isEmpty())
        return;
    auto *keysFilter = new ArrowKeys(rows.first().first(), rows);
    keysFilter->watch();
}

namespace {

// Sees the key only when no shortcut of the window took it first.
class CloseKey : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress || !watched->isWidgetType())
            return false;
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() != Qt::Key_W || key->modifiers() != Qt::ControlModifier)
            return false;
        auto *dialog = qobject_cast<QDialog *>(static_cast<QWidget *>(watched)->window());
        if (!dialog || !dialog->isVisible())
            return false;
        dialog->reject(); // as Esc
        return true;
    }
};

} // namespace

void installCloseKey()
{
    static QPointer<CloseKey> installed;
    if (installed || !qApp)
        return;
    installed = new CloseKey(qApp);
    qApp->installEventFilter(installed);
}

} // namespace qv
