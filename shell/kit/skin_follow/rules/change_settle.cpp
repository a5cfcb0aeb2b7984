#include "shell/kit/skin_follow/rules/change_settle.h"

void NoteChange(SettleClock* clock, uint32_t now) {
    clock->Pending = true;
    clock->LastSeen = now;
}

uint32_t SettleWait(const SettleClock& clock, uint32_t now) {
    if (!clock.Pending) return SettleNever;
    // Unsigned difference: right across the clock's wrap. A clock that seems
    // to run backwards (more than half its range) counts as settled.
    const uint32_t still = now - clock.LastSeen;
    return still >= SettleStillMs ? 0 : SettleStillMs - still;
}

void SettleDone(SettleClock* clock) {
    clock->Pending = false;
}
