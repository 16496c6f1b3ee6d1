#pragma once
#include "ui/cardoperations.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QString>

#include <functional>
#include <memory>

class QFrame;
class QGridLayout;
class QLabel;
class QWidget;

// A window described once as data (its toolbar, its sections and their rows,
// its tab order and Enter chain) and built by one builder with the house
// style, the highlights, the hints on the information bar, the keys of the
// house map and the names screen readers say. The window class keeps only its
// behaviour: what its pictures do, its rules, its checks.
namespace qv {

class InfoBar;

// Where the builder leaves a control it made: a member of the window, given
// as its address (&txtTitolo). A member of the wrong type stops the program
// as soon as the window is built.
class Member
{
public:
    Member() = default;
    template <class T>
    Member(T **member)
        : m_store([member](QWidget *control) {
              *member = qobject_cast<T *>(control);
              return *member != nullptr;
          })
    {
    }
    bool store(QWidget *control) const { return !m_store || m_store(control); }

private:
    std::function<bool(QWidget *)> m_store;
};

// One item of a toolbar: a picture the user clicks, or what sits between them.
struct ToolEntry
{
    enum Kind { Picture, Separator, Position, Heading, Stretch, Browsing };

    QString name;    // the object name: cmdSalva
    QString picture; // the picture: save
    QString hint;    // the information bar's text, also what screen readers hear
    std::function<void()> onClick;
    Member to;
    QString text = {}; // a caption beside the picture (the participant card's button column)
    Kind kind = Picture;
    QList<Member> parts = {};

    static ToolEntry separator() { return {.kind = Separator}; }
    // The card's record number (lblPosizione), between the browsing pictures.
    static ToolEntry position(Member to)
    {
        return {.name = QStringLiteral("lblPosizione"), .to = to, .kind = Position};
    }
    // The window's heading (in the column, below the window's logo).
    static ToolEntry heading() { return {.kind = Heading}; }
    static ToolEntry stretch() { return {.kind = Stretch}; }
    // The pictures that browse a card's archive, first to last around its
    // record number (cmdPrimo, cmdIndietro, lblPosizione, cmdAvanti,
    // cmdUltimo), with the house's pictures and hints; they run the card
    // operations First, Previous, Next and Last.
    static ToolEntry browsing(Member first, Member previous, Member position, Member next, Member last)
    {
        return {.kind = Browsing, .parts = {first, previous, position, next, last}};
    }
};

// What a row makes.
enum class Control {
    Edit,     // an edit box of the declared length
    Header,   // a read-only box the program writes (the reservation card's event)
    Province, // the province box: two characters, the list of codes
    Check,    // a check box showing its label
    Button,   // a push button showing its picture and label
    Caption,  // a text across the line, wrapped
    Widget,   // a control the window makes itself (`make`): a drawing of its own; the builder places it
};

// How the user types into a box.
enum class Rule {
    None,
    Upper,          // ASCII upper case as typed
    TrimmedUpper,   // trimmed and upper case as typed (codes)
    Trimmed,        // trimmed as typed and when the focus moves on (e-mail)
    Digits,         // digits only: other keys are discarded, a paste keeps its digits
    Count,          // digits only, typed or pasted; editing keys as usual (seats)
    Amount,         // digits and ",", formatted as an amount when the focus moves on
    UpperOnRelease, // upper-cased when a key is released after the user changed it
    Picker,         // filled only by its picture: Backspace or Delete empties it,
                    // any other plain key presses the picture (dates)
};

// A picture beside a box: the calendar, a check, the participant picker. F4
// in the box presses it (but a picker box takes every key itself).
struct PictureEntry
{
    QString name;
    QString picture;
    QString hint;
    std::function<void()> onClick;
    Member to;
};

// One control of a section, with its label.
struct RowEntry
{
    QString label;                 // beside or above the control; a check box or a button shows it itself
    QString name;                  // the object name: txtTitolo
    Control kind = Control::Edit;
    int length = 0;                // the declared length: the most the user types
    QString width = {};            // the widest text the box shows whole; empty: it fills its cell
    Rule rule = Rule::None;
    QString initial = {};          // the text of a new card ("0,00"): entering the box selects it whole
    Qt::Alignment align = {};
    bool join = false;             // labels beside: on the line of the row before, its label inside the line
    int span = 1;                  // labels above: the cells of the line it takes
    PictureEntry beside = {};
    QString icon = {};             // the picture of a check box or a button
    QString hint = {};             // check boxes and buttons: the information bar's text
    std::function<void()> onClick = {}; // buttons
    QString enter = {};            // where Enter moves when not to the next box of the tab order
    QString accessibleName = {};   // where the label alone does not say what the box is for
    bool highlight = true;         // boxes: the highlight rectangle while it has the focus
    int height = 0;                // a box taller than the card's boxes
    // Control::Widget: makes the control in `parent`. Without a label it takes
    // the whole line; it is a stop of the tab order when it takes the focus by Tab.
    std::function<QWidget *(QWidget *parent)> make = {};
    Member to = {};
};

// A titled frame with its picture and its rows.
struct SectionEntry
{
    QString name;    // grpEvento; its picture is named icoEvento
    QString title;
    QString picture;
    Member to;
    int row = 0;         // its place among the sections
    int column = 0;
    int columnSpan = 1;
    int columns = 1;     // labels above: the cells of each line
    QList<RowEntry> rows;
    // Takes the height left below the other sections, and gives it to its
    // last line (a drawing that scrolls by itself, such as the seat map).
    bool grows = false;
};

// A label that only carries a field of the record (attachments), never shown.
struct HiddenEntry
{
    QString name;
    Member to;
};

// A window as data: its toolbar, its sections and their rows in tab order,
// and for a card its record (the README's architecture section has an example).
struct FormDescription
{
    // Toolbar along the top, the information bar below the card; or a column
    // of captioned pictures on the right, with the information bar and the
    // browsing pictures (`navigation`) below the card.
    enum class Bar { Top, Column };
    enum class Labels { Beside, Above };
    // Sections on a grid (row, column, span) or stacked in columns.
    enum class Flow { Grid, Columns };
    enum class Boxes { Standard, Large };

