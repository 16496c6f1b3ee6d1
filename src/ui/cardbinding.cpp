#include "ui/cardbinding.h"

#include "archive/fields.h"
#include "ui/controltext.h"

#include <QCheckBox>
#include <QWidget>

#include <stdexcept>

namespace qv {

CardBinding::CardBinding(QWidget *window, const RecordLayout &layout)
    : m_layout(&layout)
{
    for (int i = 0; i < layout.fieldCount(); ++i) {
        const QString &name = layout.field(i).name;
        if (auto *check = window->findChild<QCheckBox *>(QStringLiteral("chk") + name)) {
            m_bindings.append({i, check, check, {}});
            continue;
        }
        QWidget *control = namedControl(window, QStringLiteral("txt") + name);
        if (!control)
            control = namedControl(window, QStringLiteral("lbl") + name);
        if (!control)
            throw std::logic_error(("card has no control for field " + name).toStdString());
        m_bindings.append({i, control, nullptr, controlText(control)});
    }
}

void CardBinding::toRecord(Record &record) const
{
    for (const Binding &b : m_bindings) {
        if (b.check)
            record.setText(b.field, yesNoText(b.check->isChecked()));
        else
            record.setText(b.field, controlText(b.control));
    }
}

void CardBinding::fromRecord(const Record &record)
{
    for (const Binding &b : m_bindings) {
        const QString text = record.text(b.field);
        if (b.check) {
            // Anything but "Sì" or "No" leaves the box as it was.
            if (const auto yes = yesNoValue(text))
                b.check->setChecked(*yes);
        } else {
            setControlText(b.control, text);
        }
    }
}

void CardBinding::reset()
{
    for (const Binding &b : m_bindings) {
        if (b.check)
            b.check->setChecked(false);
        else
            setControlText(b.control, b.initialText);
    }
}

} // namespace qv
