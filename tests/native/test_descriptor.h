// The plug-in's descriptor for the native tests of the kit's settings rules,
// built from the rows the Wine tests check the real one against.
#pragma once

#include "shell/skin_files/rules/descriptor_view.h"
#include "tests/descriptor_rows.h"

namespace test_descriptor {

// With layered windows, or without (the driver switch in the transparency's
// place, three lock modes).
inline const PluginInfo& Descriptor(bool layered) {
    static SettingRow rows[2][45];
    static PluginInfo descriptors[2];
    SettingRow* r = rows[layered ? 1 : 0];
    for (int i = 0; i < 45; ++i)
        r[i] = ExpectedSchema[i];
    r[1].MaxOrList = reinterpret_cast<intptr_t>(ExpectedZOrderNames);
    r[4].MaxOrList = reinterpret_cast<intptr_t>(ExpectedLockModeNames);
    if (!layered) {
        r[43] = r[44];
        r[4].MinOrLast = 2;
    }
    PluginInfo& d = descriptors[layered ? 1 : 0];
    d = {24, "Zelvo Resource Monitor", "Help.\r\n", "Quilbex", 44, r};
    return d;
}

} // namespace test_descriptor
