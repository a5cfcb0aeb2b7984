#include "shell/kit/settings_dialog/properties_rows.h"

#include "shell/kit/settings_dialog/rules/setting_values.h"
#include "shell/skin_files/rules/ini_values.h"

#include "win32/scoped_handle.h"

#include <commctrl.h>

namespace {

// Layout in dialog units: the page list on the left, the rows to its right.
const int PageX = 110;
const int PageRight = 333;
const int FirstRowY = 24;
const int RowPitch = 19;
const int RowHeight = 14;
const int LabelWidth = 72;
const int EditorX = PageX + LabelWidth + 4;
const int ButtonWidth = 40;
const int ButtonX = PageRight - ButtonWidth;

HWND RowControl(HWND dialog, int32_t row, RowPart part) {
    return GetDlgItem(dialog, RowControlId(row, part));
}

HWND MakeEdit(HWND dialog, int32_t row, int width, int32_t limit, int y) {
    HWND edit = MakeControl(dialog, "EDIT", "", WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE,
                            RowControlId(row, PartEditor),
                            DialogUnits(dialog, EditorX, y, width, RowHeight));
    if (limit > 0) SendMessageA(edit, EM_LIMITTEXT, WPARAM(limit), 0);
    return edit;
}

void MakeButton(HWND dialog, int32_t row, const char* text, int y) {
    MakeControl(dialog, "BUTTON", text, WS_TABSTOP | BS_PUSHBUTTON, 0,
                RowControlId(row, PartButton),
                DialogUnits(dialog, ButtonX, y, ButtonWidth, RowHeight));
}

void MakeHint(HWND dialog, int32_t row, const char* text, int x, int y) {
    MakeControl(dialog, "STATIC", text, SS_LEFT | SS_CENTERIMAGE, 0, RowControlId(row, PartHint),
                DialogUnits(dialog, x, y, PageRight - x, RowHeight));
}

void MakeRow(HWND dialog, int32_t row, int slot) {
    const PropertiesState& s = Properties();
    const SettingRow& d = s.Descriptor->Rows[row];
    const EditorSpec& spec = s.Specs[row];
    const int y = FirstRowY + slot * RowPitch;
    MakeControl(dialog, "STATIC", d.Caption ? d.Caption : "",
                SS_LEFT | SS_CENTERIMAGE | SS_NOPREFIX, 0, RowControlId(row, PartLabel),
                DialogUnits(dialog, PageX, y, LabelWidth, RowHeight));
    const int fullWidth = PageRight - EditorX;
    const int besideButton = ButtonX - 4 - EditorX;
    switch (spec.Kind) {
    case SettingEditor::Choice:
        // The height is the dropped list's.
        MakeControl(dialog, "COMBOBOX", "", WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, 0,
                    RowControlId(row, PartEditor), DialogUnits(dialog, EditorX, y, 120, 120));
        break;
    case SettingEditor::Number:
        MakeEdit(dialog, row, 60, 0, y);
        break;
    case SettingEditor::RangedNumber: {
        HWND edit = MakeEdit(dialog, row, 60, 0, y);
        HWND spin = MakeControl(dialog, UPDOWN_CLASSA, "",
                                UDS_ALIGNRIGHT | UDS_ARROWKEYS | UDS_NOTHOUSANDS | UDS_SETBUDDYINT,
                                0, RowControlId(row, PartSpin), RECT{0, 0, 0, 0});
        SendMessageA(spin, UDM_SETBUDDY, WPARAM(edit), 0);
        SendMessageA(spin, UDM_SETRANGE32, WPARAM(spec.Min), LPARAM(spec.Max));
        MakeHint(dialog, row, RangeText(spec).c_str(), EditorX + 64, y);
        break;
    }
    case SettingEditor::Text:
        MakeEdit(dialog, row, fullWidth, spec.MaxLength, y);
        break;
    case SettingEditor::Picture:
        MakeEdit(dialog, row, besideButton, spec.MaxLength, y);
        MakeButton(dialog, row, "Browse...", y);
        break;
    case SettingEditor::Font:
        MakeEdit(dialog, row, besideButton, 0, y);
        MakeButton(dialog, row, "Choose...", y);
        break;
    case SettingEditor::Color:
        MakeEdit(dialog, row, 50, 8, y);
        MakeControl(dialog, "STATIC", "", SS_OWNERDRAW, WS_EX_STATICEDGE,
                    RowControlId(row, PartSwatch),
                    DialogUnits(dialog, EditorX + 54, y, 30, RowHeight));
        MakeButton(dialog, row, "Choose...", y);
        break;
    case SettingEditor::Switch:
        MakeControl(dialog, "BUTTON", "On", WS_TABSTOP | BS_AUTOCHECKBOX, 0,
                    RowControlId(row, PartEditor), DialogUnits(dialog, EditorX, y, 60, RowHeight));
        break;
    default: {
        HWND edit = MakeEdit(dialog, row, 80, 0, y);
        SendMessageA(edit, EM_SETREADONLY, TRUE, 0);
        MakeHint(dialog, row, "(not editable here)", EditorX + 84, y);
        break;
    }
    }
}

void FillChoice(HWND combo, const EditorSpec& spec, const std::string& text) {
    SendMessageA(combo, CB_RESETCONTENT, 0, 0);
    for (int32_t i = 0; i < spec.OptionCount; ++i) {
        LRESULT at = SendMessageA(combo, CB_ADDSTRING, 0, LPARAM(OptionName(spec, i)));
        SendMessageA(combo, CB_SETITEMDATA, WPARAM(at), LPARAM(i));
    }
    int32_t index = ChoiceIndex(spec, text);
    if (index < 0) {
        // A value none of the options stands for stays as written unless
        // another option is picked.
        const std::string kept = text + " (as written; not one of the options)";
        index = int32_t(SendMessageA(combo, CB_ADDSTRING, 0, LPARAM(kept.c_str())));
        SendMessageA(combo, CB_SETITEMDATA, WPARAM(index), LPARAM(-1));
    }
    SendMessageA(combo, CB_SETCURSEL, WPARAM(index), 0);
}

std::string WindowText(HWND control) {
    int length = GetWindowTextLengthA(control);
    std::string text(size_t(length > 0 ? length : 0) + 1, '\0');
    int got = GetWindowTextA(control, &text[0], length + 1);
    text.resize(size_t(got > 0 ? got : 0));
    return text;
}

} // namespace