    QString name;  // frmRegistro
    QString title; // the window's caption
    QString heading;
    Bar bar = Bar::Top;
    QList<ToolEntry> tools;
    QList<ToolEntry> navigation = {};
    QString logo = {}; // the picture above the heading in the column
    Labels labels = Labels::Beside;
    Flow flow = Flow::Grid;
    Boxes boxes = Boxes::Standard;
    int minimumBoxWidth = 120; // a box that fills its cell
    // Row spacing: `spacing` on a screen just tall enough; on taller ones
    // one pixel more for every `spreadEvery` spare pixels, up to `spreadAtMost`.
    int spacing = 8;
    int spreadEvery = 14;
    int spreadAtMost = 14;
    QList<SectionEntry> sections;
    QList<HiddenEntry> hidden = {};
    QString info = QStringLiteral("Pronto per archiviare una nuova scheda...");
    Member infoLabel = {}; // panInfo
    // A card: its record and archive, its checks. The builder adds the
    // record number (the toolbar's position) and the first box of the tab
    // order, and makes the card operations once every control is in place.
    CardConfig card = {};
};

// The window the builder made, for the behaviour that needs its parts. It
// lives as long as the window.
class Form : public QObject
{
    Q_OBJECT
public:
    InfoBar *infoBar() const { return m_infoBar; }
    // The boxes with a highlight rectangle, in tab order.
    const QList<QWidget *> &boxes() const { return m_boxes; }
    QFrame *highlightOf(const QWidget *box) const { return m_highlights.value(box); }
    // Every control that takes the focus, in tab order.
    const QList<QWidget *> &tabOrder() const { return m_tabOrder; }
    // New, browse, save, duplicate: a card's operations (a description with a card).
    CardOperations &card() const { return *m_card; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    explicit Form(QWidget *window);
    void spreadRows();
    friend class FormBuilder;

    QWidget *m_window;
    InfoBar *m_infoBar = nullptr;
    QList<QWidget *> m_boxes;
    QHash<const QWidget *, QFrame *> m_highlights;
    QList<QWidget *> m_tabOrder;
    QList<QGridLayout *> m_grids;
    QList<QWidget *> m_bars; // the bars above and below the card
    QWidget *m_area = nullptr;
    std::unique_ptr<CardOperations> m_card;
    int m_compactHeight = 0;
    int m_spacing = 8, m_spreadEvery = 14, m_spreadAtMost = 14;
};

// Builds `description` into `window` (its name, caption, layout and every control).
Form *buildForm(QWidget *window, const FormDescription &description);

} // namespace qv
