// A row's value as the dialog shows and edits it: always a text, the one the
// configuration holds (or the row's default when the key is missing), and
// the check that turns an edited text into what gets written.
#pragma once

#include "shell/skin_files/rules/setting_editors.h"

#include <cstddef>
#include <string>

// The text the row's editor starts from: the key's value in section of the
// INI text, or when the key is missing the row's default in the editor's
// form ("800", "0" for the first option, "Tahoma,8", "000000", "").
// present tells which (may be null).
std::string InitialSettingText(const SettingRow& row, const EditorSpec& spec, const char* ini,
                               size_t iniLength, const char* section, bool* present);

// The option a Choice text selects, or -1 when it names none of them (the
// drop-down then offers the text as written as an extra entry).
int32_t ChoiceIndex(const EditorSpec& spec, const std::string& text);

// Whether a Switch text is on as the plug-in reads it: a number, nonzero is
// on; no number reads as the row's default.
bool SwitchIsOn(const SettingRow& row, const std::string& text);

// The text of a Switch in state on: the initial text while the state is the
// initial one (so an untouched "5" stays "5"), else "1" or "0".
std::string SwitchText(const SettingRow& row, const std::string& initial, bool on);

// Checks an edited text against the row's rule. On success fills stored with
// the form written to the configuration (numbers and colours normalised, a
// font in its canonical form) and answers true; else fills message with one
// sentence that names the row and the rule, and answers false.
bool CheckSettingText(const SettingRow& row, const EditorSpec& spec, const std::string& text,
                      std::string* stored, std::string* message);
