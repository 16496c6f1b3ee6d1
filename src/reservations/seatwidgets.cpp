#include "reservations/seatwidgets.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QHBoxLayout>
#include <QHash>
#include <QKeyEvent>
#include <QPainter>
#include <QPointer>
#include <QScrollBar>
#include <QToolTip>

#include <algorithm>

namespace qv {

namespace {

const int kMargin = 12;
const int kHeadingHeight = 28;
const int kPitchX = kSeatWidth + kSeatGap;
const int kPitchY = kSeatHeight + kSeatGap;

QFont seatFont(const QWidget *widget)
{
    QFont font = widget->font();
    font.setBold(true);
    return font;
}

// One seat as screen readers meet it: a list item named as its tooltip,
// pressed as by a double-click.
class SeatAccessible : public QAccessibleInterface, public QAccessibleActionInterface
{
public:
    SeatAccessible(SeatGrid *grid, int index) : m_grid(grid), m_index(index) {}

    bool isValid() const override { return m_grid && m_index < m_grid->map().seatCount(); }
    QObject *object() const override { return nullptr; }
    QWindow *window() const override { return m_grid ? m_grid->window()->windowHandle() : nullptr; }
    QAccessibleInterface *parent() const override { return QAccessible::queryAccessibleInterface(m_grid.data()); }
    QAccessibleInterface *child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    QString text(QAccessible::Text t) const override
    {
        if (!isValid())
            return {};
        if (t == QAccessible::Name)
            return m_grid->map().description(m_index);
        if (t == QAccessible::Description)
            return SeatMap::stateName(m_grid->map().state(m_index));
        return {};
    }
    void setText(QAccessible::Text, const QString &) override {}
    QRect rect() const override
    {
        if (!isValid())
            return {};
        const QRect r = m_grid->seatRect(m_index);
        return QRect(m_grid->viewport()->mapToGlobal(r.topLeft()), r.size());
    }
    QAccessible::Role role() const override { return QAccessible::ListItem; }
    QAccessible::State state() const override
    {
        QAccessible::State s;
        if (!isValid())
            return s;
        s.focusable = true;
        s.selectable = true;
        s.selected = m_grid->current() == m_index;
        s.focused = s.selected && m_grid->hasFocus();
        s.offscreen = !m_grid->viewport()->rect().intersects(m_grid->seatRect(m_index));
        return s;
    }
    void *interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface *>(this) : nullptr;
    }
    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString &name) override
    {
        if (name == pressAction() && isValid())
            m_grid->activate(m_index);
    }
    QStringList keyBindingsForAction(const QString &) const override { return {QStringLiteral("Invio")}; }

private:
    QPointer<SeatGrid> m_grid;
    int m_index;
};

// The grid as a list whose items are its seats.
class SeatGridAccessible : public QAccessibleWidget
{
public:
    explicit SeatGridAccessible(SeatGrid *grid) : QAccessibleWidget(grid, QAccessible::List) {}
    ~SeatGridAccessible() override
    {
        for (const QAccessible::Id id : std::as_const(m_children))
            QAccessible::deleteAccessibleInterface(id);
    }

    int childCount() const override { return grid()->map().seatCount(); }
    QAccessibleInterface *child(int index) const override
    {
        if (index < 0 || index >= childCount())
            return nullptr;
        if (const auto at = m_children.constFind(index); at != m_children.constEnd())
            return QAccessible::accessibleInterface(*at);
        auto *seat = new SeatAccessible(grid(), index);
        m_children.insert(index, QAccessible::registerAccessibleInterface(seat));
        return seat;
    }
    int indexOfChild(const QAccessibleInterface *child) const override
    {
        for (auto at = m_children.constBegin(); at != m_children.constEnd(); ++at)
            if (QAccessible::accessibleInterface(at.value()) == child)
                return at.key();
        return -1;
    }
    QAccessibleInterface *childAt(int x, int y) const override
    {
        const int index = grid()->seatAt(grid()->viewport()->mapFromGlobal(QPoint(x, y)));
        return index >= 0 ? child(index) : nullptr;
    }
    QAccessibleInterface *focusChild() const override
    {
        return grid()->hasFocus() ? child(grid()->current()) : nullptr;
    }

private:
    SeatGrid *grid() const { return static_cast<SeatGrid *>(widget()); }
    mutable QHash<int, QAccessible::Id> m_children;
};

QAccessibleInterface *seatGridFactory(const QString &className, QObject *object)
{
    if (className != QLatin1String(SeatGrid::staticMetaObject.className()))
        return nullptr;
    auto *grid = qobject_cast<SeatGrid *>(object);
    return grid ? new SeatGridAccessible(grid) : nullptr;
}

} // namespace

