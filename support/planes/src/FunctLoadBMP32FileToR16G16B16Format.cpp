// A 32-bit BMP file into R, G and B planes.
#include "FunctLoadBMP32FileToR16G16B16Format.h"

#include "AlignedPixelRows.h"
#include "FunctWorkWithFiles.h"
#include "MemoryBlockClass.h"
#include "g_managment_mem.h"

#include <cstdint>
#include <cstdlib>

namespace {

constexpr char kLabel[] = "LoadBMP32FileToR16G16B16Format";
constexpr int64_t kHeadersSize = 14 + 40;
constexpr int64_t kMaxPixelBytes = 0x7FFFFFF0;
constexpr int64_t kMaxSide = 16384;
constexpr WORD kBitmapSignature = 0x4D42; // "BM"

void LogRefusal(const char* reason, const DynamicString& fileName)
{
    DynamicString text(kLabel);
    text += " - ";
    text += reason;
    text += ": ";
    text += fileName.GetString();
    LOG_TEXT(text.GetString());
}

bool ReadExactly(HANDLE file, void* buffer, DWORD count)
{
    DWORD read = 0;
    return ReadFile(file, buffer, count, &read, nullptr) && read == count;
}

} // namespace

HRESULT LoadBMP32FileToR16G16B16Format(Rgb32ToPlanesFunction convert, UnifSwordFunction mirror,
                                       const DynamicString& fileName, SWORD** planeR, SWORD** planeG, SWORD** planeB,
                                       int* width, int* height, int* planeStride, int reserved, int* capacity)
{
    try {
        if (convert == nullptr) {
            LOG_TEXT("Warning - try using slow convertion function");
            convert = rgb32_to_r16g16b16_c;
        }
        if (mirror == nullptr) {
            LOG_TEXT("Warning - try using default mirror function");
            mirror = YMirror_function_c;
        }
        if (planeR == nullptr || planeG == nullptr || planeB == nullptr || width == nullptr || height == nullptr ||
            planeStride == nullptr || capacity == nullptr)
            return E_INVALIDARG;
        if (reserved < 0)
            return E_UNEXPECTED;
        *width = *height = *planeStride = 0;

        AutoFileHandle file(OpenFileWithLog(fileName, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                            FILE_ATTRIBUTE_NORMAL, nullptr, kLabel),
                            false);
        if (file.Get() == nullptr || file.Get() == INVALID_HANDLE_VALUE) {
            LogRefusal("file does not open", fileName);
            return E_FAIL;
        }
        BITMAPFILEHEADER fileHeader{};
        BITMAPINFOHEADER info{};
        if (!ReadExactly(file.Get(), &fileHeader, sizeof(fileHeader)) || !ReadExactly(file.Get(), &info, sizeof(info))) {
            LogRefusal("short header", fileName);
            return E_FAIL;
        }
        // Larger information headers (V4, V5) start with the same fields; the pixels are found at
        // the file header's offset whatever the header's size.
        if (fileHeader.bfType != kBitmapSignature || info.biSize < sizeof(BITMAPINFOHEADER) ||
            (info.biCompression != BI_RGB && info.biCompression != BI_BITFIELDS)) {
            LogRefusal("not an uncompressed BMP file", fileName);
            return E_FAIL;
        }
        const int64_t pictureWidth = std::llabs(static_cast<int64_t>(info.biWidth));
        const int64_t pictureHeight = std::llabs(static_cast<int64_t>(info.biHeight));
        if (info.biBitCount != 32 || pictureWidth < 1 || pictureHeight < 1) {
            LogRefusal("not a 32-bit picture", fileName);
            return E_FAIL;
        }
        if (pictureWidth > kMaxSide || pictureHeight > kMaxSide) {
            LogRefusal("picture too large", fileName);
            return E_FAIL;
        }
        // Checked before anything is allocated or read: the rows, also once widened to the aligned
        // stride, must fit in memory, and the file's rows in the file. Divided, so nothing overflows.
        const int64_t alignedStride = AlignedStride(pictureWidth * 4);
        LARGE_INTEGER fileSize{};
        if (alignedStride > kMaxPixelBytes / pictureHeight || !GetFileSizeEx(file.Get(), &fileSize)) {
            LogRefusal("picture too large", fileName);
            return E_FAIL;
        }
        const int64_t pixelBytes = pictureWidth * 4 * pictureHeight;
        const int64_t offset = fileHeader.bfOffBits;
        if (offset < kHeadersSize || offset + pixelBytes > fileSize.QuadPart) {
            LogRefusal("pixel data offset or size outside the file", fileName);
            return E_FAIL;
        }

        MemoryBlockClass<BYTE> pixels;
        if (FAILED(pixels.CreateBlock(static_cast<uint32_t>(pixelBytes))))
            return E_FAIL;
        LARGE_INTEGER position{};
        position.QuadPart = offset;
        if (!SetFilePointerEx(file.Get(), position, nullptr, FILE_BEGIN) ||
            !ReadExactly(file.Get(), pixels.GetData(), static_cast<DWORD>(pixelBytes))) {
            LogRefusal("short read of the pixels", fileName);
            return E_FAIL;
        }
        file.Close();

        const int w = static_cast<int>(pictureWidth), h = static_cast<int>(pictureHeight);
        int sourceStride = 4 * w;
        if (FAILED(AlignRows(pixels, w, h, sourceStride)))
            return E_FAIL;
        HRESULT result = convert(pixels.GetData(), planeR, planeG, planeB, capacity, sourceStride, planeStride, w, h);
        if (FAILED(result)) {
            LogRefusal("conversion failed", fileName);
            return E_FAIL;
        }
        *width = w;
        *height = h;
        // Bottom row first in the file: the planes always hold the top row first.
        if (info.biHeight > 0)
            for (SWORD* plane : {*planeR, *planeG, *planeB}) {
                result = mirror(plane, nullptr, nullptr, nullptr, nullptr, *planeStride, 0, w, h, 0, nullptr, nullptr,
                                nullptr);
                if (FAILED(result))
                    return result;
            }
        return result;
    }
    CATCH_ALL_RETURN(E_FAIL)
}
