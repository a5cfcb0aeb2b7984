// The configuration exports. The configuration handle is a pointer to the
// zero-terminated path of an INI file (owned by the host); the plug-in's keys
// live in the section that FindSection names. A read or write is a session in
// one of a few static slots; the 36-byte cursor names the slot (see
// CursorMagic below), so a stale or never-opened cursor is recognised and
// reads as defaults instead of touching freed memory.
//
// A missing or unreadable file reads as empty: every getter answers its
// default. SetCFGInt edits the text in memory; CloseCFGw writes it back (to a
// temporary file beside the original, then moved over it), keeping every
// other key, section and comment of the file.
#include "host/host_library.h"
#include "shell/skin_files/config_file.h"
#include "shell/skin_files/rules/ini_text.h"
#include "shell/skin_files/rules/ini_values.h"
#include "shell/tolvric/call_log.h"
#include "shell/tolvric/scale_view.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace {

const uint32_t CursorMagic = 0x47464351; // "QCFG"

struct ConfigSession {
    bool InUse;
    bool Writing;
    bool Changed;
    uint32_t Generation;
    char Path[MAX_PATH]; // empty: no file behind the session
    char Section[128];
    std::string Text;
};

// Cursor words: magic, slot, generation of the slot when opened.
ConfigSession Sessions[16];

int OpenSession(HANDLE config, ConfigCursor* cursor, bool writing) {
    if (!cursor) return 0;
    std::memset(cursor, 0, sizeof(*cursor));
    for (uint32_t slot = 0; slot < sizeof(Sessions) / sizeof(Sessions[0]); ++slot) {
        ConfigSession& session = Sessions[slot];
        if (session.InUse) continue;
        session.InUse = true;
        session.Writing = writing;
        session.Changed = false;
        ++session.Generation;
        session.Section[0] = 0;
        session.Path[0] = 0;
        const char* path = static_cast<const char*>(config);
        if (path && std::strlen(path) < sizeof(session.Path)) {
            std::strcpy(session.Path, path);
            ReadConfigFile(path, &session.Text);
        } else {
            session.Text.clear();
        }
        cursor->Words[0] = CursorMagic;
        cursor->Words[1] = slot;
        cursor->Words[2] = session.Generation;
        return 1;
    }
    return 0;
}

ConfigSession* SessionOf(const ConfigCursor* cursor) {
    if (!cursor || cursor->Words[0] != CursorMagic) return nullptr;
    uint32_t slot = cursor->Words[1];
    if (slot >= sizeof(Sessions) / sizeof(Sessions[0])) return nullptr;
    ConfigSession& session = Sessions[slot];
    if (!session.InUse || session.Generation != cursor->Words[2]) return nullptr;
    return &session;
}

void CloseSession(ConfigSession* session, ConfigCursor* cursor) {
    session->InUse = false;
    session->Text.clear();
    session->Text.shrink_to_fit();
    std::memset(cursor, 0, sizeof(*cursor));
}

bool Lookup(const char* key, ConfigCursor* cursor, IniValue* value) {
    ConfigSession* session = SessionOf(cursor);
    if (!session || !key || !session->Section[0]) return false;
    return FindIniValue(session->Text.data(), session->Text.size(), session->Section, key, value);
}

} // namespace