SeatLook lookOf(SeatState state)
{
    switch (state) {
    case SeatState::Free: return SeatLook::Free;
    case SeatState::Booked: return SeatLook::Booked;
    case SeatState::Pending: return SeatLook::Pending;
    case SeatState::Twice: return SeatLook::Twice;
    case SeatState::Unknown: return SeatLook::Unknown;
    }
    return SeatLook::Unknown;
}

SeatGrid::SeatGrid(QWidget *parent) : QAbstractScrollArea(parent), m_map(std::make_shared<SeatMap>())
{
    static const bool factory = [] {
        QAccessible::installFactory(seatGridFactory);
        return true;
    }();
    Q_UNUSED(factory);
    setFocusPolicy(Qt::StrongFocus);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn); // a steady width: rows never jump as it comes and goes
    viewport()->setBackgroundRole(QPalette::Base);
    viewport()->setMouseTracking(true);
    verticalScrollBar()->setSingleStep(kPitchY / 2);
}

void SeatGrid::setMap(std::shared_ptr<const SeatMap> map)
{
    const QString label = m_current < m_map->seatCount() ? m_map->label(m_current) : QString();
    m_map = std::move(map);
    const int same = label.isEmpty() ? -1 : m_map->indexOf(label);
    m_current = std::clamp(same >= 0 ? same : m_current, 0, std::max(0, m_map->seatCount() - 1));
    layoutRows();
    viewport()->update();
    QAccessibleEvent reorder(this, QAccessible::ObjectReorder);
    QAccessible::updateAccessibility(&reorder);
}

void SeatGrid::setRowWidth(int seats)
{
    m_rowWidth = std::max(0, seats);
    layoutRows();
    ensureSeatVisible(m_current);
    viewport()->update();
}

void SeatGrid::layoutRows()
{
    const int fit = (viewport()->width() - 2 * kMargin + kSeatGap) / kPitchX;
    m_perRow = std::max(1, m_rowWidth > 0 ? m_rowWidth : fit);
    m_rows.clear();
    m_headings.clear();
    int top = kMargin;
    for (const SeatMap::Group &group : m_map->groups()) {
        if (!group.heading.isEmpty()) {
            if (top > kMargin)
                top += kSeatGap;
            m_headings.append({group.heading, top});
            top += kHeadingHeight;
        }
        for (int first = group.first; first < group.first + group.count; first += m_perRow) {
            m_rows.append({first, std::min(m_perRow, group.first + group.count - first), top});
            top += kPitchY;
        }
    }
    m_height = top + kMargin;
    const int width = 2 * kMargin + m_perRow * kPitchX - kSeatGap;
    verticalScrollBar()->setRange(0, std::max(0, m_height - viewport()->height()));
    verticalScrollBar()->setPageStep(viewport()->height());
    horizontalScrollBar()->setRange(0, std::max(0, width - viewport()->width()));
    horizontalScrollBar()->setPageStep(viewport()->width());
}

int SeatGrid::rowOf(int index) const
{
    const auto after = std::upper_bound(m_rows.cbegin(), m_rows.cend(), index,
                                        [](int i, const Row &row) { return i < row.first; });
    return int(after - m_rows.cbegin()) - 1;
}

QRect SeatGrid::seatRect(int index) const
{
    const int r = rowOf(index);
    if (r < 0 || index >= m_map->seatCount())
        return {};
    const Row &row = m_rows.at(r);
    return QRect(kMargin + (index - row.first) * kPitchX - horizontalScrollBar()->value(),
                 row.top - verticalScrollBar()->value(), kSeatWidth, kSeatHeight);
}

int SeatGrid::seatAt(const QPoint &point) const
{
    const int x = point.x() + horizontalScrollBar()->value() - kMargin;
    const int y = point.y() + verticalScrollBar()->value();
    const auto after = std::upper_bound(m_rows.cbegin(), m_rows.cend(), y,
                                        [](int v, const Row &row) { return v < row.top; });
    if (after == m_rows.cbegin() || x < 0)
        return -1;
    const Row &row = *(after - 1);
    const int column = x / kPitchX;
    if (y >= row.top + kSeatHeight || x % kPitchX >= kSeatWidth || column >= row.count)
        return -1;
    return row.first + column;
}

void SeatGrid::ensureSeatVisible(int index)
{
    const QRect r = seatRect(index);
    if (r.isNull())
        return;
    const int margin = kSeatGap;
    if (r.top() - margin < 0)
        verticalScrollBar()->setValue(verticalScrollBar()->value() + r.top() - margin);
    else if (r.bottom() + margin > viewport()->height())
        verticalScrollBar()->setValue(verticalScrollBar()->value() + r.bottom() + margin - viewport()->height());
    if (r.left() - margin < 0)
        horizontalScrollBar()->setValue(horizontalScrollBar()->value() + r.left() - margin);
    else if (r.right() + margin > viewport()->width())
        horizontalScrollBar()->setValue(horizontalScrollBar()->value() + r.right() + margin - viewport()->width());
}

