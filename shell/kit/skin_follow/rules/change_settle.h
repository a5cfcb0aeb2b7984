// When a burst of file changes has settled: an editor's save may come as
// several writes, a rename or a delete and a new file, and a person may save
// many times in a row. The files are looked at once nothing has changed for
// a moment. Times are milliseconds of a 32-bit clock that wraps (GetTickCount).
#pragma once

#include <cstdint>

// How long the files must be still before they are read.
const uint32_t SettleStillMs = 330;
// SettleWait's answer when nothing waits to be looked at.
const uint32_t SettleNever = 0xFFFFFFFFu;

struct SettleClock {
    bool Pending;      // a change has not been looked at yet
    uint32_t LastSeen; // when the latest change was noticed
};

// A change was noticed at now: the stillness starts again.
void NoteChange(SettleClock* clock, uint32_t now);
// Milliseconds until the changes have settled: 0 when they have,
// SettleNever when none is pending.
uint32_t SettleWait(const SettleClock& clock, uint32_t now);
// The files were looked at: nothing pending until the next change.
void SettleDone(SettleClock* clock);
