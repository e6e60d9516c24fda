// SysClock: the local date and time.
#pragma once
#include "platform/Types.h"

namespace SysClock {

struct DateTime {
    CARDINAL year;
    CARDINAL month;
    CARDINAL day;
    CARDINAL hour;
    CARDINAL minute;
    CARDINAL second;
    CARDINAL fractions;     // hundredths of a second
    INTEGER zone;           // bias in minutes: UTC = local time + bias
    BOOLEAN SummerTimeFlag;
};

void GetClock(DateTime& dt);

}  // namespace SysClock
