#include "shell/kit/settings_dialog/properties.h"

#include "shell/kit/log/host_log.h"
#include "shell/kit/session/plugin_session.h"
#include "shell/kit/settings_dialog/properties_apply.h"
#include "shell/kit/settings_dialog/properties_pickers.h"
#include "shell/kit/settings_dialog/properties_rows.h"
#include "shell/kit/settings_dialog/rules/setting_values.h"
#include "shell/skin_files/config_file.h"
#include "shell/skin_files/rules/setting_forms.h"

#include <commctrl.h>

namespace {

// Dialog units: the page list, the rows beside it and the buttons below fit
// an 800 x 600 screen at 100 % with room to spare, and a 1280 x 720 one at
// 150 %: the dialog grows with the system's font and scale.
const short DialogWidth = 340;
const short DialogHeight = 232;
const int RowsPerPage = 9;

// An empty dialog whose controls are made at run time: the template only
// gives the frame, its size and the dialog font.
const DLGTEMPLATE* DialogTemplate() {
    alignas(DWORD) static WORD words[64];
    static bool made = false;
    if (!made) {
        DLGTEMPLATE* t = reinterpret_cast<DLGTEMPLATE*>(words);
        t->style = DS_SETFONT | DS_MODALFRAME | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU;
        t->dwExtendedStyle = WS_EX_APPWINDOW | WS_EX_CONTROLPARENT;
        t->cdit = 0;
        t->cx = DialogWidth;
        t->cy = DialogHeight;
        WORD* w = reinterpret_cast<WORD*>(t + 1);
        *w++ = 0; // no menu
        *w++ = 0; // the dialog class
        *w++ = 0; // the title is set when the dialog opens
        *w++ = 8; // points
        for (const char* f = "MS Shell Dlg"; *f; ++f)
            *w++ = WORD(*f);
        *w++ = 0;
        made = true;
    }
    return reinterpret_cast<const DLGTEMPLATE*>(words);
}

// Each row's starting text from the configuration as it is now.
void LoadInitialTexts() {
    PropertiesState& s = Properties();
    std::string ini;
    ReadConfigFile(s.ConfigPath.c_str(), &ini);
    s.Initial.clear();
    for (int32_t row = 0; row < s.Descriptor->RowCount; ++row)
        s.Initial.push_back(InitialSettingText(s.Descriptor->Rows[row], s.Specs[row], ini.data(),
                                               ini.size(), s.Descriptor->Section, nullptr));
}

void FillRows(HWND dialog) {
    const PropertiesState& s = Properties();
    for (int32_t row = 0; row < s.Descriptor->RowCount; ++row)
        SetRowText(dialog, row, s.Initial[size_t(row)]);
}

// Apply is offered while some row differs from what the file holds.
void UpdateApplyButton(HWND dialog) {
    EnableWindow(GetDlgItem(dialog, ApplyButtonId), AllRowTexts(dialog) != Properties().Initial);
}

HWND Button(HWND dialog, const char* text, int id, int x, DWORD style) {
    return MakeControl(dialog, "BUTTON", text, WS_VISIBLE | WS_TABSTOP | style, 0, id,
                       DialogUnits(dialog, x, DialogHeight - 21, 50, 14));
}

HFONT BoldCopy(HFONT font) {
    LOGFONTA lf;
    if (!font || !GetObjectA(font, sizeof lf, &lf)) return nullptr;
    lf.lfWeight = FW_BOLD;
    return CreateFontIndirectA(&lf);
}

// Asked for once the system has scaled the dialog to a monitor of another
// scale (per-monitor awareness): its font is then the new one.
const UINT RefreshHeadingFont = WM_APP + 1;

void OnRefreshHeadingFont(HWND dialog) {
    PropertiesState& s = Properties();
    HFONT bold = BoldCopy(reinterpret_cast<HFONT>(SendMessageA(dialog, WM_GETFONT, 0, 0)));
    if (!bold) return;
    SendDlgItemMessageA(dialog, PageHeadingId, WM_SETFONT, WPARAM(bold), TRUE);
    s.HeadingFont.Reset(bold);
}

BOOL OnInitDialog(HWND dialog) {
    PropertiesState& s = Properties();
    s.Dialog = dialog;
    SetWindowTextA(dialog, s.Descriptor->Name ? s.Descriptor->Name : "Properties");
    s.HeadingFont.Reset(BoldCopy(reinterpret_cast<HFONT>(SendMessageA(dialog, WM_GETFONT, 0, 0))));
    CreateRowControls(dialog);
    Button(dialog, "&Help", IDHELP, 7, BS_PUSHBUTTON);
    Button(dialog, "OK", IDOK, DialogWidth - 171, BS_DEFPUSHBUTTON);
    Button(dialog, "Cancel", IDCANCEL, DialogWidth - 115, BS_PUSHBUTTON);
    Button(dialog, "&Apply", ApplyButtonId, DialogWidth - 59, BS_PUSHBUTTON);
    LoadInitialTexts();
    FillRows(dialog);
    ShowSettingsPage(dialog, 0);
    UpdateApplyButton(dialog);
    return TRUE;
}

// Applies; answers whether the dialog may close (for OK).
bool Apply(HWND dialog) {
    PropertiesState& s = Properties();
    int32_t problemRow = -1;
    switch (ApplySettings(dialog, AllRowTexts(dialog), &problemRow)) {
    case ApplyOutcome::Unchanged:
        return true;
    case ApplyOutcome::Applied:
        // Show what the file holds now, in its stored form.
        LoadInitialTexts();
        FillRows(dialog);
        UpdateApplyButton(dialog);
        return true;
    case ApplyOutcome::Invalid:
        if (problemRow >= 0 && problemRow < s.Descriptor->RowCount) {
            ShowSettingsPage(dialog, PageOfRow(problemRow));
            HWND editor = GetDlgItem(dialog, RowControlId(problemRow, PartEditor));
            SendMessageA(dialog, WM_NEXTDLGCTL, WPARAM(editor), TRUE);
        }
        return false;
    default:
        return false;
    }
}

void OnRowButton(HWND dialog, int32_t row) {
    PropertiesState& s = Properties();
    const std::string current = RowText(dialog, row);
    std::string picked;
    bool chosen = false;
    switch (s.Specs[row].Kind) {
    case SettingEditor::Picture:
        chosen = PickPicture(dialog, current, s.ConfigFolder, &picked);
        break;
    case SettingEditor::Font:
        chosen = PickFont(dialog, current, &picked);
        break;
    case SettingEditor::Color:
        chosen = PickColor(dialog, current, &picked);
        break;
    default:
        break;
    }
    if (!chosen) return;
    SetRowText(dialog, row, picked);
    UpdateApplyButton(dialog);
}

void OnCommand(HWND dialog, int id, int code) {
    PropertiesState& s = Properties();
    switch (id) {
    case IDOK:
        if (Apply(dialog)) DestroyWindow(dialog);
        return;
    case IDCANCEL:
        DestroyWindow(dialog);
        return;
    case ApplyButtonId:
        Apply(dialog);
        return;
    case IDHELP:
        ShowSettingsPage(dialog, s.PageCount);
        return;
    case PageListId:
        if (code == LBN_SELCHANGE)
            ShowSettingsPage(dialog,
                             int32_t(SendDlgItemMessageA(dialog, PageListId, LB_GETCURSEL, 0, 0)));
        return;
    }
    if (id < RowControlBase || s.Filling) return;
    const int32_t row = RowOfControl(id);
    if (row < 0 || row >= s.Descriptor->RowCount) return;
    const RowPart part = PartOfControl(id);
    if (part == PartButton && code == BN_CLICKED) return OnRowButton(dialog, row);
    if (part != PartEditor) return;
    if (code == EN_CHANGE || code == CBN_SELCHANGE || code == BN_CLICKED) {
        if (HWND swatch = GetDlgItem(dialog, RowControlId(row, PartSwatch)))
            InvalidateRect(swatch, nullptr, TRUE);
        UpdateApplyButton(dialog);
    }
}

void OnDestroy() {
    PropertiesState& s = Properties();
    s.HeadingFont.Reset();
    s.Dialog = nullptr;
    s.Initial.clear();
    HostLog("Properties closed");
}

INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        return OnInitDialog(dialog);
    case WM_COMMAND:
        OnCommand(dialog, LOWORD(wParam), HIWORD(wParam));
        return TRUE;
    case WM_DRAWITEM: {
        const DRAWITEMSTRUCT& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (item.CtlType != ODT_STATIC) return FALSE;
        DrawSwatch(item);
        return TRUE;
    }
    case WM_HELP: // F1
        ShowSettingsPage(dialog, Properties().PageCount);
        return TRUE;
    case WM_DPICHANGED: // the system scales the dialog, its controls and its font
        PostMessageA(dialog, RefreshHeadingFont, 0, 0);
        return FALSE;
    case RefreshHeadingFont:
        OnRefreshHeadingFont(dialog);
        return TRUE;
    case WM_DESTROY:
        OnDestroy();
        return TRUE;
    }
    return FALSE;
}

