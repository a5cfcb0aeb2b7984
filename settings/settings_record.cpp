// The settings record, zero until LoadSettings fills it.
#include "settings/settings_record.h"

#include "settings/system_fit.h"

namespace {
SettingsRecord Record;
} // namespace

const SettingsRecord& Settings = Record;

SettingsRecord& SettingsForLoading() {
    return Record;
}

void ResetSettings() {
    Record = SettingsRecord{};
}

void AdjustSettingsToSystem(bool backgroundHasAlpha, bool layeredAvailable) {
    const ShownSettings shown = FitToSystem({Record.ZOrder, Record.LockMode, Record.Transparency},
                                            {backgroundHasAlpha, layeredAvailable});
    Record.ZOrder = shown.ZOrder;
    Record.LockMode = shown.LockMode;
    Record.Transparency = shown.Transparency;
}
