// Change notices for a few files: each file's folder is watched for names,
// sizes and writes (ReadDirectoryChangesW), and a notice counts only when it
// names one of the files, so other files in the folder cost nothing. A file
// in a folder that does not exist yet is watched from the nearest folder
// above it that does, with its whole subtree. The events are waited on in
// the host's message loop; nothing runs while nothing changes.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

// Folders watched at most: a configuration file and its five pictures.
const int32_t MaxWatchedFolders = 6;

// Watches the files at the full paths given (empty ones are skipped). Keeps
// the watches it has when they already serve the same files. Answers the
// number of folders watched (a folder that cannot be watched, as on some
// network drives, is left out and tried again by the next call).
int32_t WatchFiles(const std::string* paths, int32_t count);
void StopWatchingFiles();

// The watches' events, for the message loop to wait on; answers how many.
int32_t FolderWatchEvents(HANDLE* events, int32_t room);

// Reads the notice behind events[index] (signalled) and watches on. True
// when it names a watched file, or may: the folder's notices overflowed, or
// the folder went away (the next WatchFiles then watches anew).
bool FolderWatchNotice(int32_t index);
