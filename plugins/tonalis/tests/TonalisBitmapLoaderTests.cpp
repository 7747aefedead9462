// The template bitmaps into Y16 and UV16 planes through the operation table of each processor set:
// the planes hold what the plain RGB24-to-YUY2 conversion makes of the same pixels.
#include "Tonalis1_BitmapLoaders.h"

#include "LogCapture.h"
#include "TempFolder.h"
#include "TestBitmapFiles.h"

#include <gtest/gtest.h>

#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace {

// The caller's Y16 and UV16 buffers.
struct LumaChroma
{
    LumaChroma() = default;
    LumaChroma(const LumaChroma&) = delete;
    LumaChroma& operator=(const LumaChroma&) = delete;
    ~LumaChroma()
    {
        SAFE_TASK_FREE(&y);
        SAFE_TASK_FREE(&uv);
    }
    HRESULT Load(const OptimFunctionTableSWORD& operations, const std::string& path, int mode = 0)
    {
        return FunctLoadBMP32ToY16UV16Format(operations, DynamicString(path.c_str()), &y, &uv, &width, &height,
                                             &stride, mode, &capacity);
    }
    SWORD* y = nullptr;
    SWORD* uv = nullptr;
    int width = 0, height = 0, stride = 0, capacity = 0;
};

// YUY2 bytes of 0x00RRGGBB pixels (top row first) by the plain in-place converter, packed rows.
std::vector<BYTE> PlainYuy2(const std::vector<uint32_t>& pixels, int width, int height)
{
    std::vector<BYTE> picture(static_cast<size_t>(3) * width * height);
    for (size_t i = 0; i < pixels.size(); ++i) {
        picture[3 * i] = static_cast<BYTE>(pixels[i]);
        picture[3 * i + 1] = static_cast<BYTE>(pixels[i] >> 8);
        picture[3 * i + 2] = static_cast<BYTE>(pixels[i] >> 16);
    }
    EXPECT_EQ(S_OK, ConvertRGB24ToYUY2InPlace(picture.data(), width, height, 3 * width));
    return picture;
}

constexpr SwordColumn kColumns[] = {SwordColumn::Plain, SwordColumn::Mmx, SwordColumn::SseInteger, SwordColumn::Sse2};

TEST(TonalisBitmapLoader, PlanesHoldThePlainYuy2OfThePixelsInEveryProcessorSet)
{
    TempFolder folder;
    std::mt19937 random(28);
    for (const int width : {16, 13}) {
        const int height = 5;
        std::vector<uint32_t> pixels(static_cast<size_t>(width) * height);
        for (uint32_t& pixel : pixels)
            pixel = random() & 0xFFFFFF;
        const std::vector<BYTE> yuy2 = PlainYuy2(pixels, width, height);
        for (const bool bottomUp : {true, false}) {
            const std::string path = folder / (std::to_string(width) + (bottomUp ? "up.bmp" : "down.bmp"));
            std::ofstream(path, std::ios::binary) << MakeBmp32(width, height, pixels, bottomUp);
            for (const SwordColumn column : kColumns) {
                SCOPED_TRACE(path + " column " + std::to_string(static_cast<int>(column)));
                LumaChroma planes;
                ASSERT_EQ(S_OK, planes.Load(GetOptimFunctionTableSWORD(column), path));
                EXPECT_EQ(width, planes.width);
                EXPECT_EQ(height, planes.height);
                EXPECT_EQ(width % 8 == 0 ? 2 * width : (2 * width + 16) / 16 * 16, planes.stride);
                EXPECT_EQ(planes.stride * height, planes.capacity);
                for (int row = 0; row < height; ++row)
                    for (int x = 0; x < width; ++x) {
                        const size_t word = static_cast<size_t>(row) * planes.stride / 2 + x;
                        const size_t byte = 2 * (static_cast<size_t>(row) * width + x);
                        ASSERT_EQ(yuy2[byte], planes.y[word]) << x << "," << row;
                        ASSERT_EQ(yuy2[byte + 1], planes.uv[word]) << x << "," << row;
                    }
            }
        }
    }
}

TEST(TonalisBitmapLoader, BuffersGrowOnlyWhenTheCapacityIsShort)
{
    TempFolder folder;
    const std::string small = folder / "small.bmp", large = folder / "large.bmp";
    std::ofstream(small, std::ios::binary) << MakeBmp32(8, 8, std::vector<uint32_t>(64, 0x404040), true);
    std::ofstream(large, std::ios::binary) << MakeBmp32(16, 16, std::vector<uint32_t>(256, 0x404040), true);
    const OptimFunctionTableSWORD& operations = GetOptimFunctionTableSWORD(SwordColumn::Sse2);
    LumaChroma planes;
    ASSERT_EQ(S_OK, planes.Load(operations, large));
    EXPECT_EQ(32 * 16, planes.capacity);
    const SWORD* kept = planes.y;
    ASSERT_EQ(S_OK, planes.Load(operations, small));
    EXPECT_EQ(kept, planes.y);
    EXPECT_EQ(32 * 16, planes.capacity);
    EXPECT_EQ(16, planes.stride);
    ASSERT_EQ(S_OK, planes.Load(operations, large));
    EXPECT_EQ(32 * 16, planes.capacity);
}

TEST(TonalisBitmapLoader, RefusalsLeaveTheBuffersAlone)
{
    TempFolder folder;
    const OptimFunctionTableSWORD& operations = GetOptimFunctionTableSWORD(SwordColumn::Plain);
    for (const NamedBmpFile& file : MalformedBmp32Files()) {
        SCOPED_TRACE(file.name);
        std::ofstream(folder / file.name, std::ios::binary) << file.bytes;
        LogCapture log;
        LumaChroma planes;
        EXPECT_EQ(E_FAIL, planes.Load(operations, folder / file.name));
        EXPECT_TRUE(log.Contains(file.name));
        EXPECT_EQ(nullptr, planes.y);
        EXPECT_EQ(0, planes.capacity);
    }
    LumaChroma planes;
    EXPECT_EQ(E_UNEXPECTED, planes.Load(operations, folder / "any.bmp", -1));
    int value = 0;
    EXPECT_EQ(E_INVALIDARG, FunctLoadBMP32ToY16UV16Format(operations, DynamicString("x"), &planes.y, nullptr, &value,
                                                          &value, &value, 0, &value));
    SWORD* plane = nullptr;
    EXPECT_EQ(E_INVALIDARG, FunctLoadBMP32FileToR16G16B16Format(nullptr, nullptr, DynamicString("x"), &plane, &plane,
                                                                &plane, &value, &value, &value, nullptr, 0));
}

} // namespace
