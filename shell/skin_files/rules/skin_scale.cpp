#include "shell/skin_files/rules/skin_scale.h"

#include "shell/skin_files/rules/ini_text.h"
#include "shell/skin_files/rules/ini_values.h"

#include <cstdio>
#include <cstring>

const PictureScale PictureScales[PictureScaleCount] = {{"", 96}, {"@1.5x", 144}, {"@2x", 192}};

namespace {

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}

bool SameKey(const char* a, const char* b) {
    for (; *a && *b; ++a, ++b)
        if (Lower(*a) != Lower(*b)) return false;
    return *a == *b;
}

// Copies text into a fixed room; false (and an empty room) when it does not fit.
bool CopyFitting(const char* text, size_t length, char* room, size_t size) {
    if (length >= size) {
        room[0] = 0;
        return false;
    }
    memcpy(room, text, length);
    room[length] = 0;
    return true;
}

bool ReadValue(const SettingRoles& roles, const char* ini, size_t length, const SettingRow* row,
               IniValue* value) {
    return row && row->Key && FindIniValue(ini, length, roles.Section, row->Key, value);
}

void AddLengthKey(const SettingRow* row, SkinScaleView* view) {
    if (!row || !row->Key || view->LengthKeyCount >= ScaledLengthKeysMax) return;
    char* room = view->LengthKeys[view->LengthKeyCount];
    if (CopyFitting(row->Key, strlen(row->Key), room, ScaledKeyRoom)) ++view->LengthKeyCount;
}

void AddPicture(const SettingRoles& roles, const char* ini, size_t length, const SettingRow* path,
                const SettingRow* frames, SkinScaleView* view) {
    IniValue value;
    if (view->PictureCount >= ScaledPicturesMax || !ReadValue(roles, ini, length, path, &value))
        return;
    ScaledPicture& picture = view->Pictures[view->PictureCount];
    if (!CopyFitting(value.Text, value.Length, picture.Path, sizeof picture.Path)) return;
    int32_t count = frames ? frames->Default : 1;
    IniValue framesValue;
    if (frames && ReadValue(roles, ini, length, frames, &framesValue))
        ParseIniInt(framesValue.Text, framesValue.Length, &count);
    picture.Frames = count < 1 ? 1 : count;
    ++view->PictureCount;
}

} // namespace

int32_t ScaleLengthBetween(int32_t value, int32_t fromDpi, int32_t toDpi) {
    if (fromDpi <= 0 || toDpi <= 0 || fromDpi == toDpi) return value;
    const int64_t product = int64_t(value) * toDpi;
    const int64_t half = fromDpi / 2;
    int64_t scaled = product >= 0 ? (product + half) / fromDpi : -((-product + half) / fromDpi);
    if (scaled > INT32_MAX) scaled = INT32_MAX;
    if (scaled < INT32_MIN) scaled = INT32_MIN;
    return int32_t(scaled);
}

int32_t ScaleLength(int32_t value, int32_t dpi) {
    return ScaleLengthBetween(value, ScaleBaseDpi, dpi);
}

int32_t UsableDpi(int32_t dpi) {
    return dpi >= ScaleDpiMin && dpi <= ScaleDpiMax ? dpi : ScaleBaseDpi;
}

void BuildSkinScaleView(const SettingRoles& roles, const char* ini, size_t length, int32_t dpi,
                        SkinScaleView* view) {
    memset(view, 0, sizeof *view);
    view->Dpi = UsableDpi(dpi);
    for (const MeterRows& meter : roles.Meters) {
        AddLengthKey(meter.OffsetX, view);
        AddLengthKey(meter.OffsetY, view);
        AddLengthKey(meter.TextX, view);
        AddLengthKey(meter.TextY, view);
    }
    if (roles.Font && roles.Font->Key)
        CopyFitting(roles.Font->Key, strlen(roles.Font->Key), view->FontKey, sizeof view->FontKey);
    if (!ini || !roles.Section) return;
    AddPicture(roles, ini, length, roles.Background, nullptr, view);
    for (const MeterRows& meter : roles.Meters)
        AddPicture(roles, ini, length, meter.Picture, meter.FramesCount, view);
}

