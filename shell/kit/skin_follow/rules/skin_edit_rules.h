// What counts as an edit of a running skin. The kit remembers the skin as the
// plug-in last started with it (its INI text and a stamp of each picture it
// names) and compares what the files hold now. Its own writes are no edit:
// the settings dialog's Apply restarts the plug-in itself (which takes a new
// snapshot), and the position the plug-in saves after a drag is where the
// meter already is. Platform-free: the host reads the files and the window.
#pragma once

#include <cstdint>
#include <string>

// The pictures a skin names: the background and one strip per indicator,
// each with the ones made for 150 % and 200 % beside it (name.png,
// name@1.5x.png, name@2x.png: PictureScales of skin_scale.h).
const int32_t SkinNamedPictures = 5;
const int32_t SkinPictureScales = 3;
const int32_t SkinPictureCount = SkinNamedPictures * SkinPictureScales;

// A file's content in brief: equal stamps mean, as far as a reload goes,
// an equal file.
struct FileStamp {
    bool Exists;
    uint64_t Size;
    uint64_t Hash; // 64-bit FNV-1a of the content
};

struct SkinSnapshot {
    bool IniExists;
    std::string IniText;
    // Full paths, empty when not named; picture i made for scale k at i * 3 + k.
    std::string PicturePaths[SkinPictureCount];
    FileStamp Pictures[SkinPictureCount];
};

// The section of the meter's keys and the two that say where it is.
struct SkinEditKeys {
    const char* Section;
    const char* X;
    const char* Y;
};

// Where the meter is, in the numbers the plug-in saves (Known false when no
// meter window runs).
struct MeterPlace {
    bool Known;
    int32_t X;
    int32_t Y;
};

enum class SkinEdit {
    Unchanged, // the files hold what the plug-in runs with
    OwnPlace,  // only the position changed, to where the meter is: its own save
    Edited,    // anything else: a reload shows it
};

SkinEdit JudgeSkinEdit(const SkinSnapshot& running, const SkinSnapshot& now,
                       const SkinEditKeys& keys, MeterPlace place);

// The stamp of a content, for FileStamp.
uint64_t ContentHash(const char* data, size_t length, uint64_t hash = 14695981039346656037ull);

// File names as the system compares them (ASCII letters in any case).
bool SameFileName(const std::string& a, const std::string& b);
