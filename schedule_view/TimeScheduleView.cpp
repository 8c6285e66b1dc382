#include "schedule/TimeSchedule.h"