void SeatGrid::setCurrent(int index)
{
    if (m_map->seatCount() == 0)
        return;
    index = std::clamp(index, 0, m_map->seatCount() - 1);
    const bool moved = index != m_current;
    m_current = index;
    ensureSeatVisible(index);
    viewport()->update();
    if (moved) {
        emit currentChanged(index);
        announceCurrent();
    }
}

void SeatGrid::activate(int index)
{
    if (index < 0 || index >= m_map->seatCount())
        return;
    setCurrent(index);
    emit activated(index);
}

void SeatGrid::announceCurrent()
{
    if (!hasFocus() || m_map->seatCount() == 0)
        return;
    QAccessibleEvent focus(this, QAccessible::Focus);
    focus.setChild(m_current);
    QAccessible::updateAccessibility(&focus);
}

void SeatGrid::paintEvent(QPaintEvent *)
{
    QPainter painter(viewport());
    const int dx = horizontalScrollBar()->value();
    const int dy = verticalScrollBar()->value();
    const int height = viewport()->height();
    QFont heading = font();
    heading.setBold(true);
    painter.setFont(heading);
    painter.setPen(palette().color(QPalette::WindowText));
    for (const Heading &h : m_headings)
        if (h.top - dy < height && h.top + kHeadingHeight - dy > 0)
            painter.drawText(QRect(kMargin - dx, h.top - dy, 4000, kHeadingHeight), Qt::AlignLeft | Qt::AlignVCenter,
                             h.text);
    const QFont font = seatFont(this);
    const bool focused = hasFocus();
    auto row = std::upper_bound(m_rows.cbegin(), m_rows.cend(), dy - kPitchY,
                                [](int v, const Row &r) { return v < r.top; });
    for (; row != m_rows.cend() && row->top - dy < height; ++row) {
        for (int i = row->first; i < row->first + row->count; ++i) {
            const QRect tile = seatRect(i);
            const SeatLook look = lookOf(m_map->state(i));
            if (focused && i == m_current) {
                paintSeat(painter, tile, look, m_map->label(i), font, true);
                continue;
            }
            painter.drawPixmap(tile.topLeft(), this->tile(look));
            paintSeatText(painter, tile, look, m_map->label(i), font);
        }
    }
}

const QPixmap &SeatGrid::tile(SeatLook look) const
{
    // Drawn once a state: rounded edges and marks cost far more than copying.
    const qreal ratio = viewport()->devicePixelRatioF();
    QPixmap &tile = m_tiles[int(look)];
    if (tile.isNull() || tile.devicePixelRatio() != ratio) {
        tile = QPixmap(QSize(kSeatWidth, kSeatHeight) * ratio);
        tile.setDevicePixelRatio(ratio);
        tile.fill(Qt::transparent);
        QPainter painter(&tile);
        paintSeat(painter, QRectF(0, 0, kSeatWidth, kSeatHeight), look, QString(), font());
    }
    return tile;
}

void SeatGrid::resizeEvent(QResizeEvent *event)
{
    QAbstractScrollArea::resizeEvent(event);
    layoutRows();
}

