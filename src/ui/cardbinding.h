#pragma once
#include "archive/record.h"

#include <QList>
#include <QString>

class QCheckBox;
class QWidget;

namespace qv {

// Binds the fields of a record type to the controls of a card window by name:
// field F is shown in "txt"F, in the check box "chk"F (a yes/no field) or in
// the hidden label "lbl"F. The texts the controls hold when the binding is
// made are the card's initial texts, restored by reset().
class CardBinding
{
public:
    CardBinding(QWidget *window, const RecordLayout &layout);

    void toRecord(Record &record) const;   // every field from the card
    void fromRecord(const Record &record); // every control from its field
    void reset();                          // initial texts, check boxes cleared

private:
    struct Binding
    {
        int field;
        QWidget *control;
        QCheckBox *check;
        QString initialText;
    };
    const RecordLayout *m_layout;
    QList<Binding> m_bindings;
};

} // namespace qv
