// The service library's call log, for tests that check call orders.
//
// When the environment variable TOLVRIC_CALL_LOG names a file (read once, at
// the first call into the library), every export appends one line to it:
// the function's name, then its meaningful arguments, each behind one space.
// Keys, section names and paths are written as they are, "(null)" for a null
// pointer; default texts in double quotes; numbers in decimal; the defaults
// and values of GetCFGHex and colours in hexadecimal with 0x. Examples:
//   OpenCFGr
//   FindSection Quilbex 0
//   GetCFGInt Z-Order 1
//   GetCFGHex FontColor 0xFFFFFF
//   GetCFGString Skin "" 260
//   LoadImageEx background.png 2
//   SetCFGInt X 120
//   CloseCFGw
// Lines end with "\n". The file is opened, appended to and closed per line, so
// several processes may share one log and a test may read it at any time.
#pragma once

void CallLog(const char* format, ...) __attribute__((format(printf, 1, 2)));

// A pointer as text for the log: the text itself, or "(null)".
inline const char* LogText(const char* text) {
    return text ? text : "(null)";
}
