// One meter: the frame of its strip that shows the level, then its text.
#pragma once

#include "sampling/meter_readings.h"
#include "settings/settings_record.h"

#include <windows.h>

void DrawMeter(HDC target, const Meter& meter, const MeterReading& reading);
