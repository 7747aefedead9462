// MD5 message digest (RFC 1321): initialise, update over any byte count, finalise.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

constexpr uint32_t MD5_DIGEST_SIZE = 16;

struct MD5Context
{
    uint64_t m_byteCount;  // bytes fed so far
    uint32_t m_state[4];   // chaining words A, B, C, D
    uint8_t m_block[64];   // bytes of the block not yet complete
};

// Each answers 0, or 0x80070057 for a null context, digest or data with a non-zero size.
HRESULT MD5Init(MD5Context* context);
HRESULT MD5Update(MD5Context* context, const void* data, size_t size);
// Pads, appends the bit length and writes the 16-byte digest; the context must be initialised again for reuse.
HRESULT MD5Final(uint8_t* digest, MD5Context* context);
