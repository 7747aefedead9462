// DirectShow's media-type and subtype identifiers as constants of this library, so that the
// support library needs no DirectShow import library.
#pragma once

#include <windows.h>

namespace media_guids {

#define OUR_GUID_ENTRY(name, l, w1, w2, b1, b2, b3, b4, b5, b6, b7, b8) \
    inline constexpr GUID name = {l, w1, w2, {b1, b2, b3, b4, b5, b6, b7, b8}};
#include <uuids.h> // undefines OUR_GUID_ENTRY at its end

// A FOURCC subtype: the FOURCC followed by 0000-0010-8000-00AA00389B71.
constexpr GUID FourccSubtype(char a, char b, char c, char d)
{
    return {static_cast<unsigned long>(static_cast<unsigned char>(a) | static_cast<unsigned char>(b) << 8 |
                                       static_cast<unsigned char>(c) << 16 | static_cast<unsigned char>(d) << 24),
            0x0000,
            0x0010,
            {0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};
}

// Subtypes the platform's list lacks.
inline constexpr GUID MediaSubtypeY8 = FourccSubtype('Y', '8', ' ', ' ');
inline constexpr GUID MediaSubtypeI420 = FourccSubtype('I', '4', '2', '0');

} // namespace media_guids
