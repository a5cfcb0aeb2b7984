#include "sampling/cpu_load.h"

#include <gtest/gtest.h>

namespace {

struct NtCase {
    const char* what;
    uint64_t idle, prevIdle, time, prevTime;
    uint32_t processors;
    uint8_t headroom;
};

// A wall-clock time of today's order; as a double it is exact only to 16
// units, so the spans below are multiples of 16.
const uint64_t Base = 132000000000000000ull;
const uint64_t Span = 16000;

const NtCase NtCases[] = {
    {"nothing idle over a zero span", 5, 5, Base, Base, 1, 0},
    {"one processor idle half the span", 8000, 0, Base + Span, Base, 1, 50},
    {"two processors idle 1.5 spans in sum", 24000, 0, Base + Span, Base, 2, 75},
    {"fully idle", 10000000, 0, Base + 10000000, Base, 1, 100},
    {"100.5 rounds to even 100", 16080, 0, Base + Span, Base, 1, 100},
    {"100.6 rounds to 101, read as 100", 16096, 0, Base + Span, Base, 1, 100},
    {"62.5 rounds to even 62", 10000, 0, Base + Span, Base, 1, 62},
    {"63.5 rounds to even 64", 10160, 0, Base + Span, Base, 1, 64},
    {"zero processors divide by one", 4800, 0, Base + Span, Base, 0, 30},
    {"counters near the top of 64 bits", ~0ull - 1000, ~0ull - 1000, Base + 1, Base, 4, 0},
    // Only the low 8 bits count: 300 keeps 44, 356 keeps 100, -1 keeps 255 -> 100.
    {"300 keeps its low byte 44", 48000, 0, Base + Span, Base, 1, 44},
    {"356 keeps its low byte 100", 56960, 0, Base + Span, Base, 1, 100},
    {"an idle counter that ran back", 0, 160, Base + Span, Base, 1, 100},
    {"64 processors, 32 of them idle", 32 * Span, 0, Base + Span, Base, 64, 50},
    {"the same divided by 32 reads fully idle", 32 * Span, 0, Base + Span, Base, 32, 100},
    {"2048 processors, 512 idle", 512 * Span, 0, Base + Span, Base, 2048, 25},
};

// The count the idle time is divided by: the largest that the system gives.
TEST(ProcessorsSummed, Cases) {
    const struct {
        const char* what;
        uint8_t basic;
        uint32_t native, allGroups, count;
    } cases[] = {
        {"NT 4.0 and 2000: the basic count alone", 2, 0, 0, 2},
        {"one processor reported as none", 0, 0, 0, 0},
        {"XP to Vista, 48 processors under WOW64", 32, 48, 0, 48},
        {"Windows 7 and later, 64 processors under WOW64", 32, 64, 64, 64},
        {"128 processors in two groups", 32, 64, 128, 128},
        {"a 64-bit system of 8 processors", 8, 8, 8, 8},
        {"a count of every group that fell short", 32, 48, 32, 48},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.count, ProcessorsSummed(c.basic, c.native, c.allGroups)) << c.what;
}

TEST(NtIdleHeadroom, Cases) {
    for (const NtCase& c : NtCases) {
        EXPECT_EQ(c.headroom, NtIdleHeadroom(c.idle, c.prevIdle, c.time, c.prevTime, c.processors))
            << c.what;
    }
}

TEST(NtIdleHeadroom, ResultNeverAbove100) {
    for (uint64_t idle = 0; idle < 80000; idle += 112) {
        EXPECT_LE(NtIdleHeadroom(idle, 0, Base + Span, Base, 1), 100) << idle;
    }
}

TEST(VxdHeadroom, Readings) {
    const struct {
        uint32_t reading;
        uint8_t headroom;
    } cases[] = {{0, 100}, {37, 63}, {100, 0}, {101, 100}, {0xFFFFFFFFu, 100}};
    for (const auto& c : cases)
        EXPECT_EQ(c.headroom, VxdHeadroom(c.reading)) << c.reading;
}

TEST(RegistryHeadroom, ReadingsStayWithinRange) {
    const struct {
        uint32_t reading;
        uint8_t headroom;
    } cases[] = {{0, 100}, {37, 63}, {100, 0}, {101, 0}, {355, 0}, {0xFFFFFFFFu, 0}};
    for (const auto& c : cases)
        EXPECT_EQ(c.headroom, RegistryHeadroom(c.reading)) << c.reading;
}

} // namespace
