// The alpha library's kernels: any blend request, however far outside, is cut
// to what lies inside both buffers, and blending touches nothing else; the
// region rows never write more runs than asked.
#include "fuzz/fuzz_check.h"
#include "shell/pictures/rules/alpha_kernels.h"
#include "shell/pictures/rules/region_runs.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <vector>

namespace {

PixelBuffer MakeBuffer(FuzzedDataProvider* input, std::vector<uint8_t>* storage) {
    PixelBuffer buffer;
    buffer.Width = input->ConsumeIntegralInRange<int32_t>(1, 40);
    buffer.Height = input->ConsumeIntegralInRange<int32_t>(1, 40);
    buffer.Stride = buffer.Width * 4;
    buffer.BottomUp = input->ConsumeBool();
    storage->assign(size_t(buffer.Stride) * buffer.Height, input->ConsumeIntegral<uint8_t>());
    buffer.Bits = storage->data();
    return buffer;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    BlendRequest request;
    request.X = input.ConsumeIntegral<int32_t>();
    request.Y = input.ConsumeIntegral<int32_t>();
    request.Width = input.ConsumeIntegral<int32_t>();
    request.Height = input.ConsumeIntegral<int32_t>();
    request.SourceX = input.ConsumeIntegral<int32_t>();
    if (input.ConsumeBool()) {
        // Mostly near the buffers, where the edges are.
        request.X %= 64;
        request.Y %= 64;
        request.Width %= 64;
        request.Height %= 64;
        request.SourceX %= 64;
    }
    const int32_t sw = input.ConsumeIntegral<int32_t>(), sh = input.ConsumeIntegral<int32_t>();
    const int32_t tw = input.ConsumeIntegral<int32_t>(), th = input.ConsumeIntegral<int32_t>();
    ClippedBlock block;
    if (ClipBlendRequest(request, sw, sh, tw, th, &block)) {
        FUZZ_CHECK(block.Width > 0 && block.Height > 0);
        FUZZ_CHECK(block.SourceX >= 0 && int64_t(block.SourceX) + block.Width <= sw);
        FUZZ_CHECK(block.SourceY >= 0 && int64_t(block.SourceY) + block.Height <= sh);
        FUZZ_CHECK(block.TargetX >= 0 && int64_t(block.TargetX) + block.Width <= tw);
        FUZZ_CHECK(block.TargetY >= 0 && int64_t(block.TargetY) + block.Height <= th);
        FUZZ_CHECK(block.Width <= request.Width && block.Height <= request.Height);
    }

    std::vector<uint8_t> sourceBits, targetBits;
    PixelBuffer source = MakeBuffer(&input, &sourceBits);
    PixelBuffer target = MakeBuffer(&input, &targetBits);
    for (size_t i = 0; i < sourceBits.size() && input.remaining_bytes() > 0; ++i)
        sourceBits[i] = input.ConsumeIntegral<uint8_t>();
    PremultiplyPixels(sourceBits.data(), uint32_t(source.Width * source.Height));
    for (size_t i = 0; i < sourceBits.size(); i += 4)
        FUZZ_CHECK(sourceBits[i] <= sourceBits[i + 3] && sourceBits[i + 1] <= sourceBits[i + 3] &&
                   sourceBits[i + 2] <= sourceBits[i + 3]);
    BlendPremultiplied(source, target, request);

    std::vector<uint32_t> row(size_t(source.Width));
    for (int32_t x = 0; x < source.Width; ++x)
        row[x] = uint32_t(sourceBits[x * 4]) | (uint32_t(sourceBits[x * 4 + 1]) << 8);
    const int32_t maxRuns = input.ConsumeIntegralInRange<int32_t>(0, 24);
    std::vector<PixelRun> runs(static_cast<size_t>(maxRuns));
    const int32_t found = FindRowRuns(row.data(), source.Width, input.ConsumeIntegral<uint32_t>(),
                                      runs.data(), maxRuns);
    FUZZ_CHECK(found >= 0 && found <= maxRuns);
    for (int32_t i = 0; i < found; ++i) {
        FUZZ_CHECK(runs[i].Left >= 0 && runs[i].Left < runs[i].Right &&
                   runs[i].Right <= source.Width);
        if (i > 0) FUZZ_CHECK(runs[i].Left > runs[i - 1].Right);
    }
    return 0;
}
