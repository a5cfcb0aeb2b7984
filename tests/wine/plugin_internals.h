// The plug-in's owners as the in-process Wine tests reach them: each area's
// record and its reset or test functions.
#pragma once

#include "plugin/lifecycle.h"
#include "render/glow_text.h"
#include "render/meter_draw.h"
#include "render/surface.h"
#include "sampling/meter_format.h"
#include "sampling/meter_readings.h"
#include "sampling/update_cycle.h"
#include "settings/host_context.h"
#include "settings/load_settings.h"
#include "settings/release_settings.h"
#include "settings/save_position.h"
#include "settings/settings_record.h"
#include "settings/window_levels.h"
#include "window/context_menu.h"
#include "window/lock_modes.h"
#include "window/placement.h"
#include "window/window_messages.h"
#include "window/window_proc.h"
