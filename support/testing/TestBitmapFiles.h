// The bytes of small BMP files for the tests of the picture loaders.
#pragma once

#include <windows.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

// A BMP file of any bit count: the headers of 14 and 40 bytes, the palette (4 bytes an entry), then
// the pixel rows as given (bottom row first for a positive height, each padded to 4 bytes).
inline std::string MakeBmpFile(int width, int height, WORD bitCount, const std::string& palette,
                               const std::string& pixels)
{
    BITMAPFILEHEADER file{};
    BITMAPINFOHEADER info{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(file) + sizeof(info) + static_cast<DWORD>(palette.size());
    file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.size());
    info.biSize = sizeof(info);
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = bitCount;
    info.biClrUsed = static_cast<DWORD>(palette.size() / 4);
    return std::string(reinterpret_cast<const char*>(&file), sizeof(file)) +
           std::string(reinterpret_cast<const char*>(&info), sizeof(info)) + palette + pixels;
}

// A 32-bit BMP: 0x00RRGGBB pixels given top row first; a positive height stores them bottom row
// first. The pixels start at the offset given, after headers of 14 and 40 bytes.
inline std::string MakeBmp32(int width, int height, const std::vector<uint32_t>& topRowFirst, bool bottomUp,
                             uint32_t pixelOffset = 54)
{
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;
    file.bfOffBits = pixelOffset;
    BITMAPINFOHEADER info{};
    info.biSize = sizeof(info);
    info.biWidth = width;
    info.biHeight = bottomUp ? height : -height;
    info.biPlanes = 1;
    info.biBitCount = 32;
    std::string bytes(reinterpret_cast<const char*>(&file), sizeof(file));
    bytes.append(reinterpret_cast<const char*>(&info), sizeof(info));
    bytes.resize(pixelOffset, '\0');
    for (int row = 0; row < height; ++row) {
        const int source = bottomUp ? height - 1 - row : row;
        bytes.append(reinterpret_cast<const char*>(&topRowFirst[static_cast<size_t>(source) * width]), 4u * width);
    }
    const uint32_t total = static_cast<uint32_t>(bytes.size());
    std::memcpy(&bytes[2], &total, sizeof(total));
    return bytes;
}

// Overwrites sizeof(T) bytes of the file at the offset.
template <class T>
void PatchBmp(std::string& bytes, size_t offset, T value)
{
    std::memcpy(&bytes[offset], &value, sizeof(T));
}

// The same picture behind a V5 information header (124 bytes, BI_BITFIELDS with its colour masks),
// the pixels at offset 138.
inline std::string MakeBmp32WithV5Header(int width, int height, const std::vector<uint32_t>& topRowFirst,
                                         bool bottomUp)
{
    std::string bytes = MakeBmp32(width, height, topRowFirst, bottomUp, 138);
    PatchBmp<uint32_t>(bytes, 14, 124);
    PatchBmp<uint32_t>(bytes, 30, BI_BITFIELDS);
    const uint32_t masks[4] = {0xFF0000, 0x00FF00, 0x0000FF, 0xFF000000}; // red, green, blue, alpha
    for (int i = 0; i < 4; ++i)
        PatchBmp(bytes, 54 + 4 * i, masks[i]);
    return bytes;
}

struct NamedBmpFile
{
    std::string name;
    std::string bytes;
};

// 4 x 4 32-bit files that a loader must refuse, each breaking one rule of the format or the sizes:
// signature, header size, compression, depth, sizes of 0, above 16384 or beyond 32 bits, pixel
// offset inside the headers or past the end, a body or header cut short.
inline std::vector<NamedBmpFile> MalformedBmp32Files()
{
    const std::string good = MakeBmp32(4, 4, std::vector<uint32_t>(16, 0x808080), true);
    const auto patched = [&good](size_t offset, auto value) {
        std::string bytes = good;
        PatchBmp(bytes, offset, value);
        return bytes;
    };
    std::string v5PastTheEnd = MakeBmp32WithV5Header(4, 4, std::vector<uint32_t>(16, 0x808080), true);
    v5PastTheEnd.resize(v5PastTheEnd.size() - 4);
    return {
        {"bad-signature.bmp", patched(0, uint16_t{0x5858})},
        {"core-header.bmp", patched(14, uint32_t{12})},
        {"compressed.bmp", patched(30, uint32_t{BI_RLE8})},
        {"depth24.bmp", patched(28, uint16_t{24})},
        {"zero-width.bmp", patched(18, int32_t{0})},
        {"too-wide.bmp", patched(18, int32_t{16385})},
        {"too-high.bmp", patched(22, int32_t{-16385})},
        {"most-negative-height.bmp", patched(22, int32_t{INT32_MIN})},
        {"huge.bmp", patched(18, int32_t{0x40000000})},
        {"offset-in-headers.bmp", patched(10, uint32_t{10})},
        {"offset-past-end.bmp", patched(10, uint32_t{1000})},
        {"truncated.bmp", good.substr(0, good.size() - 1)},
        {"v5-truncated.bmp", v5PastTheEnd},
        {"short-header.bmp", good.substr(0, 30)},
    };
}
