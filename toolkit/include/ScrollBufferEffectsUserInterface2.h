// Animated backgrounds that derived widgets run in their picture cycles: a general buffer scrolled
// downwards by the time passed, the rows coming in at the top filled with dark noise or with
// falling trails.
#pragma once

#include "InfoGeneralBufferForUserInterface2.h"

#include <cstdint>

// Scrolls by speed rows a second of the time since *lastTime (at most 5 s counted, at most
// height - 1 rows); new rows get random values 0..63. 1 when no whole row is due or apply is
// clear (*lastTime then stays); else 0 or the row shift's failure. E_INVALIDARG for no buffer or
// time, E_UNEXPECTED for a buffer without planes: nothing is written then.
HRESULT FunctScrollBufferByTime(InfoGeneralBufferForUserInterface2* buffer, uint8_t apply, int64_t now,
                                int64_t* lastTime, float speed);

// The same, each plane whose mask byte is set; its new rows come from the channel's row buffer,
// which fades by decay a row and is relit up to trailCount points (at most 0.9 x width). The three
// row buffers (library memory owned by the caller) grow to the buffer's width with new entries 0;
// E_FAIL when they cannot, before anything is written.
HRESULT FunctScrollBufferWithTrailsByTime(InfoGeneralBufferForUserInterface2* buffer, int16_t** rowBuffers,
                                          int32_t* rowWidth, const uint8_t* channelMask, uint8_t apply, int64_t now,
                                          int64_t* lastTime, float speed, int32_t trailCount, int32_t decay);

// Test seam: the reallocation of one row buffer (size bytes); null restores the library's.
using RowBufferReallocationUserInterface2 = HRESULT (*)(int16_t** rowBuffer, uint64_t size);
void SetRowBufferReallocationForTest(RowBufferReallocationUserInterface2 reallocation);
