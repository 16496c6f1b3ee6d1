#pragma once
#include "output/pageoutput.h"

// The PDF guide, built from the same help topics the guide window shows: a
// title page, the contents, then one section per topic starting on a page of
// its own; every page after the title page is numbered.
namespace qv::GuideDocument {

inline const QString kTitle = QStringLiteral("Quorvane - Guida all'utilizzo del software");

page::Document build();

} // namespace qv::GuideDocument
