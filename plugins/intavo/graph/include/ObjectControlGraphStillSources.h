// The two sources without a DirectShow filter: a picture file or a folder of pictures (source kind
// 3) and the desktop (kind 4). The graph object keeps one of each and, while it runs, fills the
// caller's frame from them on its graph thread with a bottom-up RGB24 picture (state 2). Both
// belong to the graph thread; nothing here is guarded for another thread.
#pragma once

#include "CTimeServer.h"
#include "MemoryBlockClass.h"
#include "ObjectDataPath1_InfoDataBufferPath1.h"
#include "need_interface.h"

#include <cstdint>

class PictureFileSource
{
public:
    // Pictures above this many pixels are scaled down to kScaledWidth once, when loaded.
    static constexpr int64_t kLargestPixels = 640 * 480;
    static constexpr int kScaledWidth = 640;

    // The clock is the graph object's time server; construction starts the first interval.
    explicit PictureFileSource(CTimeServer& clock);

    // Lists the pictures of the folder a kind-3 description names (nothing for a file or another
    // kind) in the listing's order, keeping the current index inside the list.
    HRESULT RebuildPictureList(const InfoNeedInterface& description);
    // Fills the frame with the picture now due: the file itself, or for a folder the list entry,
    // which moves on once more than intervalMilliseconds have passed. A picture is decoded only
    // when its name changes; one that fails is not tried again until the name changes. 0 with a
    // frame; S_FALSE and no frame when there is no picture; E_FAIL after a logged exception.
    HRESULT FillBufferForPicterFileDriver(const InfoNeedInterface& description, uint32_t intervalMilliseconds,
                                          InfoDataBufferPath1& frame);

    uint32_t GetListCount() const { return m_names.GetCount(); }
    const DynamicString& GetLoadedName() const { return m_loaded_name; }

private:
    DynamicString NameOfPictureDue(const InfoNeedInterface& description, uint32_t intervalMilliseconds);
    HRESULT LoadPictureFile(const DynamicString& fileName);

    // Bottom-up rows of B, G, R, m_stride bytes each; the block only grows.
    MemoryBlockClass<BYTE> m_pixels;
    int32_t m_width = 0;
    int32_t m_height = 0;
    int32_t m_stride = 0;
    DynamicString m_loaded_name;
    DynamicBoundsObject<DynamicString> m_names;
    DynamicBoundsObject<uint32_t> m_attributes;
    uint32_t m_index = 0;
    CTimeServer& m_clock;
    uint64_t m_last_switch;
};

class DesktopSource
{
public:
    // Mode 4: the requested bitmap size of the description around the cursor, kept inside the
    // desktop (E_UNEXPECTED for a size below 1); any other mode: the whole desktop. 0 with a
    // frame, or the capture's failure.
    HRESULT FillBufferForDesktopDriver(const InfoNeedInterface& description, InfoDataBufferPath1& frame);

private:
    // Reused from frame to frame.
    MemoryBlockClass<BYTE> m_pixels;
};
