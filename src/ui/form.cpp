#include "ui/form.h"

#include "core/text.h"
#include "ui/keyboard.h"
#include "ui/pictures.h"
#include "ui/style.h"
#include "ui/typingrules.h"
#include "ui/widgets.h"

#include <QApplication>
#include <QCheckBox>
#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

#include <algorithm>
#include <map>

namespace qv {

namespace {

const int kTopIconSize = 32;
const int kColumnIconSize = 28;
const int kSectionIconSize = 40;
const QString kLineColour = QStringLiteral("color: #C9D3DE;");

bool isBox(Control kind)
{
    return kind == Control::Edit || kind == Control::Header || kind == Control::Province;
}

} // namespace

// Turns one description into widgets; lives only while it builds.
class FormBuilder
{
public:
    FormBuilder(QWidget *window, const FormDescription &description)
        : m_window(window), m_description(description), m_form(new Form(window)) {}

    Form *build()
    {
        m_window->setObjectName(m_description.name);
        m_window->setWindowTitle(m_description.title);
        m_window->setWindowIcon(picture(QStringLiteral("logo")));
        m_info = new QLabel(m_description.info, m_window);
        m_info->setObjectName(QStringLiteral("panInfo"));
        keep(m_description.infoLabel, m_info);

        QWidget *scroll = buildCardArea();
        for (const HiddenEntry &hidden : m_description.hidden)
            keep(hidden.to, hiddenLabel(hidden.name, m_window));
        auto *outer = new QVBoxLayout(m_window);
        outer->setContentsMargins(0, 0, 0, 0);
        outer->setSpacing(0);
        if (m_description.bar == FormDescription::Bar::Top) {
            QWidget *bar = topBar();
            outer->addWidget(bar);
            outer->addWidget(scroll, 1);
            outer->addWidget(m_info);
            m_form->m_bars = {bar, m_info};
        } else {
            auto *middle = new QHBoxLayout;
            middle->setContentsMargins(0, 0, 0, 0);
            middle->setSpacing(0);
            middle->addWidget(scroll, 1);
            middle->addWidget(buttonColumn());
            QWidget *bottom = bottomBar();
            outer->addLayout(middle, 1);
            outer->addWidget(bottom);
            m_form->m_bars = {bottom};
        }

        arrangeFocus();
        applyRules();
        applyHints();
        m_form->m_spacing = m_description.spacing;
        m_form->m_spreadEvery = std::max(1, m_description.spreadEvery);
        m_form->m_spreadAtMost = m_description.spreadAtMost;
        m_form->m_compactHeight = m_form->m_area->sizeHint().height();
        m_window->installEventFilter(m_form);
        if (m_description.card.layout) {
            // The binding takes each box's text now as what a new card shows.
            CardConfig config = m_description.card;
            config.lblPosizione = m_position;
            config.firstField = m_form->m_tabOrder.value(0);
            m_form->m_card = std::make_unique<CardOperations>(m_window, std::move(config));
        } else if (m_browsing) {
            qFatal("%s: browsing pictures without a card", qPrintable(m_description.name));
        }
        return m_form;
    }

private:
    struct Made
    {
        const RowEntry *row;
        QWidget *control;
        QWidget *picture; // beside it, or null
    };

    void keep(const Member &member, QWidget *control)
    {
        if (!member.store(control))
            qFatal("%s: %s is not of the member's type", qPrintable(m_description.name),
                   qPrintable(control->objectName()));
    }

    bool large() const { return m_description.boxes == FormDescription::Boxes::Large; }
    int boxHeight() const { return large() ? 28 : 26; }

