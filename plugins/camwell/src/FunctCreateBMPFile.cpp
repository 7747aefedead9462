#include "FunctCreateBMPFile.h"

#include "GdiScopes.h"
#include "MediaSubtypeGuids.h"
#include "g_managment_mem.h"

#include <amvideo.h>
#include <dvdmedia.h>

#include <climits>
#include <cstring>

using namespace media_guids;

namespace {

constexpr uint32_t kFileHeaderSize = 14;
constexpr uint32_t kInfoHeaderSize = 40;
constexpr COLORREF kCaptionColour = 0x009B9B00;

static_assert(sizeof(BITMAPFILEHEADER) == kFileHeaderSize, "the file header is 14 bytes");
static_assert(sizeof(BITMAPINFOHEADER) == kInfoHeaderSize, "the info header is 40 bytes");
static_assert(kFileHeaderSize + kInfoHeaderSize + 4 == kPixelOffsetBMPFile, "a 4-byte gap before the pixels");

// ---- Pixels ---------------------------------------------------------------------------------

uint8_t ClampByte(int32_t value)
{
    return static_cast<uint8_t>(value < 0 ? 0 : (value > 255 ? 255 : value));
}

// Fixed-point conversion of studio-range YUV; division truncates toward zero.
void YuvToBgr(int32_t y, int32_t u, int32_t v, BYTE* bgr)
{
    const int32_t c = 9576 * (y - 16);
    bgr[0] = ClampByte((c + 16591 * (u - 128)) / 8192);
    bgr[1] = ClampByte((c - 3218 * (u - 128) - 6686 * (v - 128)) / 8192);
    bgr[2] = ClampByte((c + 13123 * (v - 128)) / 8192);
}

uint8_t FiveBitsTo8(uint32_t value)
{
    return static_cast<uint8_t>(value << 3 | value >> 2);
}

uint8_t SixBitsTo8(uint32_t value)
{
    return static_cast<uint8_t>(value << 2 | value >> 4);
}

uint32_t Word(const BYTE* bytes)
{
    return bytes[0] | static_cast<uint32_t>(bytes[1]) << 8;
}

// Each reads pixel x of a source row into B, G, R.
using ReadPixelFunction = void (*)(const BYTE* row, int64_t x, BYTE* bgr);

void ReadYuy2(const BYTE* row, int64_t x, BYTE* bgr)
{
    const BYTE* pair = row + 4 * (x / 2);
    YuvToBgr(row[2 * x], pair[1], pair[3], bgr);
}

void ReadUyvy(const BYTE* row, int64_t x, BYTE* bgr)
{
    const BYTE* pair = row + 4 * (x / 2);
    YuvToBgr(row[2 * x + 1], pair[0], pair[2], bgr);
}

void ReadY8(const BYTE* row, int64_t x, BYTE* bgr)
{
    YuvToBgr(row[x], 128, 128, bgr);
}

void ReadRgb565(const BYTE* row, int64_t x, BYTE* bgr)
{
    const uint32_t word = Word(row + 2 * x);
    bgr[0] = FiveBitsTo8(word & 31);
    bgr[1] = SixBitsTo8(word >> 5 & 63);
    bgr[2] = FiveBitsTo8(word >> 11 & 31);
}

void ReadRgb555(const BYTE* row, int64_t x, BYTE* bgr)
{
    const uint32_t word = Word(row + 2 * x);
    bgr[0] = FiveBitsTo8(word & 31);
    bgr[1] = FiveBitsTo8(word >> 5 & 31);
    bgr[2] = FiveBitsTo8(word >> 10 & 31);
}

void ReadRgb24(const BYTE* row, int64_t x, BYTE* bgr)
{
    std::memcpy(bgr, row + 3 * x, 3);
}

void ReadRgb32(const BYTE* row, int64_t x, BYTE* bgr)
{
    std::memcpy(bgr, row + 4 * x, 3);
}

struct PixelLayout
{
    const GUID* subtype;
    uint16_t bitCount;
    ReadPixelFunction read;
};

const PixelLayout* FindLayout(const GUID& subtype)
{
    static const PixelLayout layouts[] = {
        {&MEDIASUBTYPE_YUY2, 16, ReadYuy2},     {&MEDIASUBTYPE_UYVY, 16, ReadUyvy},
        {&MediaSubtypeY8, 8, ReadY8},           {&MEDIASUBTYPE_RGB565, 16, ReadRgb565},
        {&MEDIASUBTYPE_RGB555, 16, ReadRgb555}, {&MEDIASUBTYPE_RGB24, 24, ReadRgb24},
        {&MEDIASUBTYPE_RGB32, 32, ReadRgb32},
    };
    for (const PixelLayout& layout : layouts)
        if (IsEqualGUID(*layout.subtype, subtype))
            return &layout;
    return nullptr;
}

// The bits per pixel of the subtypes the front describes; 0 for any other.
uint16_t FrontBitCount(const GUID& subtype)
{
    if (IsEqualGUID(subtype, MEDIASUBTYPE_YUY2) || IsEqualGUID(subtype, MEDIASUBTYPE_UYVY) ||
        IsEqualGUID(subtype, MEDIASUBTYPE_YVYU))
        return 16;
    if (IsEqualGUID(subtype, MediaSubtypeY8))
        return 8;
    return 0;
}

// ---- Headers --------------------------------------------------------------------------------

const BITMAPINFOHEADER* SourceHeader(const AM_MEDIA_TYPE& type)
{
    size_t offset = 0;
    if (IsEqualGUID(type.formattype, FORMAT_VideoInfo))
        offset = offsetof(VIDEOINFOHEADER, bmiHeader);
    else if (IsEqualGUID(type.formattype, FORMAT_VideoInfo2))
        offset = offsetof(VIDEOINFOHEADER2, bmiHeader);
    else
        return nullptr;
    if (type.pbFormat == nullptr || type.cbFormat < offset + sizeof(BITMAPINFOHEADER))
        return nullptr;
    return reinterpret_cast<const BITMAPINFOHEADER*>(type.pbFormat + offset);
}

int64_t RowBytes(int64_t width, int64_t bitCount)
{
    return (bitCount / 8 * width + 3) / 4 * 4;
}

BITMAPINFOHEADER FileInfoHeader(int32_t width, int32_t height, uint32_t imageSize)
{
    BITMAPINFOHEADER info{};
    info.biSize = kInfoHeaderSize;
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biCompression = BI_RGB;
    info.biSizeImage = imageSize;
    return info;
}

// Both headers and the zero gap; the block holds at least the pixel offset.
void WriteHeaders(BYTE* file, const BITMAPINFOHEADER& info)
{
    BITMAPFILEHEADER header{};
    header.bfType = 0x4D42; // "BM"
    header.bfSize = info.biSizeImage + kPixelOffsetBMPFile;
    header.bfOffBits = kPixelOffsetBMPFile;
    std::memcpy(file, &header, kFileHeaderSize);
    std::memcpy(file + kFileHeaderSize, &info, kInfoHeaderSize);
    std::memset(file + kFileHeaderSize + kInfoHeaderSize, 0, kPixelOffsetBMPFile - kFileHeaderSize - kInfoHeaderSize);
}

BITMAPINFOHEADER ReadInfoHeader(const BYTE* file)
{
    BITMAPINFOHEADER info;
    std::memcpy(&info, file + kFileHeaderSize, kInfoHeaderSize);
    return info;
}

// ---- Stretch and caption --------------------------------------------------------------------

class DesktopContext
{
public:
    DesktopContext() : m_context(GetDC(GetDesktopWindow())) {}
    ~DesktopContext()
    {
        if (m_context != nullptr)
            ReleaseDC(GetDesktopWindow(), m_context);
    }
    DesktopContext(const DesktopContext&) = delete;
    DesktopContext& operator=(const DesktopContext&) = delete;
    HDC Get() const { return m_context; }

private:
    HDC m_context;
};

// Draws the picture of the block stretched onto the bitmap, with the caption; false when the
// stretch fails.
bool DrawStretchedWithCaption(HDC context, HBITMAP bitmap, const BYTE* file, const char* caption)
{
    ScopedSelection selection(context, bitmap);
    if (!selection.Selected())
        return false;
    BITMAPINFO source{};
    source.bmiHeader = ReadInfoHeader(file);
    if (StretchDIBits(context, 0, 0, kWidthBMPFile, kHeightBMPFile, 0, 0, source.bmiHeader.biWidth,
                      source.bmiHeader.biHeight, file + kPixelOffsetBMPFile, &source, DIB_RGB_COLORS,
                      SRCCOPY) <= 0)
        return false;
    if (caption != nullptr && caption[0] != '\0') {
        SetBkMode(context, OPAQUE);
        SetTextColor(context, kCaptionColour);
        RECT band = {0, 0, 700, 200};
        DrawTextA(context, caption, -1, &band, DT_SINGLELINE);
    }
    return true;
}

} // namespace

