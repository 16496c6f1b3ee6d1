#pragma once
#include "frame/guidetopics.h"

#include <QList>
#include <QPair>
#include <QString>

namespace qv {

// The "Tasti rapidi" table of a guide topic: (keys, what they do), in the
// order the workspace shows its pictures. Empty for topics without keys of
// their own (the export windows).
QList<QPair<QString, QString>> shortcutRows(GuideTopic topic);

// The same as text to append to the topic ("Tasti rapidi:" and one line per
// key, lines joined by CR LF); empty when the topic has no rows.
QString shortcutTable(GuideTopic topic);

} // namespace qv