// The descriptor of the loaded plug-in, or null (said to the user) when it
// cannot be shown.
const PluginInfo* UsableDescriptor(HWND owner) {
    const PluginInfo* d = static_cast<const PluginInfo*>(HostSession().Plugin.GetPluginInfo());
    char reason[160];
    if (DescriptorUsable(d, reason, sizeof reason)) return d;
    HostLog("Properties unavailable: %s", reason);
    MessageBoxA(owner, (std::string("The plug-in's settings cannot be shown: ") + reason).c_str(),
                "Properties", MB_OK | MB_ICONERROR);
    return nullptr;
}

} // namespace

void ShowProperties(HWND owner) {
    PropertiesState& s = Properties();
    if (s.Dialog) {
        HostLog("Properties to front");
        ShowWindow(s.Dialog, SW_SHOWNORMAL);
        SetForegroundWindow(s.Dialog);
        return;
    }
    const PluginInfo* descriptor = UsableDescriptor(owner);
    if (!descriptor) return;
    static bool controlsReady = false;
    if (!controlsReady) {
        INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_UPDOWN_CLASS};
        controlsReady = InitCommonControlsEx(&classes) != FALSE;
    }
    s.Descriptor = descriptor;
    s.ConfigPath = HostSession().ConfigPath;
    s.ConfigFolder = FolderOf(s.ConfigPath);
    for (int32_t row = 0; row < descriptor->RowCount; ++row)
        s.Specs[row] = EditorFor(descriptor->Rows[row]);
    s.PageCount = BuildSettingsPages(*descriptor, RowsPerPage, s.Pages, SettingsPagesMax);
    HWND dialog = CreateDialogIndirectParamA(GetModuleHandleA(nullptr), DialogTemplate(), owner,
                                             DialogProc, 0);
    if (!dialog) {
        HostLog("Properties failed to open (error %lu)", GetLastError());
        return;
    }
    HostLog("Properties open: %d rows on %d pages", int(descriptor->RowCount), int(s.PageCount));
    RECT frame;
    GetWindowRect(dialog, &frame);
    HostLog("Properties size %ldx%ld", frame.right - frame.left, frame.bottom - frame.top);
    ShowWindow(dialog, SW_SHOW);
    SetForegroundWindow(dialog);
}

bool PropertiesDialogMessage(MSG* message) {
    HWND dialog = Properties().Dialog;
    return dialog && IsDialogMessageA(dialog, message);
}