HRESULT ConvertVideoFrameToBMP24(MemoryBlockClass<BYTE>& block, const BYTE* data, int64_t length,
                                 const AM_MEDIA_TYPE& type)
{
    try {
        block.Free();
        if (data == nullptr || length <= 0 || !IsEqualGUID(type.majortype, MEDIATYPE_Video))
            return E_FAIL;
        const BITMAPINFOHEADER* source = SourceHeader(type);
        const PixelLayout* layout = FindLayout(type.subtype);
        if (source == nullptr || layout == nullptr || source->biBitCount != layout->bitCount)
            return E_FAIL;
        const int64_t width = source->biWidth;
        const int64_t height = source->biHeight < 0 ? -static_cast<int64_t>(source->biHeight) : source->biHeight;
        if (width <= 0 || height == 0)
            return E_FAIL;
        const int64_t sourceRow = RowBytes(width, layout->bitCount);
        const int64_t fileRow = RowBytes(width, 24);
        const int64_t imageSize = fileRow * height;
        // Nothing is read past the source, and the sizes fit the file's 32-bit fields.
        if (sourceRow * height > length || imageSize + kPixelOffsetBMPFile > INT32_MAX)
            return E_FAIL;
        if (FAILED(block.CreateBlock(static_cast<uint32_t>(imageSize + kPixelOffsetBMPFile))))
            return E_FAIL;

        BYTE* file = block.GetData();
        WriteHeaders(file, FileInfoHeader(static_cast<int32_t>(width), static_cast<int32_t>(height),
                                          static_cast<uint32_t>(imageSize)));
        BYTE* pixels = file + kPixelOffsetBMPFile;
        std::memset(pixels, 0, static_cast<size_t>(imageSize));
        // Source rows run top-down, file rows bottom-up.
        for (int64_t i = 0; i < height; ++i) {
            const BYTE* sourceRowStart = data + i * sourceRow;
            BYTE* fileRowStart = pixels + (height - 1 - i) * fileRow;
            for (int64_t x = 0; x < width; ++x)
                layout->read(sourceRowStart, x, fileRowStart + 3 * x);
        }
        return S_OK;
    }
    catch (...) {
        LogExceptionAt(__FILE__, __LINE__);
        block.Free();
        return E_FAIL;
    }
}

