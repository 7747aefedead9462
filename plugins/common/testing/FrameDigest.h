// A digest of the picture a frame buffer carries: its visible bytes only (bytes per pixel x width
// of each row, rows a stride apart), so frames that differ only in padding digest alike.
// For tests only; header-only so that the test plug-ins can use it too.
#pragma once

#include "ObjectDataPath1_InfoDataBufferPath1.h"

#include "sys_funct1.h"

#include <cstdint>
#include <cstdlib>

// FNV-1a over rowBytes of each of the rows.
inline uint64_t DigestRows(const uint8_t* data, int64_t rowBytes, int64_t rows, int64_t stride)
{
    uint64_t digest = 14695981039346656037ull;
    for (int64_t r = 0; r < rows; ++r)
        for (int64_t i = 0; i < rowBytes; ++i) {
            digest ^= data[r * stride + i];
            digest *= 1099511628211ull;
        }
    return digest;
}

// 0 for a frame without data or whose rows would leave its block.
inline uint64_t DigestVisibleBytes(const InfoDataBufferPath1& frame)
{
    if (frame.m_data == nullptr || frame.m_size_data <= 0)
        return 0;
    const int64_t rowBytes = static_cast<int64_t>(GetBytesPerPixelFromSubtype(frame.m_info.m_subtype)) *
                             std::abs(frame.m_info.m_bih.biWidth);
    const int64_t rows = std::abs(frame.m_info.m_bih.biHeight);
    if (rows == 0 || frame.m_stride < rowBytes ||
        frame.m_offset_data < 0 || frame.m_offset_data + (rows - 1) * frame.m_stride + rowBytes > frame.m_capacity)
        return 0;
    return DigestRows(frame.m_data + frame.m_offset_data, rowBytes, rows, frame.m_stride);
}