    // The card: the sections in a scroll area, so a small screen scrolls.
    QWidget *buildCardArea()
    {
        auto *scroll = new QScrollArea(m_window);
        scroll->setObjectName(QStringLiteral("scrScheda"));
        scroll->setWidgetResizable(true);
        scroll->setFrameShape(QFrame::NoFrame);
        // Not a stop of its own: Tab goes from the last control straight back to the first.
        scroll->setFocusPolicy(Qt::NoFocus);
        auto *area = new QWidget;
        area->setObjectName(QStringLiteral("panScheda"));
        // In the window before its boxes are made, so they are measured in
        // the fonts the house style gives them there.
        scroll->setWidget(area);
        buildSections(area);
        // The control that gets the focus is scrolled into view.
        QObject::connect(qApp, &QApplication::focusChanged, scroll, [scroll, area](QWidget *, QWidget *now) {
            if (now && area->isAncestorOf(now))
                scroll->ensureWidgetVisible(now, 20, 20);
        });
        m_form->m_area = area;
        return scroll;
    }

    void buildSections(QWidget *area)
    {
        QList<QGroupBox *> frames;
        for (const SectionEntry &section : m_description.sections) {
            auto *frame = new QGroupBox(section.title, area);
            frame->setObjectName(section.name);
            keep(section.to, frame);
            auto *grid = new QGridLayout;
            grid->setVerticalSpacing(m_description.spacing);
            if (m_description.labels == FormDescription::Labels::Beside)
                rowsBeside(section, frame, grid);
            else
                rowsAbove(section, frame, grid);
            if (section.grows)
                grid->setRowStretch(grid->rowCount() - 1, 1);
            fillSection(frame, section.picture, grid, section.grows);
            m_form->m_grids.append(grid);
            frames.append(frame);
        }
        alignLabelColumns();

        if (m_description.flow == FormDescription::Flow::Grid) {
            auto *sections = new QGridLayout(area);
            sections->setContentsMargins(14, 10, 14, 10);
            sections->setHorizontalSpacing(14);
            sections->setVerticalSpacing(10);
            int lastRow = 0;
            bool grows = false;
            for (int i = 0; i < frames.size(); ++i) {
                const SectionEntry &s = m_description.sections.at(i);
                sections->addWidget(frames.at(i), s.row, s.column, 1, s.columnSpan);
                for (int c = s.column; c < s.column + s.columnSpan; ++c)
                    sections->setColumnStretch(c, 1);
                lastRow = std::max(lastRow, s.row);
                if (s.grows) {
                    sections->setRowStretch(s.row, 1);
                    grows = true;
                }
            }
            if (!grows)
                sections->setRowStretch(lastRow + 1, 1);
        } else {
            auto *sections = new QHBoxLayout(area);
            sections->setContentsMargins(12, 6, 12, 8);
            sections->setSpacing(12);
            std::map<int, QVBoxLayout *> columns;
            for (int i = 0; i < frames.size(); ++i) {
                QVBoxLayout *&column = columns[m_description.sections.at(i).column];
                if (!column) {
                    column = new QVBoxLayout;
                    column->setSpacing(8);
                }
                column->addWidget(frames.at(i));
            }
            for (auto &[index, column] : columns) {
                column->addStretch(1);
                sections->addLayout(column, 1);
            }
        }
    }

    // The frame of a section: its picture on the left, its rows beside it.
    static void fillSection(QGroupBox *frame, const QString &pictureName, QGridLayout *fields, bool grows)
    {
        auto *icon = new QLabel(frame);
        icon->setObjectName(QStringLiteral("ico") + frame->objectName().mid(3));
        icon->setPixmap(pictureOfSize(pictureName, QSize(kSectionIconSize, kSectionIconSize)));
        icon->setAlignment(Qt::AlignTop | Qt::AlignHCenter);
        icon->setFixedWidth(kSectionIconSize + 8);
        auto *row = new QHBoxLayout(frame);
        row->setContentsMargins(10, 14, 14, 10);
        row->setSpacing(12);
        row->addWidget(icon);
        auto *column = new QVBoxLayout;
        column->addLayout(fields, grows ? 1 : 0);
        if (!grows)
            column->addStretch(1);
        row->addLayout(column, 1);
    }

    QLabel *labelFor(const RowEntry &row, QWidget *control, QWidget *parent)
    {
        auto *label = new QLabel(row.label, parent);
        label->setObjectName(QStringLiteral("lbl") + row.name.mid(3));
        label->setBuddy(control);
        return label;
    }

