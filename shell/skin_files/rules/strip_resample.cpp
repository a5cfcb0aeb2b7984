#include "shell/skin_files/rules/strip_resample.h"

#include <vector>

namespace {

// One source pixel's share of a target pixel along an axis.
struct Share {
    int32_t Source;
    int32_t Weight;
};

// The shares of each of count target pixels over sourceCount source pixels:
// target j covers [j * sourceCount, (j + 1) * sourceCount) and source i
// covers [i * count, (i + 1) * count) of the same line, so every weight is
// a whole number and the weights of one target pixel add up to sourceCount.
struct Axis {
    std::vector<Share> Shares;
    std::vector<int32_t> First; // count + 1 entries: target j's shares are [First[j], First[j + 1])
};

void BuildAxis(int32_t sourceCount, int32_t count, Axis* axis) {
    axis->Shares.clear();
    axis->First.assign(size_t(count) + 1, 0);
    for (int32_t j = 0; j < count; ++j) {
        axis->First[size_t(j)] = int32_t(axis->Shares.size());
        const int64_t begin = int64_t(j) * sourceCount;
        const int64_t end = begin + sourceCount;
        for (int64_t i = begin / count; i < sourceCount && i * count < end; ++i) {
            const int64_t from = i * count > begin ? i * count : begin;
            const int64_t to = (i + 1) * count < end ? (i + 1) * count : end;
            if (to > from) axis->Shares.push_back({int32_t(i), int32_t(to - from)});
        }
    }
    axis->First[size_t(count)] = int32_t(axis->Shares.size());
}

uint32_t Channel(uint32_t pixel, int shift) {
    return (pixel >> shift) & 0xFF;
}

uint32_t Average(const uint64_t sums[4], uint64_t total) {
    uint32_t result = 0;
    for (int c = 0; c < 4; ++c) {
        uint64_t value = (sums[c] + total / 2) / total;
        result |= uint32_t(value > 255 ? 255 : value) << (8 * c);
    }
    return result;
}

// One target pixel from the shares of its column and row.
uint32_t ResamplePixel(const uint32_t* source, int32_t stride, int32_t columnOffset,
                       const Share* columns, int32_t columnCount, const Share* rows,
                       int32_t rowCount, bool keyed) {
    uint64_t sums[4] = {0, 0, 0, 0};
    uint64_t total = 0, keyWeight = 0;
    for (int32_t r = 0; r < rowCount; ++r) {
        const uint32_t* line = source + int64_t(rows[r].Source) * stride + columnOffset;
        for (int32_t c = 0; c < columnCount; ++c) {
            const uint32_t pixel = line[columns[c].Source];
            const uint64_t weight = uint64_t(rows[r].Weight) * uint64_t(columns[c].Weight);
            total += weight;
            if (keyed && IsKeyPixel(pixel)) {
                keyWeight += weight;
                continue;
            }
            for (int ch = 0; ch < 4; ++ch)
                sums[ch] += Channel(pixel, 8 * ch) * weight;
        }
    }
    if (!keyed) return Average(sums, total);
    if (keyWeight * 2 > total) return ResampleKeyPixel;
    const uint32_t pixel = Average(sums, total - keyWeight) | 0xFF000000u;
    return IsKeyPixel(pixel) ? ResampleNearKeyPixel : pixel;
}

} // namespace

bool IsKeyPixel(uint32_t pixel) {
    return (pixel & 0x00FFFFFFu) == (ResampleKeyPixel & 0x00FFFFFFu);
}

bool ResampleStrip(const uint32_t* source, int32_t sourceWidth, int32_t sourceHeight,
                   const StripSizes& sizes, bool keyed, uint32_t* target) {
    if (!source || !target || sizes.Frames < 1 || sizes.SourceFrameWidth < 1 ||
        sizes.FrameWidth < 1 || sizes.Height < 1 || sourceHeight < 1 ||
        int64_t(sizes.Frames) * sizes.SourceFrameWidth > sourceWidth)
        return false;
    Axis columns, rows;
    BuildAxis(sizes.SourceFrameWidth, sizes.FrameWidth, &columns);
    BuildAxis(sourceHeight, sizes.Height, &rows);
    const int64_t targetWidth = int64_t(sizes.Frames) * sizes.FrameWidth;
    for (int32_t y = 0; y < sizes.Height; ++y) {
        const Share* rowShares = rows.Shares.data() + rows.First[size_t(y)];
        const int32_t rowCount = rows.First[size_t(y) + 1] - rows.First[size_t(y)];
        uint32_t* line = target + y * targetWidth;
        for (int32_t frame = 0; frame < sizes.Frames; ++frame) {
            const int32_t offset = frame * sizes.SourceFrameWidth;
            for (int32_t x = 0; x < sizes.FrameWidth; ++x) {
                const Share* columnShares = columns.Shares.data() + columns.First[size_t(x)];
                const int32_t columnCount = columns.First[size_t(x) + 1] - columns.First[size_t(x)];
                line[int64_t(frame) * sizes.FrameWidth + x] =
                    ResamplePixel(source, sourceWidth, offset, columnShares, columnCount, rowShares,
                                  rowCount, keyed);
            }
        }
    }
    return true;
}
