// Encodes a 32-bit BGRA picture as a PNG file in memory: stored (uncompressed)
// deflate blocks, enough for screenshots and generated test pictures.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// rows: top row first, each `stride` bytes of B, G, R, A. withAlpha chooses
// RGBA or RGB output. Returns the PNG bytes.
std::string EncodePng(const uint8_t* rows, int width, int height, size_t stride, bool withAlpha);
uint32_t Crc32(const uint8_t* data, size_t size, uint32_t crc = 0);
