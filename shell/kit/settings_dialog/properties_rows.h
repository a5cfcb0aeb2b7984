// The settings dialog's controls: one line of controls per descriptor row,
// made once when the dialog opens and shown a page at a time, and the texts
// they hold (each row's value is a text, see setting_values.h).
#pragma once

#include "shell/kit/settings_dialog/rules/setting_pages.h"
#include "shell/skin_files/rules/setting_editors.h"
#include "win32/scoped_handle.h"

#include <windows.h>

#include <string>
#include <vector>

// Control ids: a row's controls are RowControlId(row, part).
enum RowPart { PartLabel, PartEditor, PartButton, PartSpin, PartSwatch, PartHint, PartCount };
const int RowControlBase = 1000;
inline int RowControlId(int32_t row, RowPart part) {
    return RowControlBase + row * PartCount + part;
}
inline int32_t RowOfControl(int id) {
    return (id - RowControlBase) / PartCount;
}
inline RowPart PartOfControl(int id) {
    return RowPart((id - RowControlBase) % PartCount);
}

const int PageListId = 100;
const int PageHeadingId = 101;
const int HelpTextId = 102;
const int ApplyButtonId = 103;

// Everything the open dialog knows; one dialog at a time.
struct PropertiesState {
    HWND Dialog;
    const PluginInfo* Descriptor;
    std::string ConfigPath;
    std::string ConfigFolder;
    EditorSpec Specs[DescriptorRowsMax];
    std::vector<std::string> Initial; // per row: the text each editor started from
    SettingsPage Pages[SettingsPagesMax];
    int32_t PageCount;                  // the help page comes after the last of these
    ScopedGdiObject<HFONT> HeadingFont; // the page heading's bold copy of the dialog font
    bool Filling;                       // set while the dialog writes into its own controls
};
PropertiesState& Properties();

// Pixels of a rectangle given in dialog units.
RECT DialogUnits(HWND dialog, int x, int y, int width, int height);
// One child control of the dialog in its font; r in pixels.
HWND MakeControl(HWND dialog, const char* cls, const char* text, DWORD style, DWORD exStyle, int id,
                 RECT r);

// Makes every row's controls (hidden) and the page list.
void CreateRowControls(HWND dialog);
// Shows one page (PageCount: the help text) and hides the others.
void ShowSettingsPage(HWND dialog, int32_t page);
// The page that shows a row.
int32_t PageOfRow(int32_t row);
// Puts a text into a row's editor.
void SetRowText(HWND dialog, int32_t row, const std::string& text);
// The text a row's editor holds now.
std::string RowText(HWND dialog, int32_t row);
std::vector<std::string> AllRowTexts(HWND dialog);
// Paints a colour row's swatch from the text in its editor.
void DrawSwatch(const DRAWITEMSTRUCT& item);