    static bool fills(const QWidget *control)
    {
        return control->maximumWidth() == QWIDGETSIZE_MAX && !qobject_cast<const QAbstractButton *>(control);
    }

    // Labels beside: the label of a line on the left (the label column), the
    // line's controls after it, a picture that ends a line after a box that
    // fills it in a column of its own, so the boxes of a section end together.
    void rowsBeside(const SectionEntry &section, QGroupBox *frame, QGridLayout *grid)
    {
        grid->setHorizontalSpacing(10);
        QList<QList<Made>> lines;
        for (const RowEntry &row : section.rows) {
            const Made made = make(row, frame);
            if (row.join && !lines.isEmpty())
                lines.last().append(made);
            else
                lines.append({made});
        }
        for (int r = 0; r < lines.size(); ++r) {
            const QList<Made> &line = lines.at(r);
            const Made &first = line.first();
            if (first.row->kind == Control::Caption || (first.row->kind == Control::Widget && first.row->label.isEmpty()
                                                         && line.size() == 1)) {
                grid->addWidget(first.control, r, 0, 1, 3);
                continue;
            }
            if (!first.row->label.isEmpty() && !hasOwnCaption(first.row->kind)) {
                QLabel *label = labelFor(*first.row, first.control, frame);
                grid->addWidget(label, r, 0);
                m_labelColumn[section.column].append({label, grid});
            }
            if (line.size() == 1 && fills(first.control)) {
                grid->addWidget(first.control, r, 1);
                if (first.picture)
                    grid->addWidget(first.picture, r, 2);
                continue;
            }
            auto *strip = new QHBoxLayout;
            strip->setSpacing(6);
            bool anyFills = false;
            for (int i = 0; i < line.size(); ++i) {
                const Made &made = line.at(i);
                if (i > 0 && !made.row->label.isEmpty() && !hasOwnCaption(made.row->kind))
                    strip->addWidget(labelFor(*made.row, made.control, frame));
                const bool grows = fills(made.control);
                anyFills = anyFills || grows;
                strip->addWidget(made.control, grows ? 1 : 0);
                if (made.picture)
                    strip->addWidget(made.picture);
            }
            if (!anyFills)
                strip->addStretch(1);
            grid->addLayout(strip, r, 1);
        }
        grid->setColumnStretch(1, 1);
    }

    // Labels above: each control in a cell with its label above it, the cells
    // flowing along lines of `columns` cells.
    void rowsAbove(const SectionEntry &section, QGroupBox *frame, QGridLayout *grid)
    {
        grid->setHorizontalSpacing(12);
        const int columns = std::max(1, section.columns);
        int r = 0, c = 0;
        QList<bool> stretches(columns, false);
        for (const RowEntry &row : section.rows) {
            const Made made = make(row, frame);
            const int span = std::clamp(row.span, 1, columns);
            if (c + span > columns) {
                ++r;
                c = 0;
            }
            if (row.label.isEmpty() || hasOwnCaption(row.kind)) {
                grid->addWidget(made.control, r, c, 1, span);
            } else {
                auto *line = new QHBoxLayout;
                line->setSpacing(4);
                const bool grows = fills(made.control);
                line->addWidget(made.control, grows ? 1 : 0);
                if (made.picture)
                    line->addWidget(made.picture);
                if (!grows)
                    line->addStretch(1); // a short box keeps to the left of its cell
                auto *cell = new QVBoxLayout;
                cell->setSpacing(2);
                cell->addWidget(labelFor(row, made.control, frame));
                cell->addLayout(line);
                grid->addLayout(cell, r, c, 1, span);
                if (grows && span == 1)
                    stretches[c] = true;
            }
            c += span;
        }
        for (int i = 0; i < columns; ++i)
            if (stretches.at(i))
                grid->setColumnStretch(i, 1);
    }

    static bool hasOwnCaption(Control kind)
    {
        return kind == Control::Check || kind == Control::Button || kind == Control::Caption;
    }

