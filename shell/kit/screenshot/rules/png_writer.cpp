#include "shell/kit/screenshot/rules/png_writer.h"

namespace {

uint32_t Adler32(const std::string& data) {
    uint32_t a = 1, b = 0;
    for (unsigned char c : data) {
        a = (a + c) % 65521;
        b = (b + a) % 65521;
    }
    return (b << 16) | a;
}

void PutU32(std::string* out, uint32_t v) {
    out->push_back(static_cast<char>(v >> 24));
    out->push_back(static_cast<char>(v >> 16));
    out->push_back(static_cast<char>(v >> 8));
    out->push_back(static_cast<char>(v));
}

void PutChunk(std::string* out, const char* type, const std::string& data) {
    PutU32(out, static_cast<uint32_t>(data.size()));
    std::string body(type, 4);
    body += data;
    out->append(body);
    PutU32(out, Crc32(reinterpret_cast<const uint8_t*>(body.data()), body.size()));
}

} // namespace

uint32_t Crc32(const uint8_t* data, size_t size, uint32_t crc) {
    static uint32_t table[256];
    if (table[1] == 0) {
        for (uint32_t n = 0; n < 256; ++n) {
            uint32_t c = n;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            table[n] = c;
        }
    }
    crc = ~crc;
    for (size_t i = 0; i < size; ++i)
        crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

std::string EncodePng(const uint8_t* rows, int width, int height, size_t stride, bool withAlpha) {
    const int channels = withAlpha ? 4 : 3;
    std::string raw;
    raw.reserve(static_cast<size_t>(height) * (1 + static_cast<size_t>(width) * channels));
    for (int y = 0; y < height; ++y) {
        raw.push_back(0); // filter: none
        const uint8_t* p = rows + static_cast<size_t>(y) * stride;
        for (int x = 0; x < width; ++x, p += 4) {
            raw.push_back(static_cast<char>(p[2]));
            raw.push_back(static_cast<char>(p[1]));
            raw.push_back(static_cast<char>(p[0]));
            if (withAlpha) raw.push_back(static_cast<char>(p[3]));
        }
    }
    // zlib stream of stored blocks of at most 65535 bytes.
    std::string z("\x78\x01", 2);
    size_t pos = 0;
    do {
        size_t n = raw.size() - pos < 65535 ? raw.size() - pos : 65535;
        bool last = pos + n == raw.size();
        z.push_back(last ? 1 : 0);
        z.push_back(static_cast<char>(n & 0xFF));
        z.push_back(static_cast<char>(n >> 8));
        z.push_back(static_cast<char>(~n & 0xFF));
        z.push_back(static_cast<char>((~n >> 8) & 0xFF));
        z.append(raw, pos, n);
        pos += n;
    } while (pos < raw.size());
    PutU32(&z, Adler32(raw));

    std::string png("\x89PNG\r\n\x1a\n", 8);
    std::string header;
    PutU32(&header, static_cast<uint32_t>(width));
    PutU32(&header, static_cast<uint32_t>(height));
    header.push_back(8);                     // bit depth
    header.push_back(withAlpha ? 6 : 2);     // colour type RGBA / RGB
    header.append(std::string("\0\0\0", 3)); // compression, filter, interlace
    PutChunk(&png, "IHDR", header);
    PutChunk(&png, "IDAT", z);
    PutChunk(&png, "IEND", std::string());
    return png;
}
