// The four meters and the window-level values, zero until LoadSettings fills them.
#include "settings/settings.h"

Meter CpuMeter;
Meter MemMeter;
Meter NetInMeter;
Meter NetOutMeter;

int32_t ZOrder;
int32_t WindowX;
int32_t WindowY;
int32_t LockMode;
char SkinPath[260];
FontInfo MeterFont;
uint32_t FontColor;
int32_t Elapse;
int32_t MaxNetSpeed;
uint8_t UseVXD;
int32_t Transparency;
ImageInfo Background;
ImageInfo BackgroundCopy;
