// The settings dialog's rules on any edited text: what a row accepts is
// stable (checking the stored form again gives the same form), holds no line
// break, and once written into any configuration text reads back exactly,
// leaving the section's other keys as they were.
#include "fuzz/fuzz_check.h"
#include "shell/kit/settings_dialog/rules/setting_changes.h"
#include "shell/kit/settings_dialog/rules/setting_values.h"
#include "shell/skin_files/rules/ini_text.h"
#include "shell/skin_files/rules/setting_editors.h"
#include "shell/skin_files/rules/setting_forms.h"
#include "tests/native/test_descriptor.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <string>

namespace {

std::string Value(const std::string& ini, const char* key) {
    IniValue value;
    if (!FindIniValue(ini.data(), ini.size(), "Quilbex", key, &value)) return "<missing>";
    return std::string(value.Text, value.Length);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    const PluginInfo& d = test_descriptor::Descriptor(input.ConsumeBool());
    const int32_t index = input.ConsumeIntegralInRange<int32_t>(0, d.RowCount - 1);
    const SettingRow& row = d.Rows[index];
    const EditorSpec spec = EditorFor(row);
    // The dialog's texts come from controls: C strings.
    const std::string text = input.ConsumeRandomLengthString(300).c_str();
    const std::string ini = input.ConsumeRandomLengthString(2000);

    std::string stored, message;
    if (!CheckSettingText(row, spec, text, &stored, &message)) {
        FUZZ_CHECK(!message.empty() && message.find(row.Caption) == 0);
    } else {
        FUZZ_CHECK(stored.find_first_of("\r\n") == std::string::npos);
        std::string again;
        FUZZ_CHECK(CheckSettingText(row, spec, stored, &again, &message) && again == stored);
        const char* other = index == 2 ? "Y" : "X";
        const std::string written = WriteSettingChanges(ini, "Quilbex", {{index, row.Key, stored}});
        FUZZ_CHECK(Value(written, row.Key) == stored);
        FUZZ_CHECK(Value(written, other) == Value(ini, other));
    }

    // Paths: a path made relative to a folder leads back to the same file.
    const std::string folder = "C:\\" + input.ConsumeRandomLengthString(40);
    const std::string path = input.ConsumeRandomLengthString(80);
    const std::string relative = PathForConfig(path, folder);
    if (relative != path) {
        const std::string back = PathInFolder(relative, folder);
        FUZZ_CHECK(back.size() == path.size());
    }
    return 0;
}
