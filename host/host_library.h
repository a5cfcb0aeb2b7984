// The shell's service library (tolvric.dll) and the alpha library
// (plasmyr.dll), imported by name. Every export is __stdcall and undecorated;
// the import libraries come from host/tolvric.def and host/plasmyr.def.
#pragma once

#include "host/host_records.h"

extern "C" {
// Configuration (tolvric.dll).
int __stdcall OpenCFGr(HANDLE config, ConfigCursor* cursor);
int __stdcall OpenCFGw(HANDLE config, ConfigCursor* cursor);
int __stdcall FindSection(const char* name, int mode, ConfigCursor* cursor);
int __stdcall GetCFGInt(const char* key, int def, ConfigCursor* cursor);
unsigned __stdcall GetCFGHex(const char* key, unsigned def, ConfigCursor* cursor);
int __stdcall GetCFGBool(const char* key, int def, ConfigCursor* cursor);
int __stdcall GetCFGString(const char* key, const char* def, char* buffer, int size,
                           ConfigCursor* cursor);
int __stdcall GetCFGFont(const char* key, FontInfo* font, ConfigCursor* cursor);
int __stdcall CloseCFGr(ConfigCursor* cursor);
int __stdcall SetCFGInt(const char* key, int value, ConfigCursor* cursor);
int __stdcall CloseCFGw(HANDLE config, int zero, ConfigCursor* cursor);

// Fonts, pictures, skins, layered windows and strings (tolvric.dll).
int __stdcall GetFontHandle(FontInfo* font, HFONT fallback);
int __stdcall FreeFont(FontInfo* font);
int __stdcall LoadImageEx(ImageInfo* image);
int __stdcall DrawPicture(HDC target, HDC same, int x, int y, ImageInfo* image);
int __stdcall DrawSkin(HDC target, HDC same, RECT* client, RECT* window, RECT* screen, int option1,
                       int option4, int flags);
HRGN __stdcall BitmapToRegion(HBITMAP bitmap, COLORREF key, int zero1, int zero2);
DWORD __stdcall LayeredStyle(HDC dc, DWORD level); // level: low byte only
int __stdcall SetLayered(HWND window, COLORREF key, DWORD alpha, DWORD flags);
BOOL __stdcall IsPSTREmpty(const char* text);
char* __stdcall strcopy(char* destination, const char* source);

// Alpha drawing (plasmyr.dll).
int __stdcall PreAlpha(int width, int height, void* bits);
int __stdcall AlphaBlt(HDC target, int x, int y, int width, int height, HBITMAP bitmap, int sourceX,
                       int sourceWidth, int sourceHeight, void* bits);
}

// DrawSkin's flags: 4 always; 1 when the host's SkinOption3 is set, 2 when
// its SkinOption2 is clear.
const int DrawSkinAlways = 4;
const int DrawSkinOption3Set = 1;
const int DrawSkinOption2Clear = 2;

// SetLayered's flags, as SetLayeredWindowAttributes takes them: the constant
// alpha applies (LWA_ALPHA).
const DWORD SetLayeredAlpha = 2;
// LayeredStyle's level 1: asks only whether the system has layered windows.
const DWORD LayeredStyleQuery = 1;
