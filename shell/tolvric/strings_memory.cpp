// Small string and memory services.
#include "host/host_library.h"
#include "shell/tolvric/call_log.h"

#include <cstdlib>
#include <cstring>

extern "C" {

// Nonzero when text is null or has no characters at all; a text of blanks is
// not empty.
BOOL __stdcall IsPSTREmpty(const char* text) {
    CallLog("IsPSTREmpty %s", LogText(text));
    return (!text || !text[0]) ? 1 : 0;
}

// Copies source with its terminator and answers destination; a null source
// copies as "" and a null destination copies nothing.
char* __stdcall strcopy(char* destination, const char* source) {
    CallLog("strcopy %s", LogText(source));
    if (!destination) return destination;
    if (!source) source = "";
    std::memmove(destination, source, std::strlen(source) + 1);
    return destination;
}

// The library's "malloc" and "free" (host/tolvric.def lists them as malloc@4
// and free@4): their symbols are named so, apart from the C runtime's own.
void* __stdcall ServiceAlloc(size_t size) __asm__("_malloc@4");
void __stdcall ServiceFree(void* pointer) __asm__("_free@4");

void* __stdcall ServiceAlloc(size_t size) {
    CallLog("malloc %u", unsigned(size));
    return std::malloc(size);
}

void __stdcall ServiceFree(void* pointer) {
    CallLog("free");
    std::free(pointer);
}

} // extern "C"