    // Sections stacked in one column start their boxes at the same distance
    // from their pictures.
    void alignLabelColumns()
    {
        for (const auto &[column, labels] : m_labelColumn) {
            int width = 0;
            for (const auto &[label, grid] : labels)
                width = std::max(width, label->sizeHint().width());
            for (const auto &[label, grid] : labels)
                grid->setColumnMinimumWidth(0, width);
        }
    }

    Made make(const RowEntry &row, QWidget *parent)
    {
        QWidget *control = nullptr;
        switch (row.kind) {
        case Control::Edit:
        case Control::Header: {
            QLineEdit *box = editBox(row.name, row.length > 0 ? row.length : 32767, parent);
            if (row.kind == Control::Header) {
                box->setReadOnly(true);
                box->setProperty("eventHeader", true);
            }
            if (large())
                box->setFont(largeBoxFont());
            box->setText(row.initial);
            if (row.align)
                box->setAlignment(row.align);
            // Measured in the font the box shows, the house style's included.
            box->ensurePolished();
            if (!row.width.isEmpty())
                box->setFixedWidth(widthFor(box, row.width));
            control = box;
            break;
        }
        case Control::Province: {
            auto *box = new ProvinceBox(row.name, parent);
            if (large()) {
                box->setFont(largeBoxFont());
                box->lineEdit()->setFont(largeBoxFont()); // the combo gives its box a font of its own
            }
            box->ensurePolished();
            box->setFixedWidth(widthFor(box, QStringLiteral("WW")) + 28);
            control = box;
            break;
        }
        case Control::Check: {
            auto *check = new QCheckBox(row.label, parent);
            check->setObjectName(row.name);
            if (large())
                check->setFont(largeBoxFont());
            if (!row.icon.isEmpty()) {
                check->setIcon(picture(row.icon));
                check->setIconSize(QSize(24, 24));
            }
            control = check;
            break;
        }
        case Control::Button: {
            auto *button = new QPushButton(picture(row.icon), row.label, parent);
            button->setObjectName(row.name);
            if (row.onClick)
                QObject::connect(button, &QPushButton::clicked, m_window, row.onClick);
            control = button;
            break;
        }
        case Control::Caption: {
            auto *caption = new QLabel(row.label, parent);
            caption->setObjectName(row.name);
            caption->setWordWrap(true);
            control = caption;
            break;
        }
        case Control::Widget:
            control = row.make(parent);
            control->setObjectName(row.name);
            break;
        }
        if (isBox(row.kind)) {
            control->setFixedHeight(row.height > 0 ? row.height : boxHeight());
            if (control->maximumWidth() == QWIDGETSIZE_MAX)
                control->setMinimumWidth(m_description.minimumBoxWidth);
        }
        if (!row.accessibleName.isEmpty())
            control->setAccessibleName(row.accessibleName);
        keep(row.to, control);
        m_rows.append({&row, control, nullptr});
        if (!row.hint.isEmpty())
            m_hints.append({control, row.hint});

        QWidget *pictureBeside = nullptr;
        if (!row.beside.name.isEmpty()) {
            const PictureEntry &p = row.beside;
            auto *button = new ClickablePicture(p.name, picture(p.picture), p.hint, parent);
            if (large()) {
                button->setIconSize(QSize(22, 22));
            } else {
                button->setIconSize(QSize(20, 20));
                button->setFixedSize(26, 26);
            }
            if (p.onClick)
                QObject::connect(button, &QToolButton::clicked, m_window, p.onClick);
            keep(p.to, button);
            m_hints.append({button, p.hint});
            m_rows.last().picture = button;
            pictureBeside = button;
        }
        return {&row, control, pictureBeside};
    }

    ClickablePicture *toolPicture(const ToolEntry &tool, QWidget *bar, int iconSize)
    {
        // A picture that shows its caption is named by it, any other by its hint.
        const QString name = tool.text.isEmpty() ? tool.hint : tool.text;
        auto *p = new ClickablePicture(tool.name, picture(tool.picture), name, bar);
        p->setIconSize(QSize(iconSize, iconSize));
        if (tool.onClick)
            QObject::connect(p, &QToolButton::clicked, m_window, tool.onClick);
        keep(tool.to, p);
        m_hints.append({p, tool.hint});
        return p;
    }

