#include "shell/kit/skin_follow/skin_snapshot.h"

#include "shell/skin_files/config_file.h"
#include "shell/skin_files/rules/ini_text.h"
#include "shell/skin_files/rules/setting_forms.h"
#include "shell/skin_files/rules/skin_scale.h"
#include "win32/scoped_handle.h"

namespace {

// Larger pictures are stamped by their first part and their size.
const uint64_t LargestHashed = 64ull * 1024 * 1024;
char ReadBuffer[64 * 1024];

FileStamp Stamp(const std::string& path) {
    FileStamp stamp = {false, 0, ContentHash(nullptr, 0)};
    ScopedKernelObject file(KernelHandle(CreateFileA(
        path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
        OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr)));
    if (!file.handle) return stamp;
    stamp.Exists = true;
    DWORD read = 0;
    while (stamp.Size < LargestHashed &&
           ReadFile(file.handle, ReadBuffer, sizeof ReadBuffer, &read, nullptr) && read > 0) {
        stamp.Hash = ContentHash(ReadBuffer, read, stamp.Hash);
        stamp.Size += read;
    }
    LARGE_INTEGER size;
    if (GetFileSizeEx(file.handle, &size)) stamp.Size = uint64_t(size.QuadPart);
    return stamp;
}

std::string FullPath(const std::string& path) {
    char full[MAX_PATH];
    DWORD n = GetFullPathNameA(path.c_str(), sizeof full, full, nullptr);
    return n > 0 && n < sizeof full ? std::string(full) : path;
}

bool OpenForWriting(const std::string& path) {
    if (path.empty()) return false;
    // Shares reading only: refused while another program may write.
    ScopedKernelObject file(KernelHandle(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ,
                                                     nullptr, OPEN_EXISTING, 0, nullptr)));
    return !file.handle && GetLastError() == ERROR_SHARING_VIOLATION;
}

} // namespace

void TakeSkinSnapshot(const std::string& configPath, const SettingRoles& roles,
                      SkinSnapshot* snapshot) {
    snapshot->IniExists = ReadConfigFile(configPath.c_str(), &snapshot->IniText);
    const std::string folder = FolderOf(configPath);
    static_assert(SkinPictureScales == PictureScaleCount, "a stamp for each picture scale");
    const SettingRow* pictures[SkinNamedPictures] = {roles.Background};
    for (int32_t i = 0; i < MeterRoleCount && i + 1 < SkinNamedPictures; ++i)
        pictures[i + 1] = roles.Meters[i].Picture;
    const std::string& text = snapshot->IniText;
    for (int32_t i = 0; i < SkinNamedPictures; ++i) {
        IniValue value;
        std::string named;
        if (pictures[i] &&
            FindIniValue(text.data(), text.size(), roles.Section, pictures[i]->Key, &value))
            named.assign(value.Text, value.Length);
        const std::string full = named.empty() ? named : FullPath(PathInFolder(named, folder));
        for (int32_t k = 0; k < SkinPictureScales; ++k) {
            char name[MAX_PATH] = "";
            if (!full.empty())
                PictureNameForScale(full.c_str(), PictureScales[k].Suffix, name, sizeof name);
            const int32_t slot = i * SkinPictureScales + k;
            snapshot->PicturePaths[slot] = name;
            snapshot->Pictures[slot] = name[0] ? Stamp(name) : FileStamp{false, 0, 0};
        }
    }
}

bool SkinFilesBeingWritten(const std::string& configPath, const SkinSnapshot& snapshot) {
    if (OpenForWriting(configPath)) return true;
    for (const std::string& picture : snapshot.PicturePaths)
        if (OpenForWriting(picture)) return true;
    return false;
}
