// The fixed pool of 16 frames of one controller. Frames are handed out by address and given back
// within the same tick; the pool never allocates a frame after its construction.
#pragma once

#include "ObjectDataPath1_InfoDataBufferPath1.h"

#include "StaticAndDynamicBoundsObject.h"

#include <cstdint>

class ObjectAllocatorBufferDataPath1
{
public:
    static constexpr uint32_t kCountBuffers = 16;

    ObjectAllocatorBufferDataPath1() = default;
    // Frames still in use are logged, one line each, and destroyed anyway.
    virtual ~ObjectAllocatorBufferDataPath1();
    ObjectAllocatorBufferDataPath1(const ObjectAllocatorBufferDataPath1&) = delete;
    ObjectAllocatorBufferDataPath1& operator=(const ObjectAllocatorBufferDataPath1&) = delete;

    // The frame of the lowest free entry, as its last user left it, or null when all are in use.
    InfoDataBufferPath1* GetFreeBuffer(uint32_t sizeHint, bool withChildren);
    // 0; E_UNEXPECTED for null; E_FAIL for a frame that is not the pool's.
    HRESULT ReleaseBuffer(InfoDataBufferPath1* frame);
    HRESULT ReleaseAllBuffers();
    uint32_t GetCountUsedBuffers() const;
    HRESULT ResetAllBuffers();

private:
    struct Entry
    {
        Entry();

        InfoDataBufferPath1 m_frame;
        bool m_in_use = false;
    };

    StaticBoundsObject<Entry, kCountBuffers> m_entries;
};