    QLabel *position(const ToolEntry &tool, QWidget *bar, int minimumWidth)
    {
        auto *label = new QLabel(bar);
        label->setObjectName(tool.name);
        label->setAlignment(Qt::AlignCenter);
        label->setMinimumWidth(minimumWidth);
        label->setAccessibleName(QStringLiteral("Numero della scheda"));
        keep(tool.to, label);
        m_position = label;
        return label;
    }

    // The browsing group: the pictures run the card operations the builder makes last.
    void browsing(const ToolEntry &group, QWidget *bar, QBoxLayout *row, int iconSize, int positionWidth)
    {
        using Step = void (CardOperations::*)();
        const struct
        {
            const char *name, *picture, *hint;
            Step step;
        } pictures[] = {
            {"cmdPrimo", "first", "Visualizza la prima scheda in archivio.", &CardOperations::First},
            {"cmdIndietro", "previous", "Visualizza la scheda precedente in archivio.", &CardOperations::Previous},
            {"cmdAvanti", "next", "Visualizza la scheda successiva in archivio.", &CardOperations::Next},
            {"cmdUltimo", "last", "Visualizza l'ultima scheda in archivio.", &CardOperations::Last},
        };
        m_browsing = true;
        const QList<Member> &parts = group.parts;
        for (int i = 0; i < 4; ++i) {
            if (i == 2)
                row->addWidget(position(ToolEntry::position(parts.value(2)), bar, positionWidth));
            const auto &p = pictures[i];
            Form *form = m_form;
            const Step step = p.step;
            row->addWidget(toolPicture({p.name, p.picture, p.hint, [form, step] { (form->card().*step)(); },
                                        parts.value(i < 2 ? i : i + 1)},
                                       bar, iconSize));
        }
    }

    QWidget *topBar()
    {
        auto *bar = new QFrame(m_window);
        bar->setObjectName(QStringLiteral("panStrumenti"));
        bar->setStyleSheet(
            QStringLiteral("QFrame#panStrumenti { background: white; border-bottom: 1px solid #C9D3DE; }"));
        auto *row = new QHBoxLayout(bar);
        row->setContentsMargins(10, 6, 10, 6);
        row->setSpacing(4);
        for (const ToolEntry &tool : m_description.tools) {
            switch (tool.kind) {
            case ToolEntry::Picture:
                row->addWidget(toolPicture(tool, bar, kTopIconSize));
                break;
            case ToolEntry::Separator: {
                auto *line = new QFrame(bar);
                line->setFrameShape(QFrame::VLine);
                line->setProperty("toolSeparator", true);
                line->setStyleSheet(kLineColour);
                line->setFixedHeight(kTopIconSize);
                row->addWidget(line);
                break;
            }
            case ToolEntry::Position:
                row->addWidget(position(tool, bar, 72));
                break;
            case ToolEntry::Heading: {
                auto *heading = new QLabel(m_description.heading, bar);
                heading->setObjectName(QStringLiteral("lblIntestazione"));
                heading->setStyleSheet(
                    QStringLiteral("font-size: 15pt; font-weight: 700; color: #1F4E79; padding: 0 12px;"));
                row->addWidget(heading);
                break;
            }
            case ToolEntry::Stretch:
                row->addStretch(1);
                break;
            case ToolEntry::Browsing:
                browsing(tool, bar, row, kTopIconSize, 72);
                break;
            }
        }
        return bar;
    }

