// The plug-in's descriptor for the native tests of the kit's settings rules,
// built from the rows the Wine tests check the real one against.
#pragma once

#include "shell/common/descriptor_view.h"
#include "tests/descriptor_rows.h"

namespace test_descriptor {

// With layered windows, or without (the driver switch in the transparency's
// place, three lock modes).
inline const PluginDescriptor& Descriptor(bool layered) {
    static DescriptorRow rows[2][45];
    static PluginDescriptor descriptors[2];
    DescriptorRow* r = rows[layered ? 1 : 0];
    for (int i = 0; i < 45; ++i) {
        const ExpectedRow& e = ExpectedSchema[i];
        r[i] = {e.Key, e.Type, e.Caption, e.Default, e.MinOrLast, e.Max};
    }
    r[1].MaxOrList = reinterpret_cast<intptr_t>(ExpectedZOrderNames);
    r[4].MaxOrList = reinterpret_cast<intptr_t>(ExpectedLockModeNames);
    if (!layered) {
        r[43] = r[44];
        r[4].MinOrLast = 2;
    }
    PluginDescriptor& d = descriptors[layered ? 1 : 0];
    d = {24, "Zelvo Resource Monitor", "Help.\r\n", "Quilbex", 44, r};
    return d;
}

} // namespace test_descriptor
