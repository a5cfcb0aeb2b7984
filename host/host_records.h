// Records and messages exchanged with the shell. Their byte layouts are fixed
// by the shell; every field the plug-in touches sits at a pinned offset.
#pragma once

#include <windows.h>
#include <cstddef>
#include <cstdint>

// The shell's own record for this plug-in. Only three fields are ours to touch;
// the rest belongs to the shell and is never read or written.
struct PluginShellRecord {
    uint32_t PluginFlags; // bit 0x10000 set at start for "Always on top"
    uint8_t Unused4[156];
    const char* PropertiesName; // sent behind "/" by the Properties command
    uint8_t Unused164[48];
    HWND PluginWnd; // the plug-in window, stored once at start
};
static_assert(offsetof(PluginShellRecord, PluginFlags) == 0, "PluginFlags at 0");
static_assert(offsetof(PluginShellRecord, PropertiesName) == 160, "PropertiesName at 160");
static_assert(offsetof(PluginShellRecord, PluginWnd) == 212, "PluginWnd at 212");

const uint32_t PluginFlagAlwaysOnTop = 0x10000;

// Named ...Record so that the module's copy can be called HostContext.
struct HostContextRecord {
    uint32_t Unused0;
    PluginShellRecord* PluginRecord;
    uint32_t Unused8;
    OSVERSIONINFOA* OsVersion; // only dwPlatformId is read
    uint32_t Unused16;
    uint32_t Unused20;
    HANDLE ConfigHandle; // the plug-in's configuration store
    HWND ShellWindow;    // receives the four host messages
    HWND DesktopParent;  // parent of a Desktop (z-order 0) window
    uint32_t Unused36[11];
    uint32_t SkinOption1; // argument 6 of DrawSkin
    uint32_t SkinOption2; // zero adds DrawSkin flag 2
    uint32_t SkinOption3; // nonzero adds DrawSkin flag 1
    uint32_t SkinOption4; // argument 7 of DrawSkin
    uint32_t Unused96[4];
};
static_assert(sizeof(HostContextRecord) == 112, "HostContext is 112 bytes");
static_assert(offsetof(HostContextRecord, PluginRecord) == 4, "PluginRecord at 4");
static_assert(offsetof(HostContextRecord, OsVersion) == 12, "OsVersion at 12");
static_assert(offsetof(HostContextRecord, ConfigHandle) == 24, "ConfigHandle at 24");
static_assert(offsetof(HostContextRecord, ShellWindow) == 28, "ShellWindow at 28");
static_assert(offsetof(HostContextRecord, DesktopParent) == 32, "DesktopParent at 32");
static_assert(offsetof(HostContextRecord, SkinOption1) == 80, "SkinOption1 at 80");
static_assert(offsetof(HostContextRecord, SkinOption2) == 84, "SkinOption2 at 84");
static_assert(offsetof(HostContextRecord, SkinOption3) == 88, "SkinOption3 at 88");
static_assert(offsetof(HostContextRecord, SkinOption4) == 92, "SkinOption4 at 92");

// One picture loaded by the shell's LoadImageEx.
const int32_t ImageKindAlpha = 8;   // 32-bit, per-pixel alpha, premultiplied Bits
const int32_t ImageKindFailed = -1; // loading failed
const int32_t ImageKindMasked = 1;  // our loader's kind for a picture with a mask bitmap

struct ImageInfo {
    int32_t Kind;
    HBITMAP ColorBitmap;
    HBITMAP MaskBitmap; // white marks a transparent pixel; 0 for Kind 8
    int32_t Width;
    int32_t Height;
    uint32_t Loader20;
    uint32_t Loader24;
    const char* Path; // filled by the caller
    uint32_t Loader32;
    uint32_t Loader36;
    int32_t LoadFlags;   // ImageLoadBackground or ImageLoadMeterStrip
    int32_t KeepBitmaps; // nonzero: releasing deletes nothing
    void* Bits;          // BGRA, bottom-up, premultiplied (Kind 8 only)
};
// LoadFlags: the background skin (which gives the window its shape) and a meter strip.
const int32_t ImageLoadBackground = 2;
const int32_t ImageLoadMeterStrip = 0;
static_assert(sizeof(ImageInfo) == 52, "ImageInfo is 52 bytes");
static_assert(offsetof(ImageInfo, Kind) == 0, "Kind at 0");
static_assert(offsetof(ImageInfo, ColorBitmap) == 4, "ColorBitmap at 4");
static_assert(offsetof(ImageInfo, MaskBitmap) == 8, "MaskBitmap at 8");
static_assert(offsetof(ImageInfo, Width) == 12, "Width at 12");
static_assert(offsetof(ImageInfo, Height) == 16, "Height at 16");
static_assert(offsetof(ImageInfo, Path) == 28, "Path at 28");
static_assert(offsetof(ImageInfo, LoadFlags) == 40, "LoadFlags at 40");
static_assert(offsetof(ImageInfo, KeepBitmaps) == 44, "KeepBitmaps at 44");
static_assert(offsetof(ImageInfo, Bits) == 48, "Bits at 48");

// One font. The plug-in touches Size and Handle; the other bytes belong to the
// service library (GetCFGFont fills them, GetFontHandle reads them).
struct FontInfo {
    char Face[32];    // face name, zero-terminated
    int32_t Size;     // in points (tripled by the plug-in)
    int32_t Weight;   // FW_NORMAL, FW_BOLD, ...
    int32_t Italic;   // nonzero for italic
    int32_t Reserved; // zero
    HFONT Handle;     // made by GetFontHandle, released by FreeFont
    uint32_t Reserved52;
};
static_assert(sizeof(FontInfo) == 56, "FontInfo is 56 bytes");
static_assert(offsetof(FontInfo, Size) == 32, "Size at 32");
static_assert(offsetof(FontInfo, Handle) == 48, "Handle at 48");

// One configuration read or write; its contents belong to the service library.
struct ConfigCursor {
    uint32_t Words[9];
};
static_assert(sizeof(ConfigCursor) == 36, "ConfigCursor is 36 bytes");

// Messages from the plug-in to HostContext.ShellWindow.
const UINT HostMsgMenuEnter = 0x7FE2;
const UINT HostMsgMenuLeave = 0x7FE1;
const UINT HostMsgShowProperties = 0x7FD9;
const UINT HostMsgQueryFullScreen = 0x7FBE;

// GWL_USERDATA of the plug-in window: the bytes "UDRA", first in the lowest byte.
const LONG PluginWindowMagic = 'U' | ('D' << 8) | ('R' << 16) | ('A' << 24);
static_assert(PluginWindowMagic == 0x41524455, "UDRA in memory order");
