#pragma once

// cHolidayLabel, the record of one labelled holiday. The class is defined with
// the shared holiday tables in common/, since HolidayLabels holds it; calendar
// code includes it from here.

#include "common/SharedTables.h"