extern "C" {

int __stdcall OpenCFGr(HANDLE config, ConfigCursor* cursor) {
    CallLog("OpenCFGr");
    return OpenSession(config, cursor, false);
}

int __stdcall OpenCFGw(HANDLE config, ConfigCursor* cursor) {
    CallLog("OpenCFGw");
    return OpenSession(config, cursor, true);
}

// Mode 0 reads, 1 writes. Answers nonzero when the section exists in the file
// (a write creates a missing section at CloseCFGw, so it always answers 1).
int __stdcall FindSection(const char* name, int mode, ConfigCursor* cursor) {
    CallLog("FindSection %s %d", LogText(name), mode);
    ConfigSession* session = SessionOf(cursor);
    if (!session || !name || std::strlen(name) >= sizeof(session->Section)) return 0;
    std::strcpy(session->Section, name);
    if (session->Writing) return 1;
    return HasIniSection(session->Text.data(), session->Text.size(), name) ? 1 : 0;
}

int __stdcall GetCFGInt(const char* key, int def, ConfigCursor* cursor) {
    CallLog("GetCFGInt %s %d", LogText(key), def);
    IniValue value;
    int32_t result = 0;
    if (!Lookup(key, cursor, &value) || !ParseIniInt(value.Text, value.Length, &result))
        result = def;
    // A length of the skin is handed at the scale the host chose for this start.
    const SkinScaleView* view = ActiveScaleView();
    return view ? ScaledSetting(*view, key, result) : result;
}

unsigned __stdcall GetCFGHex(const char* key, unsigned def, ConfigCursor* cursor) {
    CallLog("GetCFGHex %s 0x%X", LogText(key), def);
    IniValue value;
    uint32_t result = 0;
    if (Lookup(key, cursor, &value) && ParseIniHex(value.Text, value.Length, &result))
        return result;
    return def;
}

int __stdcall GetCFGBool(const char* key, int def, ConfigCursor* cursor) {
    CallLog("GetCFGBool %s %d", LogText(key), def);
    IniValue value;
    bool result = false;
    if (Lookup(key, cursor, &value) && ParseIniBool(value.Text, value.Length, &result))
        return result ? 1 : 0;
    return def;
}

// Copies the value (or the default; a null default reads as "") into buffer,
// cut to size - 1 characters and always terminated; with no buffer or a size
// of 0 or less nothing is written. Answers the number of characters copied.
int __stdcall GetCFGString(const char* key, const char* def, char* buffer, int size,
                           ConfigCursor* cursor) {
    CallLog("GetCFGString %s \"%s\" %d", LogText(key), def ? def : "", size);
    IniValue value;
    if (!Lookup(key, cursor, &value)) {
        value.Text = def ? def : "";
        value.Length = std::strlen(value.Text);
    }
    if (!buffer || size <= 0) return 0;
    size_t length = value.Length < size_t(size) ? value.Length : size_t(size) - 1;
    std::memmove(buffer, value.Text, length);
    buffer[length] = 0;
    return int(length);
}

// Fills font from a description "Face,Size[,bold][,italic]" (Size in points,
// see ParseFontSpec); a missing key or unusable parts give Tahoma, 8 points,
// normal weight. Answers 1 when the key was present and fully usable. Under a
// scaled view the size is the view's (the file keeps its own).
int __stdcall GetCFGFont(const char* key, FontInfo* font, ConfigCursor* cursor) {
    CallLog("GetCFGFont %s", LogText(key));
    if (!font) return 0;
    FontSpec spec;
    DefaultFontSpec(&spec);
    IniValue value;
    bool usable = Lookup(key, cursor, &value) && ParseFontSpec(value.Text, value.Length, &spec);
    std::memset(font, 0, sizeof(*font));
    std::memcpy(font->Face, spec.Face, sizeof(font->Face));
    const SkinScaleView* view = ActiveScaleView();
    font->Size = view ? ScaledFontSize(*view, key, spec.Size) : spec.Size;
    font->Weight = spec.Weight;
    font->Italic = spec.Italic ? 1 : 0;
    return usable ? 1 : 0;
}

int __stdcall CloseCFGr(ConfigCursor* cursor) {
    CallLog("CloseCFGr");
    ConfigSession* session = SessionOf(cursor);
    if (!session) return 0;
    CloseSession(session, cursor);
    return 1;
}

int __stdcall SetCFGInt(const char* key, int value, ConfigCursor* cursor) {
    CallLog("SetCFGInt %s %d", LogText(key), value);
    ConfigSession* session = SessionOf(cursor);
    if (!session || !session->Writing || !key || !key[0] || !session->Section[0]) return 0;
    // A key with a line break or '=' could not be read back as the same key.
    if (std::strpbrk(key, "=\r\n[")) return 0;
    char text[16];
    std::snprintf(text, sizeof(text), "%d", value);
    session->Text = SetIniValue(session->Text, session->Section, key, text);
    session->Changed = true;
    return 1;
}

// Ends a write; the changed text goes to the file. Answers 1 when the file
// was written (or nothing had changed).
int __stdcall CloseCFGw(HANDLE config, int zero, ConfigCursor* cursor) {
    (void)config; // the session keeps the path it was opened with
    CallLog("CloseCFGw");
    (void)zero;
    ConfigSession* session = SessionOf(cursor);
    if (!session) return 0;
    bool ok = true;
    if (session->Writing && session->Changed)
        ok = session->Path[0] && WriteConfigFile(session->Path, session->Text);
    CloseSession(session, cursor);
    return ok ? 1 : 0;
}

} // extern "C"