    QWidget *buttonColumn()
    {
        auto *column = new QFrame(m_window);
        column->setObjectName(QStringLiteral("panPulsanti"));
        column->setStyleSheet(
            QStringLiteral("QFrame#panPulsanti { background: white; border-left: 1px solid #C9D3DE; }"
                           "QFrame#panPulsanti QToolButton { text-align: left; padding: 3px 6px; }"));
        auto *layout = new QVBoxLayout(column);
        layout->setContentsMargins(8, 10, 8, 10);
        layout->setSpacing(2);
        for (const ToolEntry &tool : m_description.tools) {
            switch (tool.kind) {
            case ToolEntry::Picture: {
                ClickablePicture *p = toolPicture(tool, column, kColumnIconSize);
                p->setText(tool.text);
                p->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
                p->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
                layout->addWidget(p);
                break;
            }
            case ToolEntry::Separator: {
                auto *line = new QFrame(column);
                line->setFrameShape(QFrame::HLine);
                line->setStyleSheet(kLineColour);
                layout->addWidget(line);
                break;
            }
            case ToolEntry::Heading: {
                auto *logo = new QLabel(column);
                logo->setPixmap(pictureOfSize(m_description.logo, QSize(48, 48)));
                logo->setAlignment(Qt::AlignCenter);
                auto *heading = new QLabel(m_description.heading, column);
                heading->setObjectName(QStringLiteral("lblIntestazione"));
                heading->setAlignment(Qt::AlignCenter);
                heading->setStyleSheet(
                    QStringLiteral("font-size: 13pt; font-weight: 700; color: #1F4E79; padding: 4px;"));
                layout->addWidget(logo);
                layout->addWidget(heading);
                break;
            }
            case ToolEntry::Position:
                layout->addWidget(position(tool, column, 80));
                break;
            case ToolEntry::Stretch:
                layout->addStretch(1);
                break;
            case ToolEntry::Browsing:
                browsing(tool, column, layout, kColumnIconSize, 80);
                break;
            }
        }
        layout->addStretch(1);
        column->setFixedWidth(std::max(190, column->sizeHint().width()));
        return column;
    }

    // The information bar with the browsing pictures at its right.
    QWidget *bottomBar()
    {
        auto *bottom = new QFrame(m_window);
        bottom->setObjectName(QStringLiteral("panBasso"));
        bottom->setStyleSheet(
            QStringLiteral("QFrame#panBasso { background: white; border-top: 1px solid #C9D3DE; }"));
        auto *navigation = new QWidget(m_window);
        navigation->setObjectName(QStringLiteral("panNavigazione"));
        auto *row = new QHBoxLayout(navigation);
        row->setContentsMargins(6, 3, 0, 3);
        row->setSpacing(4);
        for (const ToolEntry &tool : m_description.navigation) {
            if (tool.kind == ToolEntry::Position)
                row->addWidget(position(tool, navigation, 80));
            else if (tool.kind == ToolEntry::Picture)
                row->addWidget(toolPicture(tool, navigation, kColumnIconSize));
            else if (tool.kind == ToolEntry::Browsing)
                browsing(tool, navigation, row, kColumnIconSize, 80);
        }
        auto *bottomRow = new QHBoxLayout(bottom);
        bottomRow->setContentsMargins(0, 0, 12, 0);
        bottomRow->setSpacing(0);
        bottomRow->addWidget(m_info, 1);
        bottomRow->addWidget(navigation);
        return bottom;
    }

    // Tab order: the order of the description. Highlights on the boxes;
    // Enter moves from a box to the next box of the tab order, the last back
    // to the first, unless its row says where.
    void arrangeFocus()
    {
        QList<QWidget *> boxes;
        for (const Made &made : m_rows) {
            if (made.row->kind == Control::Caption)
                continue;
            if (made.row->kind == Control::Widget && !(made.control->focusPolicy() & Qt::TabFocus))
                continue;
            m_form->m_tabOrder.append(made.control);
            if (isBox(made.row->kind))
                boxes.append(made.control);
            if (isBox(made.row->kind) && made.row->kind != Control::Header && made.row->highlight) {
                m_form->m_boxes.append(made.control);
                m_form->m_highlights.insert(
                    made.control, attachHighlight(made.control, QStringLiteral("eff") + made.row->name.mid(3)));
            }
        }
        const QList<QWidget *> &order = m_form->m_tabOrder;
        for (int i = 1; i < order.size(); ++i)
            QWidget::setTabOrder(order.at(i - 1), order.at(i));

        for (int i = 0; i < m_rows.size(); ++i) {
            const Made &made = m_rows.at(i);
            if (!isBox(made.row->kind) || made.row->rule == Rule::Picker)
                continue;
            QWidget *next = nullptr;
            if (!made.row->enter.isEmpty())
                next = m_window->findChild<QWidget *>(made.row->enter);
            else
                next = boxes.at((boxes.indexOf(made.control) + 1) % boxes.size());
            if (!next)
                qFatal("%s: Enter in %s goes nowhere", qPrintable(m_description.name), qPrintable(made.row->name));
            // Arriving by Enter selects the box's text, as arriving by Tab does.
            onEnter(made.control, [next] { next->setFocus(Qt::TabFocusReason); });
        }
    }