HWND MakeControl(HWND dialog, const char* cls, const char* text, DWORD style, DWORD exStyle, int id,
                 RECT r) {
    HWND control =
        CreateWindowExA(exStyle, cls, text, WS_CHILD | style, r.left, r.top, r.right - r.left,
                        r.bottom - r.top, dialog, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                        GetModuleHandleA(nullptr), nullptr);
    SendMessageA(control, WM_SETFONT, SendMessageA(dialog, WM_GETFONT, 0, 0), FALSE);
    return control;
}

PropertiesState& Properties() {
    static PropertiesState state;
    return state;
}

RECT DialogUnits(HWND dialog, int x, int y, int width, int height) {
    RECT r = {x, y, x + width, y + height};
    MapDialogRect(dialog, &r);
    return r;
}

void CreateRowControls(HWND dialog) {
    PropertiesState& s = Properties();
    HWND list =
        MakeControl(dialog, "LISTBOX", "",
                    WS_TABSTOP | WS_VISIBLE | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT,
                    WS_EX_CLIENTEDGE, PageListId, DialogUnits(dialog, 7, 7, 96, 196));
    HWND heading = MakeControl(dialog, "STATIC", "", WS_VISIBLE | SS_LEFT | SS_NOPREFIX, 0,
                               PageHeadingId, DialogUnits(dialog, PageX, 7, PageRight - PageX, 12));
    if (s.HeadingFont.handle)
        SendMessageA(heading, WM_SETFONT, WPARAM(s.HeadingFont.handle), FALSE);
    for (int32_t p = 0; p < s.PageCount; ++p) {
        SendMessageA(list, LB_ADDSTRING, 0, LPARAM(s.Pages[p].Title));
        int slot = 0;
        for (int32_t row = s.Pages[p].FirstRow; row < s.Pages[p].EndRow; ++row)
            MakeRow(dialog, row, slot++);
    }
    SendMessageA(list, LB_ADDSTRING, 0, LPARAM("Help"));
    HWND help = MakeControl(
        dialog, "EDIT", s.Descriptor->Description ? s.Descriptor->Description : "",
        WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL, WS_EX_CLIENTEDGE,
        HelpTextId, DialogUnits(dialog, PageX, FirstRowY, PageRight - PageX, 179));
    SendMessageA(help, EM_SETSEL, 0, 0);
}