int32_t ScaledSetting(const SkinScaleView& view, const char* key, int32_t value) {
    if (!key) return value;
    for (int32_t i = 0; i < view.LengthKeyCount && i < ScaledLengthKeysMax; ++i)
        if (SameKey(view.LengthKeys[i], key)) return ScaleLength(value, view.Dpi);
    return value;
}

int32_t ScaledFontSize(const SkinScaleView& view, const char* key, int32_t points) {
    if (!key || !view.FontKey[0] || !SameKey(view.FontKey, key)) return points;
    return ScaleLength(points, view.Dpi);
}

int32_t FramesOfPicture(const SkinScaleView& view, const char* path) {
    if (!path) return 1;
    for (int32_t i = 0; i < view.PictureCount && i < ScaledPicturesMax; ++i)
        if (SameKey(view.Pictures[i].Path, path)) return view.Pictures[i].Frames;
    return 1;
}

int32_t ChoosePictureScale(int32_t dpi, const bool present[PictureScaleCount]) {
    int32_t above = -1, largest = -1;
    for (int32_t i = 0; i < PictureScaleCount; ++i) {
        if (!present[i]) continue;
        if (largest < 0 || PictureScales[i].Dpi > PictureScales[largest].Dpi) largest = i;
        if (PictureScales[i].Dpi >= dpi &&
            (above < 0 || PictureScales[i].Dpi < PictureScales[above].Dpi))
            above = i;
    }
    return above >= 0 ? above : largest;
}

bool PictureNameForScale(const char* path, const char* suffix, char* out, size_t room) {
    if (!path || !suffix || !out || room == 0) return false;
    const size_t length = strlen(path);
    size_t dot = length;
    for (size_t i = length; i > 0; --i) {
        const char c = path[i - 1];
        if (c == '\\' || c == '/' || c == ':') break;
        if (c == '.') {
            dot = i - 1;
            break;
        }
    }
    const int written = snprintf(out, room, "%.*s%s%s", int(dot), path, suffix, path + dot);
    if (written < 0 || size_t(written) >= room) {
        out[0] = 0;
        return false;
    }
    return true;
}

bool ScaledStripSizes(int32_t width, int32_t height, int32_t frames, int32_t fromDpi, int32_t toDpi,
                      StripSizes* sizes) {
    memset(sizes, 0, sizeof *sizes);
    if (frames < 1) frames = 1;
    if (width < 1 || height < 1 || width / frames < 1) return false;
    sizes->Frames = frames;
    sizes->SourceFrameWidth = width / frames;
    const int32_t frameWidth = ScaleLengthBetween(sizes->SourceFrameWidth, fromDpi, toDpi);
    const int32_t scaledHeight = ScaleLengthBetween(height, fromDpi, toDpi);
    sizes->FrameWidth = frameWidth < 1 ? 1 : frameWidth;
    sizes->Height = scaledHeight < 1 ? 1 : scaledHeight;
    return true;
}

bool SavedPlace(const SettingRoles& roles, const char* ini, size_t length, int32_t* x, int32_t* y) {
    IniValue valueX, valueY;
    return ini && roles.Section && ReadValue(roles, ini, length, roles.X, &valueX) &&
           ReadValue(roles, ini, length, roles.Y, &valueY) &&
           ParseIniInt(valueX.Text, valueX.Length, x) && ParseIniInt(valueY.Text, valueY.Length, y);
}

int32_t ParseMonitorDpis(const char* text, int32_t* dpis, int32_t max) {
    if (!text || !text[0]) return 0;
    int32_t count = 0;
    const char* part = text;
    for (;;) {
        const char* end = strchr(part, ',');
        const size_t length = end ? size_t(end - part) : strlen(part);
        int32_t dpi = 0;
        if (count >= max || !ParseIniInt(part, length, &dpi) || UsableDpi(dpi) != dpi) return 0;
        dpis[count++] = dpi;
        if (!end) return count;
        part = end + 1;
    }
}