void SeatGrid::keyPressEvent(QKeyEvent *event)
{
    if (m_map->seatCount() == 0 || (event->modifiers() & (Qt::AltModifier | Qt::MetaModifier))) {
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    const int r = rowOf(m_current);
    const Row &row = m_rows.at(r);
    const int column = m_current - row.first;
    const auto inRow = [this, column](int other) {
        const Row &target = m_rows.at(other);
        return target.first + std::min(column, target.count - 1);
    };
    const int visibleRows = std::max(1, viewport()->height() / kPitchY);
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    switch (event->key()) {
    case Qt::Key_Left: setCurrent(m_current - 1); break;
    case Qt::Key_Right: setCurrent(m_current + 1); break;
    case Qt::Key_Up: setCurrent(r > 0 ? inRow(r - 1) : m_current); break;
    case Qt::Key_Down: setCurrent(r + 1 < m_rows.size() ? inRow(r + 1) : m_current); break;
    case Qt::Key_PageUp: setCurrent(inRow(std::max(0, r - visibleRows))); break;
    case Qt::Key_PageDown: setCurrent(inRow(std::min(int(m_rows.size()) - 1, r + visibleRows))); break;
    case Qt::Key_Home: setCurrent(ctrl ? 0 : row.first); break;
    case Qt::Key_End: setCurrent(ctrl ? m_map->seatCount() - 1 : row.first + row.count - 1); break;
    case Qt::Key_Return:
    case Qt::Key_Enter: activate(m_current); break;
    default: QAbstractScrollArea::keyPressEvent(event); return;
    }
    event->accept();
}

void SeatGrid::mousePressEvent(QMouseEvent *event)
{
    const int index = seatAt(event->position().toPoint());
    if (index >= 0)
        setCurrent(index);
    setFocus(Qt::MouseFocusReason);
}

void SeatGrid::mouseDoubleClickEvent(QMouseEvent *event)
{
    const int index = seatAt(event->position().toPoint());
    if (index >= 0 && event->button() == Qt::LeftButton)
        activate(index);
}

bool SeatGrid::viewportEvent(QEvent *event)
{
    if (event->type() == QEvent::ToolTip) {
        auto *help = static_cast<QHelpEvent *>(event);
        const int index = seatAt(help->pos());
        if (index >= 0)
            QToolTip::showText(help->globalPos(), m_map->description(index), viewport(), seatRect(index));
        else
            QToolTip::hideText();
        return true;
    }
    return QAbstractScrollArea::viewportEvent(event);
}

void SeatGrid::focusInEvent(QFocusEvent *event)
{
    QAbstractScrollArea::focusInEvent(event);
    ensureSeatVisible(m_current);
    viewport()->update();
    announceCurrent();
}

void SeatGrid::focusOutEvent(QFocusEvent *event)
{
    QAbstractScrollArea::focusOutEvent(event);
    viewport()->update();
}

SeatSwatch::SeatSwatch(SeatLook look, QWidget *parent) : QWidget(parent), m_look(look)
{
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void SeatSwatch::setLook(SeatLook look)
{
    m_look = look;
    update();
}

QSize SeatSwatch::sizeHint() const
{
    return {34, 26};
}

void SeatSwatch::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    paintSeat(painter, QRectF(rect()).adjusted(1, 1, -1, -1), m_look, QString(), font());
}

SeatLegend::SeatLegend(QWidget *parent) : QWidget(parent)
{
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(6);
    for (const SeatState state :
         {SeatState::Free, SeatState::Booked, SeatState::Pending, SeatState::Twice, SeatState::Unknown}) {
        auto *swatch = new SeatSwatch(lookOf(state), this);
        auto *name = new QLabel(SeatMap::stateName(state), this);
        swatch->setObjectName(QStringLiteral("icoLegenda%1").arg(int(state)));
        name->setObjectName(QStringLiteral("lblLegenda%1").arg(int(state)));
        row->addWidget(swatch);
        row->addWidget(name);
        row->addSpacing(12);
    }
    row->addStretch(1);
    showUnknown(false);
}

void SeatLegend::showUnknown(bool shown)
{
    const int unknown = int(SeatState::Unknown);
    findChild<QWidget *>(QStringLiteral("icoLegenda%1").arg(unknown))->setVisible(shown);
    findChild<QWidget *>(QStringLiteral("lblLegenda%1").arg(unknown))->setVisible(shown);
}

SeatStateLine::SeatStateLine(QWidget *parent) : QWidget(parent)
{
    m_swatch = new SeatSwatch(SeatLook::Free, this);
    QSizePolicy keepPlace = m_swatch->sizePolicy();
    keepPlace.setRetainSizeWhenHidden(true); // the words do not move as the tile comes and goes
    m_swatch->setSizePolicy(keepPlace);
    m_text = new QLabel(this);
    m_text->setObjectName(QStringLiteral("lblStatoPostoTesto"));
    m_text->setWordWrap(true);
    // A seat held by many: the words wrap onto a second line and neither widen the card nor change
    // its height (the tooltip holds them all).
    m_text->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    m_text->setFixedHeight(2 * m_text->fontMetrics().lineSpacing());
    m_text->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(4, 0, 0, 0);
    row->setSpacing(8);
    row->addWidget(m_swatch, 0, Qt::AlignVCenter);
    row->addWidget(m_text, 1);
    setFocusPolicy(Qt::NoFocus);
    clear();
}

void SeatStateLine::setState(const SeatOnCard &state)
{
    if (!state.known) {
        clear();
        return;
    }
    m_swatch->setLook(lookOf(state.state));
    // A number above the total held by no card is no free seat: no tile says so.
    m_swatch->setVisible(!(state.beyond && state.state == SeatState::Free));
    m_text->setText(state.text);
    m_text->setToolTip(state.text);
    // The warning's colour and mark, in words for whoever does not see them.
    m_text->setAccessibleName((state.warning ? QStringLiteral("Stato del posto, attenzione, posto assegnato pi\u00F9 "
                                                              "volte: ")
                                             : QStringLiteral("Stato del posto: "))
                              + state.text);
}

void SeatStateLine::clear()
{
    m_swatch->hide();
    m_text->clear();
    m_text->setToolTip(QString());
    m_text->setAccessibleName(QString());
}

QString SeatStateLine::text() const
{
    return m_text->text();
}

} // namespace qv