HRESULT ScaleBMP24WithCaption(MemoryBlockClass<BYTE>& block, const char* caption)
{
    try {
        if (block.GetData() == nullptr || block.GetSize() < kPixelOffsetBMPFile)
            return E_FAIL;
        ScopedMemoryContext memory(nullptr);
        AutoGDIObject bitmap;
        {
            DesktopContext desktop;
            if (desktop.Get() != nullptr)
                bitmap.Attach(CreateCompatibleBitmap(desktop.Get(), kWidthBMPFile, kHeightBMPFile));
        }
        if (memory.Get() == nullptr || bitmap.Get() == nullptr)
            return E_FAIL;
        const HBITMAP handle = static_cast<HBITMAP>(bitmap.Get());
        if (!DrawStretchedWithCaption(memory.Get(), handle, block.GetData(), caption))
            return S_OK; // the picture stays at its own size

        const uint32_t imageSize = static_cast<uint32_t>(RowBytes(kWidthBMPFile, 24) * kHeightBMPFile);
        BITMAPINFO scaled{};
        scaled.bmiHeader = FileInfoHeader(kWidthBMPFile, kHeightBMPFile, imageSize);
        if (FAILED(block.ReallocBlock(imageSize + kPixelOffsetBMPFile)))
            return E_FAIL;
        // The bitmap is no longer selected, as GetDIBits requires.
        if (GetDIBits(memory.Get(), handle, 0, kHeightBMPFile, block.GetData() + kPixelOffsetBMPFile, &scaled,
                      DIB_RGB_COLORS) != kHeightBMPFile) {
            block.Free();
            return E_FAIL;
        }
        WriteHeaders(block.GetData(), FileInfoHeader(kWidthBMPFile, kHeightBMPFile, imageSize));
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT FunctCreateBMPFile(MemoryBlockClass<BYTE>& block, const BYTE* data, int64_t length,
                           const InfoCallInterfaceDataPath1& description, const char* caption)
{
    try {
        block.Free();
        const uint16_t bitCount = FrontBitCount(description.m_subtype);
        if (bitCount == 0)
            return S_OK;
        VIDEOINFOHEADER format{};
        format.bmiHeader.biSize = kInfoHeaderSize;
        format.bmiHeader.biWidth = description.m_bih.biWidth;
        format.bmiHeader.biHeight = description.m_bih.biHeight;
        format.bmiHeader.biPlanes = 1;
        format.bmiHeader.biBitCount = bitCount;
        format.bmiHeader.biCompression = description.m_subtype.Data1; // the FOURCC
        AM_MEDIA_TYPE type{};
        type.majortype = MEDIATYPE_Video;
        type.subtype = description.m_subtype;
        type.formattype = FORMAT_VideoInfo;
        type.cbFormat = sizeof(format);
        type.pbFormat = reinterpret_cast<BYTE*>(&format);

        const HRESULT converted = ConvertVideoFrameToBMP24(block, data, length, type);
        if (FAILED(converted))
            return converted;
        return ScaleBMP24WithCaption(block, caption);
    }
    CATCH_ALL_RETURN(E_FAIL)
}
