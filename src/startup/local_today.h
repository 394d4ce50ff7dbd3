#pragma once

#include "common/datetime.h"

namespace velmora {

// Today's date on this computer's clock and time zone. Logic takes "today" as a parameter;
// only the windows ask the clock.
DateTime LocalToday();
// The moment on this computer's clock, to the second (the save's completion stamps).
DateTime LocalNow();

}  // namespace velmora
