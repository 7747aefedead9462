#include "MD5/MD5.h"

#include <cstring>

namespace {

constexpr uint32_t kBlockSize = 64;

// Per-round shift amounts and the sine-derived constants of RFC 1321.
constexpr uint8_t kShift[64] = {
    7, 12, 17, 22, 7, 12, 17, 22, 7, 12, 17, 22, 7, 12, 17, 22,
    5, 9,  14, 20, 5, 9,  14, 20, 5, 9,  14, 20, 5, 9,  14, 20,
    4, 11, 16, 23, 4, 11, 16, 23, 4, 11, 16, 23, 4, 11, 16, 23,
    6, 10, 15, 21, 6, 10, 15, 21, 6, 10, 15, 21, 6, 10, 15, 21};

constexpr uint32_t kSine[64] = {
    0xd76aa478, 0xe8c7b756, 0x242070db, 0xc1bdceee, 0xf57c0faf, 0x4787c62a, 0xa8304613, 0xfd469501,
    0x698098d8, 0x8b44f7af, 0xffff5bb1, 0x895cd7be, 0x6b901122, 0xfd987193, 0xa679438e, 0x49b40821,
    0xf61e2562, 0xc040b340, 0x265e5a51, 0xe9b6c7aa, 0xd62f105d, 0x02441453, 0xd8a1e681, 0xe7d3fbc8,
    0x21e1cde6, 0xc33707d6, 0xf4d50d87, 0x455a14ed, 0xa9e3e905, 0xfcefa3f8, 0x676f02d9, 0x8d2a4c8a,
    0xfffa3942, 0x8771f681, 0x6d9d6122, 0xfde5380c, 0xa4beea44, 0x4bdecfa9, 0xf6bb4b60, 0xbebfbc70,
    0x289b7ec6, 0xeaa127fa, 0xd4ef3085, 0x04881d05, 0xd9d4d039, 0xe6db99e5, 0x1fa27cf8, 0xc4ac5665,
    0xf4292244, 0x432aff97, 0xab9423a7, 0xfc93a039, 0x655b59c3, 0x8f0ccc92, 0xffeff47d, 0x85845dd1,
    0x6fa87e4f, 0xfe2ce6e0, 0xa3014314, 0x4e0811a1, 0xf7537e82, 0xbd3af235, 0x2ad7d2bb, 0xeb86d391};

uint32_t RotateLeft(uint32_t value, uint32_t count)
{
    return (value << count) | (value >> (32 - count));
}

uint32_t LittleEndianWord(const uint8_t* bytes)
{
    return uint32_t(bytes[0]) | uint32_t(bytes[1]) << 8 | uint32_t(bytes[2]) << 16 | uint32_t(bytes[3]) << 24;
}

// The four rounds of sixteen steps over one 64-byte block.
void TransformBlock(uint32_t state[4], const uint8_t* block)
{
    uint32_t words[16];
    for (uint32_t i = 0; i < 16; ++i)
        words[i] = LittleEndianWord(block + 4 * i);

    uint32_t a = state[0], b = state[1], c = state[2], d = state[3];
    for (uint32_t step = 0; step < 64; ++step) {
        uint32_t mixed = 0;
        uint32_t wordIndex = 0;
        switch (step / 16) {
        case 0: mixed = (b & c) | (~b & d); wordIndex = step; break;
        case 1: mixed = (d & b) | (~d & c); wordIndex = (5 * step + 1) % 16; break;
        case 2: mixed = b ^ c ^ d; wordIndex = (3 * step + 5) % 16; break;
        default: mixed = c ^ (b | ~d); wordIndex = (7 * step) % 16; break;
        }
        const uint32_t rotated = RotateLeft(a + mixed + kSine[step] + words[wordIndex], kShift[step]);
        a = d;
        d = c;
        c = b;
        b += rotated;
    }
    state[0] += a;
    state[1] += b;
    state[2] += c;
    state[3] += d;
}

} // namespace

HRESULT MD5Init(MD5Context* context)
{
    if (context == nullptr)
        return E_INVALIDARG;
    context->m_byteCount = 0;
    context->m_state[0] = 0x67452301;
    context->m_state[1] = 0xefcdab89;
    context->m_state[2] = 0x98badcfe;
    context->m_state[3] = 0x10325476;
    std::memset(context->m_block, 0, sizeof(context->m_block));
    return S_OK;
}

HRESULT MD5Update(MD5Context* context, const void* data, size_t size)
{
    if (context == nullptr || (data == nullptr && size != 0))
        return E_INVALIDARG;
    const uint8_t* input = static_cast<const uint8_t*>(data);
    uint32_t used = static_cast<uint32_t>(context->m_byteCount % kBlockSize);
    context->m_byteCount += size;
    while (size > 0) {
        const size_t take = size < kBlockSize - used ? size : kBlockSize - used;
        std::memcpy(context->m_block + used, input, take);
        used += static_cast<uint32_t>(take);
        input += take;
        size -= take;
        if (used == kBlockSize) {
            TransformBlock(context->m_state, context->m_block);
            used = 0;
        }
    }
    return S_OK;
}

HRESULT MD5Final(uint8_t* digest, MD5Context* context)
{
    if (digest == nullptr || context == nullptr)
        return E_INVALIDARG;
    const uint64_t bitCount = context->m_byteCount * 8;
    // One 0x80 byte, zeros up to 56 bytes into a block, then the bit count in little-endian order.
    const uint8_t padding[kBlockSize] = {0x80};
    const uint32_t used = static_cast<uint32_t>(context->m_byteCount % kBlockSize);
    MD5Update(context, padding, used < 56 ? 56 - used : 120 - used);
    uint8_t length[8];
    for (uint32_t i = 0; i < 8; ++i)
        length[i] = static_cast<uint8_t>(bitCount >> (8 * i));
    MD5Update(context, length, sizeof(length));
    for (uint32_t i = 0; i < 16; ++i)
        digest[i] = static_cast<uint8_t>(context->m_state[i / 4] >> (8 * (i % 4)));
    return S_OK;
}
