// The scaled view the host chose for the plug-in's start, in static storage.
#include "shell/tolvric/scale_view.h"

namespace {

SkinScaleView View;
bool ViewActive = false;

} // namespace

const SkinScaleView* ActiveScaleView() {
    return ViewActive ? &View : nullptr;
}

extern "C" {

// Not logged: the call log holds the plug-in's calls alone (the host logs the scale).
int __stdcall SetSkinScale(const SkinScaleView* view) {
    ViewActive = view != nullptr;
    if (view) View = *view;
    return 1;
}

} // extern "C"
