#include "shell/kit/skin_follow/rules/skin_edit_rules.h"

#include "shell/skin_files/rules/ini_text.h"
#include "shell/skin_files/rules/ini_values.h"

namespace {

bool SameStamp(const FileStamp& a, const FileStamp& b) {
    return a.Exists == b.Exists && (!a.Exists || (a.Size == b.Size && a.Hash == b.Hash));
}

bool SamePictures(const SkinSnapshot& a, const SkinSnapshot& b) {
    for (int32_t i = 0; i < SkinPictureCount; ++i)
        if (!SameFileName(a.PicturePaths[i], b.PicturePaths[i]) ||
            !SameStamp(a.Pictures[i], b.Pictures[i]))
            return false;
    return true;
}

// The value of key in the text, and whether there is one.
bool Value(const std::string& text, const SkinEditKeys& keys, const char* key, std::string* out) {
    IniValue value;
    if (!FindIniValue(text.data(), text.size(), keys.Section, key, &value)) return false;
    out->assign(value.Text, value.Length);
    return true;
}

bool IsSeparator(char c) {
    return c == '\\' || c == '/';
}

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}

} // namespace

SkinEdit JudgeSkinEdit(const SkinSnapshot& running, const SkinSnapshot& now,
                       const SkinEditKeys& keys, MeterPlace place) {
    if (!SamePictures(running, now) || running.IniExists != now.IniExists) return SkinEdit::Edited;
    if (running.IniText == now.IniText) return SkinEdit::Unchanged;
    // The text the plug-in's own save would have made of the running one:
    // the position written as the service library writes it. Anything else
    // that differs is an edit.
    std::string x, y;
    const bool hasX = Value(now.IniText, keys, keys.X, &x);
    const bool hasY = Value(now.IniText, keys, keys.Y, &y);
    std::string saved = running.IniText;
    if (hasX) saved = SetIniValue(saved, keys.Section, keys.X, x.c_str());
    if (hasY) saved = SetIniValue(saved, keys.Section, keys.Y, y.c_str());
    if (saved != now.IniText) return SkinEdit::Edited;
    // Only the position changed: the plug-in's save when it is where the
    // meter is; a position typed in by hand moves it.
    int32_t newX = 0, newY = 0;
    const bool numbers = hasX && hasY && ParseIniInt(x.data(), x.size(), &newX) &&
                         ParseIniInt(y.data(), y.size(), &newY);
    if (numbers && place.Known && newX == place.X && newY == place.Y) return SkinEdit::OwnPlace;
    return SkinEdit::Edited;
}

uint64_t ContentHash(const char* data, size_t length, uint64_t hash) {
    for (size_t i = 0; i < length; ++i) {
        hash ^= uint8_t(data[i]);
        hash *= 1099511628211ull;
    }
    return hash;
}

bool SameFileName(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (Lower(a[i]) != Lower(b[i]) && !(IsSeparator(a[i]) && IsSeparator(b[i]))) return false;
    return true;
}
