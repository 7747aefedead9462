// The frame buffer that every data-path object passes along, and the process-wide frame heap its
// blocks live in. Plug-ins read and write the public fields directly: their order and widths are
// shared by every module.
#pragma once

#include "CorelinkApi.h"
#include "StructForInterfaceDataPath1.h"

#include "KestrelDebugFunct.h"
#include "StaticAndDynamicBoundsObject.h"

#include <windows.h>

#include <cstdint>

// The description with which every frame buffer begins.
class CORELINK_API InfoCallInterfaceDataPath1
{
public:
    static constexpr uint32_t kStateEmpty = 1;
    static constexpr uint32_t kStateFrame = 2;
    static constexpr uint32_t kStateVirtual = 0x100;
    static constexpr uint32_t kNumberParams = 16;

    InfoCallInterfaceDataPath1();
    InfoCallInterfaceDataPath1(const InfoCallInterfaceDataPath1& other);
    // Copies the description; the parameters stay with their record.
    InfoCallInterfaceDataPath1& operator=(const InfoCallInterfaceDataPath1& other);
    // Trades descriptions with other; the parameters stay with their records.
    void SwapDescription(InfoCallInterfaceDataPath1& other);

    // With full set, also clears the bitmap header and the extra description.
    HRESULT ResetStruct(bool full);
    HRESULT InitDefaultParameters();
    HRESULT ClearAllParameters();

    uint32_t m_state;
    uint32_t m_reserved[2];
    GUID m_major_type;
    GUID m_subtype;
    GUID m_format_type;
    uint32_t m_count;
    StaticBoundsObject<InfoParamDataPath1, kNumberParams> m_params;
    BITMAPINFOHEADER m_bih;
    uint32_t m_extra[4];
    uint16_t m_extra_short;

private:
    void CopyDescription(const InfoCallInterfaceDataPath1& other);
    void ClearExtendedDescription();
};

enum TypeOperationUpdateCopyHandleHeap
{
    TypeOperationReleaseHeap = 0,
    TypeOperationTakeHeap = 1,
    TypeOperationDumpHeap = 2,
};

class CORELINK_API InfoDataBufferPath1
{
public:
    static constexpr uint32_t kNumberChildren = 20;

    explicit InfoDataBufferPath1(bool unused = false);
    ~InfoDataBufferPath1();
    InfoDataBufferPath1(const InfoDataBufferPath1&) = delete;
    // Copies description, data and children; lets integer 241 out for itself, another self size,
    // another heap and a copy that would not fit.
    InfoDataBufferPath1& operator=(const InfoDataBufferPath1& other);

    HRESULT InternalConstructor(bool enableChildren);
    HRESULT InternalDestructor();

    HRESULT AllocBufferForStandartTypeVideoData(int size, int width, int height, int stride, int dataOffset,
                                                int dataSize, GUID subtype, unsigned long compression,
                                                unsigned short bitCount);
    HRESULT AllocBufferEqualCurrent(const InfoDataBufferPath1& other);
    HRESULT UpdateSizeBuffer(unsigned width, unsigned height);
    HRESULT CheckAlignedFrame();
    HRESULT FillBoardBufferForSvertka(bool singleSamples);
    HRESULT SlowFillRect(short value, unsigned x, unsigned y, unsigned width, unsigned height);
    HRESULT CopyHalfBufferFromCurrent(InfoDataBufferPath1& other);
    HRESULT ExchangeBuffersAndDataFromCurrent(InfoDataBufferPath1& other);
    HRESULT EnableChildBuffers();

    // 1 when the frame carries a picture, 0 for a virtual frame.
    HRESULT IsVirtualFrame() const;
    HRESULT SetVirtualFrame();
    // 0 only for a frame with a block, data and a full description; else 1.
    HRESULT IsNULLFrame() const;
    HRESULT SetNULLFrame();

    HRESULT DumpInfo(const DynamicString& caption) const;
    static HRESULT DumpHeapInfo();
    static HRESULT DumpCountAndMemCommitObjects();

    InfoCallInterfaceDataPath1 m_info;
    BYTE* m_data;
    int32_t m_capacity;
    int32_t m_size_data;
    int32_t m_offset_data;
    int32_t m_stride;
    int32_t m_number_frame;
    DynamicBoundsObject<InfoDataBufferPath1> m_child_buffers;
    StaticBoundsObject<int32_t, kNumberChildren> m_index_child;
    uint32_t m_self_size;
    HANDLE m_heap_buffer;

    // The frame heap of the process and the number of buffers that hold it.
    static HANDLE m_heap;
    static int32_t m_count_ref_heap;

private:
    HRESULT ResetStruct();
    HRESULT AllocBuffer(int size, bool extra16);
    int32_t Width() const { return m_info.m_bih.biWidth; }
    int32_t Height() const { return m_info.m_bih.biHeight; }
    bool HoldsRange(int64_t start, int64_t length) const;
    void CopyDataFrom(const InfoDataBufferPath1& other);
    HRESULT MoveDataToAlignedOffset();
    HRESULT CropWidthToMultipleOf16();
    HRESULT CropPackedRows(int32_t newWidth, uint32_t bytesPerPixel);
    HRESULT CropPlanarRows(int32_t newWidth);
    void MirrorRowBorders(int16_t* row, int32_t width, bool singleSamples);
    static HRESULT UpdateCopyHandleHeap(void*& handle, TypeOperationUpdateCopyHandleHeap operation);
};

#if !defined(_WIN64)
static_assert(sizeof(InfoDataBufferPath1) == 896, "InfoDataBufferPath1 is 896 bytes");
#endif
