#include "shell/skin_files/rules/setting_editors.h"

#include <climits>

namespace {

EditorSpec Spec(SettingEditor kind) {
    EditorSpec spec = {};
    spec.Kind = kind;
    spec.Min = INT32_MIN;
    spec.Max = INT32_MAX;
    return spec;
}

EditorSpec ChoiceFor(const SettingRow& row) {
    const char* const* names = reinterpret_cast<const char* const*>(row.MaxOrList);
    // A list without names, or with an impossible last index, cannot be offered.
    if (!names || row.MinOrLast < 0 || row.MinOrLast >= DescriptorOptionsMax)
        return Spec(SettingEditor::Unsupported);
    for (int32_t i = 0; i <= row.MinOrLast; ++i)
        if (!names[i]) return Spec(SettingEditor::Unsupported);
    EditorSpec spec = Spec(SettingEditor::Choice);
    spec.OptionCount = row.MinOrLast + 1;
    spec.Options = names;
    return spec;
}

EditorSpec RangedFor(const SettingRow& row) {
    const int32_t max = static_cast<int32_t>(row.MaxOrList);
    // A range the other way round gives nothing to enforce.
    if (row.MinOrLast > max || intptr_t(max) != row.MaxOrList) return Spec(SettingEditor::Number);
    EditorSpec spec = Spec(SettingEditor::RangedNumber);
    spec.Min = row.MinOrLast;
    spec.Max = max;
    return spec;
}

} // namespace

EditorSpec EditorFor(const SettingRow& row) {
    if (row.Type == RowTypeGroup) return Spec(SettingEditor::Heading);
    if (!row.Key || !row.Key[0]) return Spec(SettingEditor::Unsupported);
    switch (row.Type) {
    case RowTypeList:
        return ChoiceFor(row);
    case RowTypeInteger:
    case RowTypeLargeInteger:
        return Spec(SettingEditor::Number);
    case RowTypeRangedInteger:
    case RowTypeRangedPercent:
        return RangedFor(row);
    case RowTypeText: {
        EditorSpec spec = Spec(SettingEditor::Text);
        spec.MaxLength = TextValueMax;
        return spec;
    }
    case RowTypePicture: {
        EditorSpec spec = Spec(SettingEditor::Picture);
        spec.MaxLength = PictureValueMax;
        return spec;
    }
    case RowTypeFont:
        return Spec(SettingEditor::Font);
    case RowTypeColor:
        return Spec(SettingEditor::Color);
    case RowTypeSwitch:
        return Spec(SettingEditor::Switch);
    }
    return Spec(SettingEditor::Unsupported);
}

const char* OptionName(const EditorSpec& spec, int32_t index) {
    if (spec.Kind != SettingEditor::Choice || index < 0 || index >= spec.OptionCount) return "";
    return spec.Options[index];
}

std::string RowDisplayName(const SettingRow& row) {
    const std::string caption = row.Caption ? row.Caption : "";
    const std::string key = row.Key ? row.Key : "";
    if (caption.empty()) return key;
    if (key.empty() || key == caption) return caption;
    return caption + " (" + key + ")";
}

std::string RangeText(const EditorSpec& spec) {
    return std::to_string(spec.Min) + "-" + std::to_string(spec.Max);
}
