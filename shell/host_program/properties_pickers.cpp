#include "shell/host_program/properties_pickers.h"

#include "shell/common/ini_values.h"
#include "shell/common/setting_forms.h"

#include <commdlg.h>

#include <cstring>

bool PickPicture(HWND owner, const std::string& current, const std::string& configFolder,
                 std::string* picked) {
    // Start where the current picture is, or in the configuration's folder.
    const std::string full = PathInFolder(current, configFolder);
    const size_t slash = full.find_last_of("\\/");
    std::string folder = slash == std::string::npos ? configFolder : full.substr(0, slash);
    char file[MAX_PATH] = "";
    if (!current.empty() && slash != std::string::npos)
        lstrcpynA(file, full.c_str() + slash + 1, sizeof file);
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
    HDC screen = GetDC(nullptr);
    font.lfHeight = -MulDiv(spec.Size, GetDeviceCaps(screen, LOGPIXELSY), 72);
    ReleaseDC(nullptr, screen);
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
    FontSpec chosen;
    DefaultFontSpec(&chosen);
    lstrcpynA(chosen.Face, font.lfFaceName, sizeof chosen.Face);
    chosen.Size = dialog.iPointSize > 0 ? (dialog.iPointSize + 5) / 10 : spec.Size;
    if (chosen.Size > 500) chosen.Size = 500;
    // The kit's form knows weights 100-900 in hundreds.
    const LONG weight = (font.lfWeight + 50) / 100 * 100;
    chosen.Weight = weight < 100 ? 400 : weight > 900 ? 900 : int32_t(weight);
    chosen.Italic = font.lfItalic != 0;
    *picked = FormatFontSpec(chosen);
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
