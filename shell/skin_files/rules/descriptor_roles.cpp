#include "shell/skin_files/rules/descriptor_roles.h"

#include <cstdio>
#include <cstring>

namespace {

// The rows of one group: [First, End), the header excluded.
struct Group {
    const char* Caption;
    int32_t First;
    int32_t End;
};

int32_t Groups(const PluginInfo& d, Group* groups, int32_t max) {
    int32_t count = 0;
    for (int32_t i = 0; i < d.RowCount && count < max; ++i) {
        if (d.Rows[i].Type != RowTypeGroup) continue;
        int32_t end = i + 1;
        while (end < d.RowCount && d.Rows[end].Type != RowTypeGroup)
            ++end;
        groups[count++] = {d.Rows[i].Caption ? d.Rows[i].Caption : "", i + 1, end};
    }
    return count;
}

bool HasKey(const SettingRow& row) {
    return row.Key && row.Key[0];
}

bool Fail(char* reason, int32_t size, const char* format, const char* detail) {
    if (reason && size > 0) snprintf(reason, size_t(size), format, detail);
    return false;
}

bool WindowGroup(const PluginInfo& d, const Group& g, SettingRoles* roles) {
    const SettingRow* lists[2] = {};
    const SettingRow* integers[2] = {};
    int32_t listCount = 0, integerCount = 0, pictures = 0;
    for (int32_t i = g.First; i < g.End; ++i) {
        const SettingRow& row = d.Rows[i];
        if (!HasKey(row)) return false;
        if (row.Type == RowTypeList && listCount < 2)
            lists[listCount++] = &row;
        else if (row.Type == RowTypeInteger && integerCount < 2)
            integers[integerCount++] = &row;
        else if (row.Type == RowTypePicture && pictures++ == 0)
            roles->Background = &row;
        else
            return false;
    }
    roles->ZOrder = lists[0];
    roles->LockMode = lists[1];
    roles->X = integers[0];
    roles->Y = integers[1];
    return listCount == 2 && integerCount == 2 && pictures == 1;
}

// Picture, three integers, a text, two integers; all keys sharing a beginning.
bool MeterGroup(const PluginInfo& d, const Group& g, MeterRows* meter) {
    static const int32_t Shape[] = {RowTypePicture, RowTypeInteger, RowTypeInteger, RowTypeInteger,
                                    RowTypeText,    RowTypeInteger, RowTypeInteger};
    const int32_t count = int32_t(sizeof Shape / sizeof Shape[0]);
    if (g.End - g.First != count) return false;
    const SettingRow* rows[count];
    for (int32_t i = 0; i < count; ++i) {
        rows[i] = &d.Rows[g.First + i];
        if (rows[i]->Type != Shape[i] || !HasKey(*rows[i])) return false;
    }
    size_t shared = strlen(rows[0]->Key);
    for (const SettingRow* row : rows) {
        size_t n = 0;
        while (n < shared && row->Key[n] == rows[0]->Key[n])
            ++n;
        shared = n;
    }
    if (shared == 0 || shared >= sizeof meter->Name) return false;
    memcpy(meter->Name, rows[0]->Key, shared);
    meter->Name[shared] = 0;
    meter->Picture = rows[0];
    meter->FramesCount = rows[1];
    meter->OffsetX = rows[2];
    meter->OffsetY = rows[3];
    meter->Template = rows[4];
    meter->TextX = rows[5];
    meter->TextY = rows[6];
    return true;
}

// The one row of a type anywhere in the descriptor, or null (also when the
// type appears twice: then it names nothing for certain).
const SettingRow* Unique(const PluginInfo& d, int32_t type) {
    const SettingRow* found = nullptr;
    for (int32_t i = 0; i < d.RowCount; ++i) {
        if (d.Rows[i].Type != type) continue;
        if (found || !HasKey(d.Rows[i])) return nullptr;
        found = &d.Rows[i];
    }
    return found;
}

} // namespace

bool FindSettingRoles(const PluginInfo& d, SettingRoles* roles, char* reason, int32_t reasonSize) {
    memset(roles, 0, sizeof *roles);
    if (!DescriptorUsable(&d, reason, reasonSize)) return false;
    if (!d.Section || !d.Section[0])
        return Fail(reason, reasonSize, "%s", "the descriptor names no configuration section");
    roles->Section = d.Section;
    Group groups[1 + MeterRoleCount + 1];
    const int32_t count = Groups(d, groups, int32_t(sizeof groups / sizeof groups[0]));
    if (count < 1 + MeterRoleCount)
        return Fail(reason, reasonSize, "the descriptor has fewer than %s groups of settings",
                    "five");
    if (!WindowGroup(d, groups[0], roles))
        return Fail(reason, reasonSize,
                    "the descriptor's group \"%s\" is not the window's (two lists, two integers "
                    "and a picture)",
                    groups[0].Caption);
    for (int32_t m = 0; m < MeterRoleCount; ++m)
        if (!MeterGroup(d, groups[1 + m], &roles->Meters[m]))
            return Fail(reason, reasonSize,
                        "the descriptor's group \"%s\" is not a meter's (picture, three "
                        "integers, text, two integers)",
                        groups[1 + m].Caption);
    roles->Font = Unique(d, RowTypeFont);
    roles->FontColor = Unique(d, RowTypeColor);
    roles->Elapse = Unique(d, RowTypeRangedInteger);
    roles->MaxNetSpeed = Unique(d, RowTypeLargeInteger);
    roles->Transparency = Unique(d, RowTypeRangedPercent);
    roles->UseVXD = Unique(d, RowTypeSwitch);
    if (!roles->Font || !roles->FontColor || !roles->Elapse || !roles->MaxNetSpeed)
        return Fail(reason, reasonSize, "%s",
                    "the descriptor lacks one of the font, colour, period and speed rows");
    return true;
}
