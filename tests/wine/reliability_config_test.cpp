// Bad configurations and bad pictures against the real plug-in, one host
// start per case (vorlamet_host --seconds 1): every case starts or refuses
// as the meter's rules say, the host neither crashes nor hangs, and the
// configuration file keeps every byte but the position keys.
// VORLAMET_CONFIG_MATRIX=full tries every bad value on every key; by default
// each key gets one bad value (a different kind for each key).
#include "shell/kit/screenshot/rules/png_writer.h"
#include "tests/wine/reliability_plugin.h"

#include <gtest/gtest.h>
#include <cstdio>
#include <string>
#include <vector>

namespace {

using namespace reliability;

enum Outcome { Starts, Refuses };

struct Case {
    std::string Name;
    std::string Ini;
    Outcome Expected;
    std::string CallLogLine = {}; // a line the shell library's call log must hold
};

struct Tally {
    int Cases = 0, Started = 0, Refused = 0, Wrong = 0, Crashes = 0, Hangs = 0, Rewritten = 0;
};

// The lines of a configuration without the position keys, which the
// plug-in may write back.
std::string WithoutPosition(const std::string& text) {
    std::string kept, line;
    for (size_t i = 0; i <= text.size(); ++i) {
        if (i < text.size() && text[i] != '\n') {
            line += text[i];
            continue;
        }
        if (line.rfind("X=", 0) != 0 && line.rfind("Y=", 0) != 0) kept += line + "\n";
        line.clear();
    }
    return kept;
}

struct Running {
    PROCESS_INFORMATION Process = {};
    std::string ConfigPath, LogPath, CallLogPath, Before;
    const Case* Source = nullptr;
};

bool Launch(const Case& c, Running* run) {
    run->Source = &c;
    run->ConfigPath = TempPath("badconfig", ".ini");
    run->LogPath = TempPath("badconfig", ".log");
    if (!WriteTextFile(run->ConfigPath, c.Ini)) return false;
    run->Before = ReadTextFile(run->ConfigPath);
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE log = CreateFileA(run->LogPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                             CREATE_ALWAYS, 0, nullptr);
    if (log == INVALID_HANDLE_VALUE) return false;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = log;
    startup.hStdError = log;
    std::string line = "vorlamet_host.exe --seconds 1 --config \"" + run->ConfigPath + "\"";
    // The host inherits the variable that makes tolvric.dll log its calls.
    if (!c.CallLogLine.empty()) {
        run->CallLogPath = TempPath("calls", ".log");
        SetEnvironmentVariableA("TOLVRIC_CALL_LOG", run->CallLogPath.c_str());
    }
    BOOL started = CreateProcessA(nullptr, &line[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                                  &startup, &run->Process);
    SetEnvironmentVariableA("TOLVRIC_CALL_LOG", nullptr);
    CloseHandle(log);
    return started != FALSE;
}

// Waits for the host (a generous bound: a start takes about a second), then
// judges its log and the configuration file.
void Finish(Running* run, Tally* tally) {
    const Case& c = *run->Source;
    ++tally->Cases;
    const bool ended = WaitForSingleObject(run->Process.hProcess, 60000) == WAIT_OBJECT_0;
    DWORD code = 0;
    if (!ended) {
        TerminateProcess(run->Process.hProcess, 1);
        WaitForSingleObject(run->Process.hProcess, 10000);
        ++tally->Hangs;
    } else {
        GetExitCodeProcess(run->Process.hProcess, &code);
    }
    CloseHandle(run->Process.hThread);
    CloseHandle(run->Process.hProcess);
    const std::string log = ReadTextFile(run->LogPath);
    EXPECT_TRUE(ended) << c.Name << ": the host hung\n" << log;
    if (!ended) return;
    const bool clean = code == 0 && log.find("DoneModule ") != std::string::npos;
    if (!clean) ++tally->Crashes;
    EXPECT_TRUE(clean) << c.Name << ": exit " << code << "\n" << log;

    // "InitGlobalModule <result> window <handle>: ...": a null handle is a refusal.
    const size_t at = log.find("InitGlobalModule ");
    const size_t w = log.find(" window ", at);
    bool window = false;
    if (at != std::string::npos && w != std::string::npos) {
        const std::string handle = log.substr(w + 8, log.find_first_of(":\r\n", w + 8) - (w + 8));
        window = handle.find_first_not_of("0x(nil)") != std::string::npos;
    }
    (window ? tally->Started : tally->Refused)++;
    const Outcome seen = window ? Starts : Refuses;
    if (seen != c.Expected) ++tally->Wrong;
    EXPECT_EQ(seen, c.Expected) << c.Name
                                << (c.Expected == Starts ? ": should start\n" : ": should refuse\n")
                                << log;

    const std::string after = ReadTextFile(run->ConfigPath);
    const bool kept = WithoutPosition(after) == WithoutPosition(run->Before);
    if (!kept) ++tally->Rewritten;
    EXPECT_TRUE(kept) << c.Name << ": the configuration changed beyond X and Y";
    if (!c.CallLogLine.empty()) {
        const std::string calls = ReadTextFile(run->CallLogPath);
        EXPECT_NE(calls.find(c.CallLogLine), std::string::npos)
            << c.Name << ": no \"" << c.CallLogLine << "\" in the call log\n"
            << calls;
        DeleteFileA(run->CallLogPath.c_str());
    }
    DeleteFileA(run->ConfigPath.c_str());
    DeleteFileA(run->LogPath.c_str());
}

// Two hosts at a time: each spends most of its second waiting.
Tally RunAll(const std::vector<Case>& cases) {
    Tally tally;
    const size_t parallel = 2;
    for (size_t first = 0; first < cases.size(); first += parallel) {
        Running runs[parallel];
        size_t launched = 0;
        for (size_t i = first; i < cases.size() && i < first + parallel; ++i, ++launched) {
            if (!Launch(cases[i], &runs[i - first])) {
                ADD_FAILURE() << cases[i].Name << ": the host did not start";
                runs[i - first].Source = nullptr;
            }
        }
        for (size_t i = 0; i < launched; ++i)
            if (runs[i].Source) Finish(&runs[i], &tally);
    }
    return tally;
}

void Print(const char* what, const Tally& t) {
    printf("%s: %d cases, %d started, %d refused, %d not as specified, %d crashes, %d hangs, "
           "%d configurations rewritten\n",
           what, t.Cases, t.Started, t.Refused, t.Wrong, t.Crashes, t.Hangs, t.Rewritten);
}

// The base configuration: the test skin, every key present.
std::string BaseIni(const char* background = "background.png") {
    return TestSkinConfig(background, "Z-Order=1\r\nLockMode=0\r\nMaxNetSpeed=0\r\n"
                                      "UseVXD=1\r\nTransparency=0\r\n");
}

// The configuration with one key's line replaced (or dropped when value is null).
std::string WithKey(const std::string& ini, const std::string& key, const char* value) {
    std::string out, line;
    bool replaced = false;
    for (size_t i = 0; i < ini.size(); ++i) {
        line += ini[i];
        if (ini[i] != '\n') continue;
        if (line.rfind(key + "=", 0) == 0) {
            if (value) out += key + "=" + value + "\r\n";
            replaced = true;
        } else {
            out += line;
        }
        line.clear();
    }
    if (!replaced && value) out += key + "=" + value + "\r\n";
    return out;
}

enum KeyType { IntKey, StringKey, TemplateKey, HexKey };
struct Key {
    std::string Name;
    KeyType Type;
};

std::vector<Key> AllKeys() {
    std::vector<Key> keys = {{"Z-Order", IntKey},
                             {"X", IntKey},
                             {"Y", IntKey},
                             {"LockMode", IntKey},
                             {"Skin", StringKey}};
    for (const char* p : {"CPU", "MEM", "NetIn", "NetOut"}) {
        std::string n = p;
        keys.push_back({n + "Skin", StringKey});
        keys.push_back({n + "FramesCount", IntKey});
        keys.push_back({n + "OffsetX", IntKey});
        keys.push_back({n + "OffsetY", IntKey});
        keys.push_back({n + "TextFormat", TemplateKey});
        keys.push_back({n + "TextdX", IntKey});
        keys.push_back({n + "TextdY", IntKey});
    }
    keys.push_back({"Font", StringKey});
    keys.push_back({"FontColor", HexKey});
    for (const char* k : {"Elapse", "MaxNetSpeed", "UseVXD", "Transparency"})
        keys.push_back({k, IntKey});
    return keys;
}

struct BadValue {
    const char* Name;
    std::string Text;
    bool Missing;
};

std::vector<BadValue> BadValues(KeyType type) {
    std::string overlong(5000, type == StringKey ? 'W' : '7');
    if (type == TemplateKey) {
        overlong.clear();
        while (overlong.size() < 5000)
            overlong += "ab%i%";
        overlong.resize(5000);
    }
    return {{"missing", "", true},
            {"empty", "", false},
            {"not a number", "twelve", false},
            {"negative", "-5", false},
            {"largest", "2147483647", false},
            {"smallest", "-2147483648", false},
            {"overlong", overlong, false}};
}

// Only a background that does not load, and a Z-Order outside 0-2, stop the start.
Outcome Expect(const Key& key, const BadValue& value) {
    if (key.Name == "Skin") return Refuses;
    if (key.Name == "Z-Order" && !value.Missing &&
        (value.Text == "-5" || value.Text == "2147483647" || value.Text == "-2147483648"))
        return Refuses;
    return Starts;
}

TEST(ReliabilityConfig, EveryKeyWithBadValues) {
    char mode[16] = {};
    GetEnvironmentVariableA("VORLAMET_CONFIG_MATRIX", mode, sizeof mode);
    const bool full = std::string(mode) == "full";
    std::vector<Case> cases;
    const std::vector<Key> keys = AllKeys();
    for (size_t k = 0; k < keys.size(); ++k) {
        const std::vector<BadValue> values = BadValues(keys[k].Type);
        for (size_t v = 0; v < values.size(); ++v) {
            if (!full && v != k % values.size()) continue;
            const BadValue& value = values[v];
            cases.push_back(
                {keys[k].Name + " " + value.Name,
                 WithKey(BaseIni(), keys[k].Name, value.Missing ? nullptr : value.Text.c_str()),
                 Expect(keys[k], value)});
        }
    }
    const Tally tally = RunAll(cases);
    Print(full ? "configuration matrix (full)" : "configuration matrix", tally);
}

// A picture file written by the test: its bytes, or a generated PNG.
std::string WritePicture(const char* stem, const std::string& bytes) {
    std::string path = TempPath(stem, ".png");
    WriteTextFile(path, bytes);
    return path;
}
std::string SolidPng(int width, int height, bool alpha) {
    std::vector<uint8_t> pixels(size_t(width) * height * 4, 0xC0);
    return EncodePng(pixels.data(), width, height, size_t(width) * 4, alpha);
}

TEST(ReliabilityConfig, CombinationsThatMatter) {
    const std::string strip10 = WritePicture("strip10", SolidPng(10, 12, true));
    const std::string masked = BaseIni("background_masked.png");
    const std::string base = BaseIni();
    std::vector<Case> cases = {
        {"Elapse 0", WithKey(base, "Elapse", "0"), Starts},
        {"Elapse -1", WithKey(base, "Elapse", "-1"), Starts},
        {"Z-Order 5", WithKey(base, "Z-Order", "5"), Refuses},
        {"LockMode 7", WithKey(base, "LockMode", "7"), Starts},
        {"LockMode 3 on the desktop", WithKey(WithKey(base, "LockMode", "3"), "Z-Order", "0"),
         Starts},
        {"Transparency 150", WithKey(base, "Transparency", "150"), Starts},
        {"Transparency -20", WithKey(base, "Transparency", "-20"), Starts},
        // The whole-window alpha is the low byte of (100 - T) * 255 / 100,
        // computed without overflow for any configured value.
        {"Transparency 70 painted", WithKey(masked, "Transparency", "70"), Starts,
         "SetLayered 0x000000 76 2"},
        {"Transparency 150 painted", WithKey(masked, "Transparency", "150"), Starts,
         "SetLayered 0x000000 129 2"},
        {"Transparency -20 painted", WithKey(masked, "Transparency", "-20"), Starts,
         "SetLayered 0x000000 50 2"},
        {"Transparency largest painted", WithKey(masked, "Transparency", "2147483647"), Starts,
         "SetLayered 0x000000 156 2"},
        {"Transparency smallest painted", WithKey(masked, "Transparency", "-2147483648"), Starts,
         "SetLayered 0x000000 101 2"},
        {"FramesCount 100000 on a 10-pixel strip",
         WithKey(WithKey(base, "CPUSkin", strip10.c_str()), "CPUFramesCount", "100000"), Starts},
        {"offsets far outside",
         WithKey(WithKey(WithKey(WithKey(base, "CPUOffsetX", "100000"), "CPUOffsetY", "-100000"),
                         "MEMOffsetX", "2147483647"),
                 "MEMOffsetY", "-2147483648"),
         Starts},
        {"text points far outside",
         WithKey(
             WithKey(WithKey(WithKey(base, "CPUTextdX", "2147483647"), "CPUTextdY", "-2147483648"),
                     "MEMTextdX", "-100000"),
             "MEMTextdY", "100000"),
         Starts},
        {"offsets far outside painted",
         WithKey(WithKey(masked, "CPUOffsetX", "-2147483648"), "CPUTextdX", "-2147483648"), Starts},
        {"font size 0", WithKey(base, "Font", "Tahoma,0"), Starts},
        {"font size 10000", WithKey(base, "Font", "Tahoma,10000,bold"), Starts},
        {"font without a face", WithKey(base, "Font", ",8"), Starts},
        {"font of a face that does not exist", WithKey(base, "Font", "No Such Face,12"), Starts},
        {"garbage colour", WithKey(base, "FontColor", "#zz!!"), Starts},
        {"colour of nine digits", WithKey(base, "FontColor", "0x123456789"), Starts},
        {"no section at all", "[Other]\r\nSkin=x.png\r\n", Refuses},
        {"empty file", "", Refuses},
        {"binary garbage", std::string("\x01\xff[Quilbex\x00\r\n==\n\n", 18), Refuses},
        {"section twice", base + "[Quilbex]\r\nZ-Order=5\r\n", Starts},
    };
    const Tally tally = RunAll(cases);
    Print("combinations", tally);
}

TEST(ReliabilityConfig, BadPictures) {
    std::string corrupt = SolidPng(40, 20, true);
    for (size_t i = 40; i < corrupt.size(); i += 7)
        corrupt[i] = char(corrupt[i] ^ 0x5A);
    struct Picture {
        const char* Name;
        std::string Path;
        bool Loads;
    };
    const std::vector<Picture> pictures = {
        {"missing", "Z:\\no\\such\\picture.png", false},
        {"zero bytes", TestDataPath("empty.png"), false},
        {"truncated", TestDataPath("truncated.png"), false},
        {"corrupt", WritePicture("corrupt", corrupt), false},
        {"text with a picture's name", TestDataPath("text.png"), false},
        {"a folder", TestDataPath(""), false},
        {"huge declared size", TestDataPath("huge.png"), false},
        {"1 x 1", WritePicture("one", SolidPng(1, 1, true)), true},
        {"1 x 1 without alpha", WritePicture("one24", SolidPng(1, 1, false)), true},
    };
    std::vector<Case> cases;
    for (const Picture& p : pictures) {
        // A background that does not load stops the start; a strip only hides its meter.
        cases.push_back({std::string("background ") + p.Name,
                         WithKey(BaseIni(), "Skin", p.Path.c_str()), p.Loads ? Starts : Refuses});
        cases.push_back({std::string("strip ") + p.Name,
                         WithKey(BaseIni(), "CPUSkin", p.Path.c_str()), Starts});
        cases.push_back({std::string("painted strip ") + p.Name,
                         WithKey(BaseIni("background_masked.png"), "MEMSkin", p.Path.c_str()),
                         Starts});
    }
    const std::string narrow = WritePicture("narrow", SolidPng(7, 12, false));
    cases.push_back(
        {"strip narrower than its frame count",
         WithKey(WithKey(BaseIni(), "NetInSkin", narrow.c_str()), "NetInFramesCount", "11"),
         Starts});
    const Tally tally = RunAll(cases);
    Print("pictures", tally);
}

} // namespace