    void applyRules()
    {
        for (const Made &made : m_rows) {
            auto *box = qobject_cast<QLineEdit *>(made.control);
            if (!box)
                continue;
            switch (made.row->rule) {
            case Rule::None:
                break;
            case Rule::Upper:
                reshapeWhileTyping(box, [](const QString &text) { return asciiUpper(text); });
                break;
            case Rule::TrimmedUpper:
                reshapeWhileTyping(box, trimmedUpper);
                break;
            case Rule::Trimmed:
                trimmedRule(box);
                break;
            case Rule::Digits:
                digitsOnly(box);
                break;
            case Rule::Count:
                countRule(box);
                break;
            case Rule::Amount:
                amountRule(box);
                break;
            case Rule::UpperOnRelease:
                upperOnKeyRelease(box);
                break;
            case Rule::Picker:
                box->setReadOnly(true);
                pickerRule(box, qobject_cast<QAbstractButton *>(made.picture));
                break;
            }
            if (!made.row->initial.isEmpty())
                selectWholeDefault(box, made.row->initial);
        }
    }

    // Hints on the information bar (and to screen readers), then the keys:
    // the house map for the toolbar, F4 in a box for the picture beside it.
    // Everything without a hint empties the bar.
    void applyHints()
    {
        m_form->m_infoBar = new InfoBar(m_info);
        for (const auto &[control, hint] : m_hints)
            m_form->m_infoBar->addHint(control, hint);
        applyStandardShortcuts(m_window);
        for (const Made &made : m_rows)
            if (made.picture && made.row->rule != Rule::Picker)
                giveShortcut(static_cast<QAbstractButton *>(made.picture), QKeySequence(Qt::Key_F4), made.control);
        m_form->m_infoBar->watchBackground(m_window);
        for (QWidget *w : m_window->findChildren<QWidget *>())
            if (m_form->m_infoBar->hint(w).isEmpty())
                m_form->m_infoBar->watchBackground(w);
    }

    QWidget *m_window;
    const FormDescription &m_description;
    Form *m_form;
    QLabel *m_info = nullptr;
    QLabel *m_position = nullptr;
    bool m_browsing = false;
    QList<Made> m_rows;
    QList<QPair<QWidget *, QString>> m_hints;
    std::map<int, QList<QPair<QLabel *, QGridLayout *>>> m_labelColumn;
};

Form::Form(QWidget *window) : QObject(window), m_window(window) {}

bool Form::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_window && event->type() == QEvent::Resize)
        spreadRows();
    return false;
}

// On tall screens the rows move apart a little instead of leaving all the
// spare room below the card; on small ones the scroll area takes over.
void Form::spreadRows()
{
    int spare = m_window->height() - m_compactHeight;
    for (QWidget *bar : m_bars)
        spare -= bar->sizeHint().height();
    const int spacing = m_spacing + std::clamp(spare / m_spreadEvery, 0, m_spreadAtMost);
    for (QGridLayout *grid : m_grids)
        grid->setVerticalSpacing(spacing);
}

Form *buildForm(QWidget *window, const FormDescription &description)
{
    return FormBuilder(window, description).build();
}

} // namespace qv
