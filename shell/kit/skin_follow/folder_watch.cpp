#include "shell/kit/skin_follow/folder_watch.h"

#include "shell/kit/skin_follow/rules/skin_edit_rules.h"
#include "shell/skin_files/rules/setting_forms.h"
#include "win32/scoped_handle.h"

namespace {

const DWORD NoticeFilter = FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME |
                           FILE_NOTIFY_CHANGE_SIZE | FILE_NOTIFY_CHANGE_LAST_WRITE |
                           FILE_NOTIFY_CHANGE_CREATION;

struct FolderWatch {
    std::string Path;                     // the folder
    bool Subtree;                         // watched from above: every notice counts
    std::string Names[MaxWatchedFolders]; // the watched files in it
    int32_t NameCount;
    ScopedKernelObject Folder;
    ScopedKernelObject Event; // in Overlapped; signalled when a notice arrived
    OVERLAPPED Overlapped;
    bool Pending;       // a read is under way
    bool Lost;          // the folder cannot be watched any more
    DWORD Buffer[2048]; // FILE_NOTIFY_INFORMATION records, DWORD-aligned
};

FolderWatch Watches[MaxWatchedFolders];
int32_t WatchCount;
// The paths the watches serve, to keep them when asked for the same again.
std::string Served[MaxWatchedFolders];
int32_t ServedCount;

bool FolderExists(const std::string& path) {
    DWORD a = GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

bool Arm(FolderWatch* w) {
    w->Pending = ReadDirectoryChangesW(w->Folder.handle, w->Buffer, sizeof w->Buffer, w->Subtree,
                                       NoticeFilter, nullptr, &w->Overlapped, nullptr) != FALSE;
    w->Lost = !w->Pending;
    return w->Pending;
}

// Ends the read under way (the buffer must outlive it), then closes.
void Close(FolderWatch* w) {
    if (w->Pending) {
        CancelIo(w->Folder.handle);
        DWORD bytes = 0;
        GetOverlappedResult(w->Folder.handle, &w->Overlapped, &bytes, TRUE);
        w->Pending = false;
    }
    w->Folder.Reset();
    w->Event.Reset();
    w->NameCount = 0;
    w->Path.clear();
}

bool Open(FolderWatch* w) {
    w->Folder.Reset(KernelHandle(
        CreateFileA(w->Path.c_str(), FILE_LIST_DIRECTORY,
                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                    FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OVERLAPPED, nullptr)));
    w->Event.Reset(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    if (!w->Folder.handle || !w->Event.handle) return false;
    ZeroMemory(&w->Overlapped, sizeof w->Overlapped);
    w->Overlapped.hEvent = w->Event.handle;
    return Arm(w);
}

// The folder to watch for a file, and whether from above.
std::string WatchedFolderOf(const std::string& file, bool* subtree) {
    std::string folder = FolderOf(file);
    *subtree = false;
    while (folder != "." && !FolderExists(folder)) {
        const std::string above = FolderOf(folder);
        if (above == folder) return std::string();
        *subtree = true;
        folder = above;
    }
    return folder == "." ? std::string() : folder;
}

void AddFile(const std::string& file) {
    bool subtree = false;
    const std::string folder = WatchedFolderOf(file, &subtree);
    if (folder.empty()) return;
    FolderWatch* w = nullptr;
    for (int32_t i = 0; i < WatchCount && !w; ++i)
        if (SameFileName(Watches[i].Path, folder)) w = &Watches[i];
    if (!w) {
        if (WatchCount >= MaxWatchedFolders) return;
        w = &Watches[WatchCount++];
        w->Path = folder;
        w->Subtree = subtree;
        w->NameCount = 0;
    }
    w->Subtree = w->Subtree || subtree;
    if (w->NameCount < MaxWatchedFolders) w->Names[w->NameCount++] = FileNameOf(file);
}

bool NamesWatchedFile(const FolderWatch& w, const FILE_NOTIFY_INFORMATION* notice) {
    if (w.Subtree) return true;
    char name[MAX_PATH];
    int n = WideCharToMultiByte(CP_ACP, 0, notice->FileName,
                                int(notice->FileNameLength / sizeof(WCHAR)), name, sizeof name - 1,
                                nullptr, nullptr);
    if (n <= 0) return true; // a name we cannot read might be ours
    const std::string changed(name, size_t(n));
    for (int32_t i = 0; i < w.NameCount; ++i)
        if (SameFileName(changed, w.Names[i])) return true;
    return false;
}

bool SameServed(const std::string* paths, int32_t count) {
    if (count != ServedCount) return false;
    for (int32_t i = 0; i < count; ++i)
        if (!SameFileName(paths[i], Served[i])) return false;
    for (int32_t i = 0; i < WatchCount; ++i)
        if (Watches[i].Lost) return false;
    return true;
}

} // namespace

int32_t WatchFiles(const std::string* paths, int32_t count) {
    std::string wanted[MaxWatchedFolders];
    int32_t n = 0;
    for (int32_t i = 0; i < count && n < MaxWatchedFolders; ++i)
        if (!paths[i].empty()) wanted[n++] = paths[i];
    if (WatchCount > 0 && SameServed(wanted, n)) return WatchCount; // none lost
    StopWatchingFiles();
    for (int32_t i = 0; i < n; ++i)
        Served[i] = wanted[i];
    ServedCount = n;
    for (int32_t i = 0; i < n; ++i)
        AddFile(wanted[i]);
    int32_t watching = 0;
    for (int32_t i = 0; i < WatchCount; ++i) {
        if (Open(&Watches[i]))
            ++watching;
        else
            Watches[i].Lost = true;
    }
    return watching;
}

void StopWatchingFiles() {
    for (int32_t i = 0; i < WatchCount; ++i)
        Close(&Watches[i]);
    WatchCount = 0;
    ServedCount = 0;
}

int32_t FolderWatchEvents(HANDLE* events, int32_t room) {
    int32_t n = 0;
    for (int32_t i = 0; i < WatchCount && n < room; ++i)
        if (Watches[i].Pending) events[n++] = Watches[i].Event.handle;
    return n;
}

bool FolderWatchNotice(int32_t index) {
    // The index counts the watches with a read under way, as the events do.
    FolderWatch* w = nullptr;
    for (int32_t i = 0, seen = 0; i < WatchCount && !w; ++i)
        if (Watches[i].Pending && seen++ == index) w = &Watches[i];
    if (!w) return false;
    DWORD bytes = 0;
    const bool read = GetOverlappedResult(w->Folder.handle, &w->Overlapped, &bytes, FALSE) != 0;
    w->Pending = false;
    bool ours = !read || bytes == 0; // gone, or more notices than the buffer held
    for (DWORD at = 0; read && !ours && at + sizeof(FILE_NOTIFY_INFORMATION) <= bytes;) {
        const FILE_NOTIFY_INFORMATION* notice = reinterpret_cast<const FILE_NOTIFY_INFORMATION*>(
            reinterpret_cast<const BYTE*>(w->Buffer) + at);
        ours = NamesWatchedFile(*w, notice);
        if (!notice->NextEntryOffset) break;
        at += notice->NextEntryOffset;
    }
    if (!read || !Arm(w)) w->Lost = true;
    return ours || w->Lost;
}
