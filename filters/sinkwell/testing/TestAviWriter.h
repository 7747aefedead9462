// Writes small uncompressed AVI files (one video stream) for graph tests.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

struct TestAviFormat
{
    DWORD compression; // BI_RGB or a FOURCC such as 'YUY2'
    WORD bitCount;
    int32_t width;
    int32_t height;
};

// Bytes of one frame: RGB rows are DWORD-aligned, 4:2:0 planar formats take 12 bits a pixel.
uint32_t TestAviFrameSize(const TestAviFormat& format);
// A FOURCC from its four characters, as AVI and DirectShow store it.
constexpr DWORD TestFourcc(char a, char b, char c, char d)
{
    return static_cast<DWORD>(static_cast<uint8_t>(a) | static_cast<uint8_t>(b) << 8 |
                              static_cast<uint8_t>(c) << 16 | static_cast<uint32_t>(static_cast<uint8_t>(d)) << 24);
}
// Every frame must be TestAviFrameSize bytes and the rate above 0. true when the file was written.
bool WriteTestAvi(const std::wstring& path, const TestAviFormat& format, uint32_t framesPerSecond,
                  const std::vector<std::vector<uint8_t>>& frames);
