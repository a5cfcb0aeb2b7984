// The service library's configuration, font, layered-window and string
// exports, called through the real tolvric.dll.
#include "host/host_library.h"
#include "tests/wine/wine_test_support.h"

#include <gtest/gtest.h>
#include <cstring>
#include <string>

namespace {

// The call log is read once per process, at the first call into the library,
// so it is switched on before any test runs.
const std::string CallLogPath = [] {
    std::string path = TempPath("tolvric_calls", ".log");
    SetEnvironmentVariableA("TOLVRIC_CALL_LOG", path.c_str());
    return path;
}();

const char* const SampleIni = "; kept comment\r\n"
                              "[Other]\r\n"
                              "X=999\r\n"
                              "[Quilbex]\r\n"
                              "X = 40\r\n"
                              "Skin=back ground.png\r\n"
                              "FontColor=0x00FF80\r\n"
                              "MaskColor=$ff\r\n"
                              "Elapse=fast\r\n"
                              "Negative=-12\r\n"
                              "Flag=yes\r\n"
                              "Font=Arial,10,bold,italic\r\n"
                              "Text=\" %i MB \"\r\n";

// Reads one integer in a fresh read session, as a restarted host would.
int ReadInt(const std::string& path, const char* key, int def) {
    ConfigCursor cursor;
    OpenCFGr(const_cast<char*>(path.c_str()), &cursor);
    FindSection("Quilbex", 0, &cursor);
    int value = GetCFGInt(key, def, &cursor);
    CloseCFGr(&cursor);
    return value;
}

TEST(TolvricConfig, ReadsEveryTypeAndDefaults) {
    std::string path = TempPath("config_read", ".ini");
    ASSERT_TRUE(WriteTextFile(path, SampleIni));
    ConfigCursor cursor;
    ASSERT_TRUE(OpenCFGr(const_cast<char*>(path.c_str()), &cursor));
    EXPECT_TRUE(FindSection("Quilbex", 0, &cursor));
    EXPECT_EQ(GetCFGInt("X", 0, &cursor), 40);
    EXPECT_EQ(GetCFGInt("Negative", 0, &cursor), -12);
    EXPECT_EQ(GetCFGInt("Elapse", 800, &cursor), 800); // bad value: the default
    EXPECT_EQ(GetCFGInt("Missing", 7, &cursor), 7);
    EXPECT_EQ(GetCFGHex("FontColor", 1, &cursor), 0x00FF80u);
    EXPECT_EQ(GetCFGHex("MaskColor", 1, &cursor), 0xFFu);
    EXPECT_EQ(GetCFGHex("Skin", 5, &cursor), 5u);
    EXPECT_EQ(GetCFGBool("Flag", 0, &cursor), 1);
    EXPECT_EQ(GetCFGBool("X", 1, &cursor), 1); // 40 is no boolean: the default
    char text[260];
    EXPECT_EQ(GetCFGString("Skin", "", text, sizeof(text), &cursor), 15);
    EXPECT_STREQ(text, "back ground.png");
    GetCFGString("Text", "", text, sizeof(text), &cursor);
    EXPECT_STREQ(text, " %i MB ");
    GetCFGString("Missing", "fallback", text, sizeof(text), &cursor);
    EXPECT_STREQ(text, "fallback");
    GetCFGString("Missing", nullptr, text, sizeof(text), &cursor);
    EXPECT_STREQ(text, "");
    FontInfo font;
    std::memset(&font, 0x55, sizeof(font));
    GetCFGFont("Font", &font, &cursor);
    EXPECT_STREQ(font.Face, "Arial");
    EXPECT_EQ(font.Size, 10);
    EXPECT_EQ(font.Weight, FW_BOLD);
    EXPECT_NE(font.Italic, 0);
    EXPECT_EQ(font.Handle, nullptr);
    GetCFGFont("NoFont", &font, &cursor);
    EXPECT_STREQ(font.Face, "Tahoma");
    EXPECT_EQ(font.Size, 8);
    EXPECT_EQ(font.Weight, FW_NORMAL);
    EXPECT_TRUE(CloseCFGr(&cursor));
    // A closed cursor reads as defaults and is not closed twice.
    EXPECT_EQ(GetCFGInt("X", 3, &cursor), 3);
    EXPECT_FALSE(CloseCFGr(&cursor));
}

TEST(TolvricConfig, MissingFileSectionOrCursorReadsAsDefaults) {
    const std::string missing = TempPath("config_missing", ".ini");
    std::string other = TempPath("config_other", ".ini");
    ASSERT_TRUE(WriteTextFile(other, "[Elsewhere]\nX=5\n"));
    const char* handles[] = {missing.c_str(), other.c_str(), nullptr, ""};
    for (const char* handle : handles) {
        ConfigCursor cursor;
        OpenCFGr(const_cast<char*>(handle), &cursor);
        EXPECT_FALSE(FindSection("Quilbex", 0, &cursor));
        EXPECT_EQ(GetCFGInt("X", 11, &cursor), 11);
        char text[8] = "x";
        GetCFGString("Skin", "d", text, sizeof(text), &cursor);
        EXPECT_STREQ(text, "d");
        CloseCFGr(&cursor);
    }
    ConfigCursor never;
    std::memset(&never, 0, sizeof(never));
    EXPECT_EQ(GetCFGInt("X", 4, &never), 4);
    EXPECT_EQ(GetCFGInt("X", 4, nullptr), 4);
    std::memset(&never, 0xCD, sizeof(never));
    EXPECT_EQ(GetCFGHex("X", 4, &never), 4u);
}

TEST(TolvricConfig, StringsNeverPassTheBufferSize) {
    std::string path = TempPath("config_long", ".ini");
    std::string value(1000, 'v');
    ASSERT_TRUE(WriteTextFile(path, "[Quilbex]\nLong=" + value + "\n"));
    ConfigCursor cursor;
    OpenCFGr(const_cast<char*>(path.c_str()), &cursor);
    FindSection("Quilbex", 0, &cursor);
    for (int size : {-1, 0, 1, 2, 5, 260}) {
        SCOPED_TRACE(size);
        char buffer[300];
        std::memset(buffer, '#', sizeof(buffer));
        int copied = GetCFGString("Long", "", buffer, size, &cursor);
        if (size <= 0) {
            EXPECT_EQ(copied, 0);
            EXPECT_EQ(buffer[0], '#');
            continue;
        }
        EXPECT_EQ(copied, size - 1);
        EXPECT_EQ(std::strlen(buffer), size_t(size - 1));
        EXPECT_EQ(buffer[size], '#');
        // A long default is cut the same way.
        std::memset(buffer, '#', sizeof(buffer));
        GetCFGString("Missing", value.c_str(), buffer, size, &cursor);
        EXPECT_EQ(std::strlen(buffer), size_t(size - 1));
        EXPECT_EQ(buffer[size], '#');
    }
    CloseCFGr(&cursor);
}

TEST(TolvricConfig, WritesSurviveAFreshOpenAndKeepTheRestOfTheFile) {
    std::string path = TempPath("config_write", ".ini");
    ASSERT_TRUE(WriteTextFile(path, SampleIni));
    ConfigCursor cursor;
    OpenCFGw(const_cast<char*>(path.c_str()), &cursor);
    FindSection("Quilbex", 1, &cursor);
    EXPECT_TRUE(SetCFGInt("X", 120, &cursor));
    EXPECT_TRUE(SetCFGInt("Y", -35, &cursor));
    // Nothing reaches the file before the write is closed.
    EXPECT_EQ(ReadInt(path, "X", 0), 40);
    EXPECT_TRUE(CloseCFGw(const_cast<char*>(path.c_str()), 0, &cursor));
    EXPECT_EQ(ReadInt(path, "X", 0), 120);
    EXPECT_EQ(ReadInt(path, "Y", 0), -35);
    std::string text = ReadTextFile(path);
    EXPECT_NE(text.find("; kept comment\r\n[Other]\r\nX=999\r\n"), std::string::npos);
    EXPECT_NE(text.find("Font=Arial,10,bold,italic\r\n"), std::string::npos);
    EXPECT_NE(text.find("Text=\" %i MB \"\r\n"), std::string::npos);
    EXPECT_NE(text.find("Y=-35\r\n"), std::string::npos);
    EXPECT_EQ(GetFileAttributesA((path + ".new").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST(TolvricConfig, AWriteCreatesAMissingFile) {
    std::string path = TempPath("config_new", ".ini");
    ConfigCursor cursor;
    OpenCFGw(const_cast<char*>(path.c_str()), &cursor);
    FindSection("Quilbex", 1, &cursor);
    SetCFGInt("X", 7, &cursor);
    EXPECT_TRUE(CloseCFGw(const_cast<char*>(path.c_str()), 0, &cursor));
    EXPECT_EQ(ReadTextFile(path), "[Quilbex]\r\nX=7\r\n");
    // A read session cannot set values.
    OpenCFGr(const_cast<char*>(path.c_str()), &cursor);
    FindSection("Quilbex", 0, &cursor);
    EXPECT_FALSE(SetCFGInt("X", 9, &cursor));
    CloseCFGr(&cursor);
    EXPECT_EQ(ReadInt(path, "X", 0), 7);
}

TEST(TolvricConfig, CallLogRecordsCallsInOrder) {
    std::string path = TempPath("config_log", ".ini");
    ASSERT_TRUE(WriteTextFile(path, SampleIni));
    size_t before = ReadTextFile(CallLogPath).size();
    ConfigCursor cursor;
    char text[260];
    OpenCFGr(const_cast<char*>(path.c_str()), &cursor);
    FindSection("Quilbex", 0, &cursor);
    GetCFGInt("Z-Order", 1, &cursor);
    GetCFGString("Skin", "", text, 260, &cursor);
    GetCFGHex("FontColor", 0xFFFFFF, &cursor);
    CloseCFGr(&cursor);
    OpenCFGw(const_cast<char*>(path.c_str()), &cursor);
    FindSection("Quilbex", 1, &cursor);
    SetCFGInt("X", 120, &cursor);
    CloseCFGw(const_cast<char*>(path.c_str()), 0, &cursor);
    EXPECT_EQ(ReadTextFile(CallLogPath).substr(before), "OpenCFGr\n"
                                                        "FindSection Quilbex 0\n"
                                                        "GetCFGInt Z-Order 1\n"
                                                        "GetCFGString Skin \"\" 260\n"
                                                        "GetCFGHex FontColor 0xFFFFFF\n"
                                                        "CloseCFGr\n"
                                                        "OpenCFGw\n"
                                                        "FindSection Quilbex 1\n"
                                                        "SetCFGInt X 120\n"
                                                        "CloseCFGw\n");
}

TEST(TolvricFonts, HandleMadeFromTheRecordAndFreed) {
    FontInfo font = {};
    std::strcpy(font.Face, "Tahoma");
    font.Size = 24; // the plug-in triples 8 points
    font.Weight = FW_BOLD;
    HFONT fallback = static_cast<HFONT>(GetStockObject(ANSI_VAR_FONT));
    EXPECT_TRUE(GetFontHandle(&font, fallback));
    ASSERT_NE(font.Handle, nullptr);
    EXPECT_NE(font.Handle, fallback);
    LOGFONTA description;
    ASSERT_TRUE(GetObjectA(font.Handle, sizeof(description), &description));
    EXPECT_EQ(description.lfHeight, -32); // 24 points at 96 dots per inch
    EXPECT_EQ(description.lfWeight, FW_BOLD);
    EXPECT_STREQ(description.lfFaceName, "Tahoma");
    HFONT made = font.Handle;
    EXPECT_TRUE(FreeFont(&font));
    EXPECT_EQ(font.Handle, nullptr);
    EXPECT_EQ(GetObjectType(made), 0u);
}

TEST(TolvricFonts, UnusableRecordsGetTheFallbackWhichIsNeverDeleted) {
    HFONT fallback = static_cast<HFONT>(GetStockObject(ANSI_VAR_FONT));
    FontInfo cases[3] = {};
    std::strcpy(cases[0].Face, ""); // no face
    cases[0].Size = 8;
    std::strcpy(cases[1].Face, "Tahoma"); // no size
    std::strcpy(cases[2].Face, "Tahoma"); // absurd size
    cases[2].Size = 100000;
    for (FontInfo& font : cases) {
        EXPECT_FALSE(GetFontHandle(&font, fallback));
        EXPECT_EQ(font.Handle, fallback);
        FreeFont(&font);
        EXPECT_EQ(font.Handle, nullptr);
        EXPECT_EQ(GetObjectType(fallback), DWORD(OBJ_FONT));
    }
    EXPECT_FALSE(GetFontHandle(nullptr, fallback));
    EXPECT_FALSE(FreeFont(nullptr));
}

TEST(TolvricLayered, StyleFollowsTheSwitchAndTheSystem) {
    EXPECT_EQ(LayeredStyle(nullptr, 1), DWORD(WS_EX_LAYERED));
    EXPECT_EQ(LayeredStyle(nullptr, 0xFF), DWORD(WS_EX_LAYERED));
    EXPECT_EQ(LayeredStyle(nullptr, 0), 0u);
    EXPECT_EQ(LayeredStyle(nullptr, 0x100), 0u); // only the low byte counts
    SetEnvironmentVariableA("TOLVRIC_NO_LAYERED", "1");
    EXPECT_EQ(LayeredStyle(nullptr, 1), 0u);
    SetEnvironmentVariableA("TOLVRIC_NO_LAYERED", nullptr);
    EXPECT_EQ(LayeredStyle(nullptr, 1), DWORD(WS_EX_LAYERED));
}

TEST(TolvricLayered, SetLayeredGivesTheWindowItsAlpha) {
    HWND window = CreateWindowExA(0, "STATIC", "layered", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr,
                                  nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(SetLayered(window, 0, 0x1C0, LWA_ALPHA)); // alpha is the low byte: 0xC0
    EXPECT_TRUE(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_LAYERED);
    BYTE alpha = 0;
    DWORD flags = 0;
    COLORREF key = 0;
    ASSERT_TRUE(GetLayeredWindowAttributes(window, &key, &alpha, &flags));
    EXPECT_EQ(alpha, 0xC0);
    EXPECT_TRUE(flags & LWA_ALPHA);
    DestroyWindow(window);
    EXPECT_FALSE(SetLayered(nullptr, 0, 128, LWA_ALPHA));
}

TEST(TolvricStrings, EmptinessCopyAndMemory) {
    EXPECT_TRUE(IsPSTREmpty(nullptr));
    EXPECT_TRUE(IsPSTREmpty(""));
    EXPECT_FALSE(IsPSTREmpty(" "));
    EXPECT_FALSE(IsPSTREmpty("x"));
    char buffer[8];
    std::memset(buffer, '#', sizeof(buffer));
    EXPECT_EQ(strcopy(buffer, "abc"), buffer);
    EXPECT_EQ(std::memcmp(buffer, "abc\0#", 5), 0);
    HMODULE library = GetModuleHandleA("tolvric.dll");
    ASSERT_NE(library, nullptr);
    typedef void*(__stdcall * AllocProc)(size_t);
    typedef void(__stdcall * FreeProc)(void*);
    auto allocate =
        reinterpret_cast<AllocProc>(reinterpret_cast<void*>(GetProcAddress(library, "malloc")));
    auto release =
        reinterpret_cast<FreeProc>(reinterpret_cast<void*>(GetProcAddress(library, "free")));
    ASSERT_TRUE(allocate && release);
    char* block = static_cast<char*>(allocate(64));
    ASSERT_NE(block, nullptr);
    std::memset(block, 1, 64);
    release(block);
    release(nullptr);
}

} // namespace
