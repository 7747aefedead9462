// The mixer data interface calls the mixer's benchmark scenes make.
#pragma once

#include "ObjectDataPath1.h"

#include <cstdint>

// Method 0 (input switch: second is the flag) or another method of two 32-bit values.
HRESULT CallMixerData(ObjectDataPath1& filter, int32_t method, int32_t first, int32_t second);
