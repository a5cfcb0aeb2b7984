// The platform-free kernels of one tick, timed natively with Google Benchmark:
// the glow reduction, the key mask, the traffic sums, the traffic text and the
// text template splitter.
#include "render/glow_reduce.h"
#include "render/key_mask.h"
#include "sampling/meter_text.h"
#include "sampling/net_traffic.h"
#include "settings/text_template.h"
#include "shell/pictures/rules/alpha_kernels.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

namespace {

// A large glow buffer with text-like strokes: white columns and rows on black,
// so that the reduction sees full, partial and empty blocks.
std::vector<uint8_t> TextLikeBuffer(const GlowGeometry& g) {
    std::vector<uint8_t> large(size_t(g.LargeWidth) * g.LargeHeight * 4, 0);
    for (int32_t y = 0; y < g.LargeHeight - 5; ++y)
        for (int32_t x = 0; x < g.LargeWidth - 5; ++x)
            if (x % 7 < 3 || y % 11 < 2)
                std::memset(&large[(size_t(y) * g.LargeWidth + x) * 4], 255, 4);
    return large;
}

// Text sizes that DrawTextA measures for Tahoma 8 bold at three times the size:
// "CPU 7%" and a long line of 40 characters.
void BM_GlowReduce(benchmark::State& state) {
    const GlowGeometry g = GlowGeometryFor(int32_t(state.range(0)), 39);
    const std::vector<uint8_t> large = TextLikeBuffer(g);
    std::vector<uint32_t> small(size_t(g.SmallWidth) * g.SmallHeight);
    for (auto _ : state) {
        std::memset(small.data(), 0, small.size() * 4); // the buffer starts zero each call
        ReduceGlow(g, large.data(), small.data(), true, 0x00E6ECF5u, 0);
        benchmark::DoNotOptimize(small.data());
    }
    state.SetItemsProcessed(state.iterations() * int64_t(g.LargeWidth) * g.LargeHeight);
}
BENCHMARK(BM_GlowReduce)->ArgName("text_width")->Arg(84)->Arg(780);

// A rounded panel: transparent corners and edge, opaque inside.
std::vector<uint8_t> PanelPicture(int32_t width, int32_t height) {
    std::vector<uint8_t> bits(size_t(width) * height * 4, 0);
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x) {
            const bool inside = x > 4 && y > 4 && x < width - 5 && y < height - 5;
            bits[(size_t(y) * width + x) * 4 + 3] = inside ? 220 : uint8_t(x % 3);
        }
    return bits;
}

void BM_KeyMask(benchmark::State& state) {
    const int32_t width = int32_t(state.range(0)), height = int32_t(state.range(1));
    const std::vector<uint8_t> picture = PanelPicture(width, height);
    std::vector<uint8_t> mask(picture.size());
    for (auto _ : state) {
        FillKeyMask(picture.data(), mask.data(), width * height);
        benchmark::DoNotOptimize(mask.data());
    }
    state.SetItemsProcessed(state.iterations() * int64_t(width) * height);
}
BENCHMARK(BM_KeyMask)->Args({200, 100})->Args({1000, 1000});

// 63 interface rows, none of them loopback, with counters that move.
void BM_SumIfTable(benchmark::State& state) {
    static IfTableLayout table;
    static NetStateRecord netState;
    static IfClassification kinds; // nothing classified: every row counts
    table.NumEntries = IfRowsCounted;
    for (uint32_t i = 0; i < IfRowsCounted; ++i) {
        table.Rows[i].Index = i + 1;
        table.Rows[i].Type = 6;
        table.Rows[i].Speed = 100000000u;
        std::strcpy(table.Rows[i].Descr, "Ethernet adapter");
    }
    NetReading reading;
    uint32_t step = 0;
    for (auto _ : state) {
        ++step;
        for (uint32_t i = 0; i < IfRowsCounted; ++i) {
            table.Rows[i].InOctets += step * 1500u + i;
            table.Rows[i].OutOctets += step * 400u + i;
        }
        SumIfTable(&netState, &table, &kinds, 0, &reading);
        benchmark::DoNotOptimize(reading);
    }
}
BENCHMARK(BM_SumIfTable);

// The traffic text as the network tick builds it: number form, then the line.
void BM_FormatTraffic(benchmark::State& state) {
    static char text[MeterTextRoom], prefix[MeterAffixRoom] = "In ",
                                     postfix[MeterAffixRoom] = "B/s";
    char number[NumberTextRoom];
    const uint32_t counts[] = {17u, 1234u, 5678901u, 2100000000u};
    uint32_t i = 0;
    for (auto _ : state) {
        TrafficNumberText(counts[i++ & 3], false, number);
        ComposeMeterText(text, prefix, number, postfix);
        benchmark::DoNotOptimize(text);
    }
}
BENCHMARK(BM_FormatTraffic);

void BM_ParseTextFormat(benchmark::State& state) {
    char prefix[TemplatePartMax + 1], postfix[TemplatePartMax + 1];
    for (auto _ : state) {
        int32_t has = SplitTextTemplate("NetIn %i KB/s of %u", prefix, postfix);
        benchmark::DoNotOptimize(has);
        benchmark::DoNotOptimize(prefix);
    }
}
BENCHMARK(BM_ParseTextFormat);

// The alpha library's two kernels on a meter frame and on the skin.
void BM_Premultiply(benchmark::State& state) {
    const int32_t pixels = int32_t(state.range(0));
    std::vector<uint8_t> bits(size_t(pixels) * 4);
    for (size_t i = 0; i < bits.size(); ++i)
        bits[i] = uint8_t(i * 37);
    std::vector<uint8_t> work(bits.size());
    for (auto _ : state) {
        std::memcpy(work.data(), bits.data(), bits.size());
        PremultiplyPixels(work.data(), uint32_t(pixels));
        benchmark::DoNotOptimize(work.data());
    }
}
BENCHMARK(BM_Premultiply)->Arg(40 * 17)->Arg(220 * 120);

void BM_BlendFrame(benchmark::State& state) {
    const int32_t width = 100, height = 12, targetWidth = 220, targetHeight = 120;
    std::vector<uint8_t> source(size_t(width) * 21 * height * 4),
        target(size_t(targetWidth) * targetHeight * 4, 90);
    for (size_t i = 0; i < source.size(); ++i)
        source[i] = uint8_t((i & 3) == 3 ? (i * 13) : (i * 13) / 2);
    PixelBuffer from = {source.data(), width * 21, height, width * 21 * 4, true};
    PixelBuffer to = {target.data(), targetWidth, targetHeight, targetWidth * 4, true};
    BlendRequest request = {106, 17, width, height, 5 * width};
    for (auto _ : state) {
        BlendPremultiplied(from, to, request);
        benchmark::DoNotOptimize(target.data());
    }
}
BENCHMARK(BM_BlendFrame);

} // namespace

BENCHMARK_MAIN();