void ShowSettingsPage(HWND dialog, int32_t page) {
    const PropertiesState& s = Properties();
    if (page < 0 || page > s.PageCount) return;
    for (int32_t p = 0; p < s.PageCount; ++p)
        for (int32_t row = s.Pages[p].FirstRow; row < s.Pages[p].EndRow; ++row)
            for (int part = 0; part < PartCount; ++part)
                if (HWND control = RowControl(dialog, row, RowPart(part)))
                    ShowWindow(control, p == page ? SW_SHOW : SW_HIDE);
    ShowWindow(GetDlgItem(dialog, HelpTextId), page == s.PageCount ? SW_SHOW : SW_HIDE);
    SetDlgItemTextA(dialog, PageHeadingId, page == s.PageCount ? "Help" : s.Pages[page].Title);
    SendDlgItemMessageA(dialog, PageListId, LB_SETCURSEL, WPARAM(page), 0);
}

int32_t PageOfRow(int32_t row) {
    const PropertiesState& s = Properties();
    for (int32_t p = 0; p < s.PageCount; ++p)
        if (row >= s.Pages[p].FirstRow && row < s.Pages[p].EndRow) return p;
    return 0;
}

void SetRowText(HWND dialog, int32_t row, const std::string& text) {
    PropertiesState& s = Properties();
    const EditorSpec& spec = s.Specs[row];
    HWND editor = RowControl(dialog, row, PartEditor);
    if (!editor) return;
    s.Filling = true;
    if (spec.Kind == SettingEditor::Choice)
        FillChoice(editor, spec, text);
    else if (spec.Kind == SettingEditor::Switch)
        SendMessageA(editor, BM_SETCHECK,
                     SwitchIsOn(s.Descriptor->Rows[row], text) ? BST_CHECKED : BST_UNCHECKED, 0);
    else
        SetWindowTextA(editor, text.c_str());
    if (HWND swatch = RowControl(dialog, row, PartSwatch)) InvalidateRect(swatch, nullptr, TRUE);
    s.Filling = false;
}

std::string RowText(HWND dialog, int32_t row) {
    const PropertiesState& s = Properties();
    const EditorSpec& spec = s.Specs[row];
    const std::string& initial = s.Initial[size_t(row)];
    HWND editor = RowControl(dialog, row, PartEditor);
    switch (spec.Kind) {
    case SettingEditor::Heading:
    case SettingEditor::Unsupported:
        return initial;
    case SettingEditor::Choice: {
        LRESULT at = SendMessageA(editor, CB_GETCURSEL, 0, 0);
        LRESULT option = at == CB_ERR ? -1 : SendMessageA(editor, CB_GETITEMDATA, WPARAM(at), 0);
        return option >= 0 ? std::to_string(option) : initial;
    }
    case SettingEditor::Switch:
        return SwitchText(s.Descriptor->Rows[row], initial,
                          SendMessageA(editor, BM_GETCHECK, 0, 0) == BST_CHECKED);
    default:
        return WindowText(editor);
    }
}

std::vector<std::string> AllRowTexts(HWND dialog) {
    const PropertiesState& s = Properties();
    std::vector<std::string> texts;
    for (int32_t row = 0; row < s.Descriptor->RowCount; ++row)
        texts.push_back(RowText(dialog, row));
    return texts;
}

void DrawSwatch(const DRAWITEMSTRUCT& item) {
    const std::string text = WindowText(GetDlgItem(
        GetParent(item.hwndItem), RowControlId(RowOfControl(int(item.CtlID)), PartEditor)));
    uint32_t color = 0;
    const bool known = ParseIniHex(text.data(), text.size(), &color) && color <= 0xFFFFFFu;
    // The stored value is laid out as a COLORREF already.
    {
        ScopedGdiObject<HBRUSH> brush(
            CreateSolidBrush(known ? COLORREF(color) : GetSysColor(COLOR_BTNFACE)));
        FillRect(item.hDC, &item.rcItem, brush.handle);
    }
    if (!known) { // a cross: no colour to show
        MoveToEx(item.hDC, item.rcItem.left, item.rcItem.top, nullptr);
        LineTo(item.hDC, item.rcItem.right, item.rcItem.bottom);
        MoveToEx(item.hDC, item.rcItem.left, item.rcItem.bottom - 1, nullptr);
        LineTo(item.hDC, item.rcItem.right, item.rcItem.top - 1);
    }
}
