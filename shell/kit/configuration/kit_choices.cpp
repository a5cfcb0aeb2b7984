#include "shell/kit/configuration/kit_choices.h"

#include "shell/kit/configuration/rules/host_identity.h"
#include "win32/scoped_handle.h"

namespace {

// One key per choice, one DWORD in it per configuration file, named by its
// identity.
const char FollowKey[] = "Software\\Vorlamet\\Follow skin changes";
const char ScaleKey[] = "Software\\Vorlamet\\Scale with the display";

bool Chosen(const char* choice, const std::string& configPath) {
    ScopedRegKey key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, choice, 0, KEY_QUERY_VALUE, &key.handle) != ERROR_SUCCESS)
        return true;
    DWORD value = 1, type = 0, size = sizeof value;
    if (RegQueryValueExA(key.handle, ConfigIdentity(configPath).c_str(), nullptr, &type,
                         reinterpret_cast<BYTE*>(&value), &size) != ERROR_SUCCESS ||
        type != REG_DWORD)
        return true;
    return value != 0;
}

bool Choose(const char* choice, const std::string& configPath, bool on) {
    ScopedRegKey key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, choice, 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                        &key.handle, nullptr) != ERROR_SUCCESS)
        return false;
    const DWORD value = on ? 1 : 0;
    return RegSetValueExA(key.handle, ConfigIdentity(configPath).c_str(), 0, REG_DWORD,
                          reinterpret_cast<const BYTE*>(&value), sizeof value) == ERROR_SUCCESS;
}

} // namespace

bool FollowSkinChosen(const std::string& configPath) {
    return Chosen(FollowKey, configPath);
}

bool ChooseFollowSkin(const std::string& configPath, bool on) {
    return Choose(FollowKey, configPath, on);
}

bool ScaleWithDisplayChosen(const std::string& configPath) {
    return Chosen(ScaleKey, configPath);
}

bool ChooseScaleWithDisplay(const std::string& configPath, bool on) {
    return Choose(ScaleKey, configPath, on);
}
