#pragma once
#include "frame/windows.h"

namespace qv {

// Creates the long-lived windows, hidden, in start-up order.
void createWindows();
void destroyWindows();

} // namespace qv
