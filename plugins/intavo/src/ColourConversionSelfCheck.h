// The colour-conversion self-check a source can be told to run on each delivered frame: the
// first bytes of the frame, taken as a 640 x 480 RGB24 picture, go through the HSL planes and back
// into scratch blocks. Nothing of it reaches the data path.
#pragma once

#include <windows.h>

#include <cstdint>

// Where the check takes its blocks from; tests hand in one that fails.
struct SelfCheckAllocator
{
    HRESULT (*allocate)(BYTE** slot, uint64_t size);
    HRESULT (*release)(BYTE** slot);
};
const SelfCheckAllocator& DefaultSelfCheckAllocator();

// true when the check ran; false when one of its blocks could not be had (the blocks it took are
// given back and nothing is converted).
bool RunColourConversionSelfCheck(const BYTE* data, int32_t capacity, const SelfCheckAllocator& allocator);
