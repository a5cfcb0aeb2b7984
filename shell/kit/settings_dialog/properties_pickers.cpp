#include "shell/kit/settings_dialog/properties_pickers.h"

#include "shell/skin_files/rules/ini_values.h"
#include "shell/skin_files/rules/setting_forms.h"
#include "win32/scoped_gdi.h"

#include <commdlg.h>

#include <cstring>

bool PickPicture(HWND owner, const std::string& current, const std::string& configFolder,
                 std::string* picked) {
    // Start where the current picture is, or in the configuration's folder.
    const std::string full = PathInFolder(current, configFolder);
    const std::string folder = current.empty() ? configFolder : FolderOf(full);
    char file[MAX_PATH] = "";
    if (!current.empty()) lstrcpynA(file, FileNameOf(full).c_str(), sizeof file);
    OPENFILENAMEA dialog;
    memset(&dialog, 0, sizeof dialog);
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = "Pictures (*.png, *.bmp)\0*.png;*.bmp\0All files (*.*)\0*.*\0";
    dialog.lpstrFile = file;
    dialog.nMaxFile = sizeof file;
    dialog.lpstrInitialDir = folder.c_str();
    dialog.lpstrTitle = "Choose a picture";
    // The host's current folder is the configuration's: keep it.
    dialog.Flags =
        OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    if (!GetOpenFileNameA(&dialog)) return false;
    *picked = PathForConfig(file, configFolder);
    return true;
}

bool PickFont(HWND owner, const std::string& current, std::string* picked) {
    FontSpec spec;
    DefaultFontSpec(&spec);
    ParseFontSpec(current.data(), current.size(), &spec); // what is usable of it
    LOGFONTA font;
    memset(&font, 0, sizeof font);
    font.lfHeight = -MulDiv(spec.Size, GetDeviceCaps(ScopedScreenDC().dc, LOGPIXELSY), 72);
    font.lfWeight = spec.Weight;
    font.lfItalic = spec.Italic ? TRUE : FALSE;
    font.lfCharSet = DEFAULT_CHARSET;
    lstrcpynA(font.lfFaceName, spec.Face, LF_FACESIZE);
    CHOOSEFONTA dialog;
    memset(&dialog, 0, sizeof dialog);
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpLogFont = &font;
    dialog.Flags = CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT | CF_NOVERTFONTS;
    if (!ChooseFontA(&dialog)) return false;
    *picked = FormatFontSpec(ChosenFontSpec(font.lfFaceName, dialog.iPointSize, spec.Size,
                                            int32_t(font.lfWeight), font.lfItalic != 0));
    return true;
}

bool PickColor(HWND owner, const std::string& current, std::string* picked) {
    static COLORREF custom[16];
    uint32_t color = 0;
    if (!ParseIniHex(current.data(), current.size(), &color)) color = 0;
    CHOOSECOLORA dialog;
    memset(&dialog, 0, sizeof dialog);
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.rgbResult = COLORREF(color & 0xFFFFFFu); // the stored layout is a COLORREF's
    dialog.lpCustColors = custom;
    dialog.Flags = CC_RGBINIT | CC_FULLOPEN;
    if (!ChooseColorA(&dialog)) return false;
    *picked = FormatColorHex(dialog.rgbResult);
    return true;
}
