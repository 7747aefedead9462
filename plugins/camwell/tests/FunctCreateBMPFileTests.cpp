// Frames as 768 x 576 BMP files: headers, colours, caption and refused input.
#include "FunctCreateBMPFile.h"

#include "MediaSubtypeGuids.h"

#include <amvideo.h>
#include <dvdmedia.h>
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <vector>

using namespace media_guids;

namespace {

using Bgr = std::array<uint8_t, 3>;

constexpr int32_t kFileRow = 768 * 3;
constexpr uint32_t kFileSize = 58 + kFileRow * 576;

InfoCallInterfaceDataPath1 Description(const GUID& subtype, int32_t width, int32_t height)
{
    InfoCallInterfaceDataPath1 description;
    description.m_subtype = subtype;
    description.m_bih.biWidth = width;
    description.m_bih.biHeight = height;
    return description;
}

// A YUY2 picture of three horizontal bands, each of one colour given as Y, U, V.
std::vector<BYTE> ThreeBandsYuy2(int32_t width, int32_t height, const std::array<std::array<BYTE, 3>, 3>& colours)
{
    std::vector<BYTE> data(static_cast<size_t>(2 * width * height));
    for (int32_t y = 0; y < height; ++y) {
        const std::array<BYTE, 3>& yuv = colours[static_cast<size_t>(3 * y / height)];
        for (int32_t x = 0; x < width; x += 2) {
            BYTE* pair = &data[static_cast<size_t>(2 * (y * width + x))];
            pair[0] = yuv[0];
            pair[1] = yuv[1];
            pair[2] = yuv[0];
            pair[3] = yuv[2];
        }
    }
    return data;
}

// The pixel of the picture row (0 = top) in the bottom-up file.
Bgr PixelAt(const MemoryBlockClass<BYTE>& file, int32_t x, int32_t pictureRow)
{
    const BYTE* pixel = file.GetData() + 58 + (575 - pictureRow) * kFileRow + 3 * x;
    return {pixel[0], pixel[1], pixel[2]};
}

bool RowIsAll(const MemoryBlockClass<BYTE>& file, int32_t pictureRow, const Bgr& colour)
{
    for (int32_t x = 0; x < 768; ++x)
        if (PixelAt(file, x, pictureRow) != colour)
            return false;
    return true;
}

int32_t CountPixels(const MemoryBlockClass<BYTE>& file, int32_t firstRow, int32_t endRow, const Bgr& colour)
{
    int32_t count = 0;
    for (int32_t row = firstRow; row < endRow; ++row)
        for (int32_t x = 0; x < 768; ++x)
            count += PixelAt(file, x, row) == colour;
    return count;
}

const Bgr kBlack = {0, 0, 0};
const Bgr kWhite = {255, 255, 255};
const Bgr kRed = {0, 0, 255};
const Bgr kCaption = {0x9B, 0x9B, 0x00};

} // namespace

TEST(FunctCreateBMPFile, YuyvFrameBecomesA768x576File)
{
    // Red, white and black bands, top to bottom.
    const std::vector<BYTE> data = ThreeBandsYuy2(320, 240, {{{81, 90, 240}, {235, 128, 128}, {16, 128, 128}}});
    MemoryBlockClass<BYTE> file;
    ASSERT_EQ(FunctCreateBMPFile(file, data.data(), static_cast<int64_t>(data.size()),
                                 Description(MEDIASUBTYPE_YUY2, 320, 240), "Camera 7"),
              S_OK);
    ASSERT_EQ(file.GetSize(), kFileSize);

    const BYTE header[58] = {
        'B', 'M', 0x3A, 0x40, 0x14, 0x00, 0, 0, 0, 0, 58, 0, 0, 0,  // file header: size 1327162, pixels at 58
        40, 0, 0, 0, 0x00, 0x03, 0, 0, 0x40, 0x02, 0, 0, 1, 0, 24, 0, // 768 x 576, 1 plane, 24 bits
        0, 0, 0, 0, 0x00, 0x40, 0x14, 0x00,                           // uncompressed, 1327104 bytes of rows
        0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,               // resolutions and colour counts
        0, 0, 0, 0};                                                  // gap
    EXPECT_EQ(std::memcmp(file.GetData(), header, sizeof(header)), 0);

    EXPECT_TRUE(RowIsAll(file, 150, kRed));
    EXPECT_TRUE(RowIsAll(file, 288, kWhite));
    EXPECT_TRUE(RowIsAll(file, 480, kBlack));
    EXPECT_TRUE(RowIsAll(file, 575, kBlack)) << "the top of the frame is the top of the picture";
    EXPECT_GT(CountPixels(file, 0, 200, kCaption), 20) << "the caption at the top left";
    EXPECT_EQ(CountPixels(file, 200, 576, kCaption), 0);
    EXPECT_EQ(PixelAt(file, 767, 5), kRed) << "the caption stays left of x = 700";
}

TEST(FunctCreateBMPFile, EmptyCaptionDrawsNothing)
{
    const std::vector<BYTE> data = ThreeBandsYuy2(64, 48, {{{81, 90, 240}, {81, 90, 240}, {81, 90, 240}}});
    MemoryBlockClass<BYTE> file;
    ASSERT_EQ(FunctCreateBMPFile(file, data.data(), static_cast<int64_t>(data.size()),
                                 Description(MEDIASUBTYPE_YUY2, 64, 48), ""),
              S_OK);
    ASSERT_EQ(file.GetSize(), kFileSize);
    EXPECT_EQ(CountPixels(file, 0, 576, kRed), 768 * 576);
}

TEST(FunctCreateBMPFile, SubtypesOfTheFront)
{
    struct Case
    {
        const char* name;
        GUID subtype;
        std::vector<BYTE> pixels; // two pixels of white
        HRESULT result;
        bool file;
    };
    const Case cases[] = {
        {"YUY2", MEDIASUBTYPE_YUY2, {235, 128, 235, 128}, S_OK, true},
        {"UYVY", MEDIASUBTYPE_UYVY, {128, 235, 128, 235}, S_OK, true},
        {"Y8", MediaSubtypeY8, {235, 235}, S_OK, true},
        {"YVYU", MEDIASUBTYPE_YVYU, {235, 128, 235, 128}, E_FAIL, false},
        {"RGB24", MEDIASUBTYPE_RGB24, {255, 255, 255, 255, 255, 255}, S_OK, false},
    };
    for (const Case& c : cases) {
        // 2 x 2 pixels: each row is padded to 4 bytes.
        std::vector<BYTE> data;
        const size_t rowBytes = (c.pixels.size() + 3) / 4 * 4;
        for (int row = 0; row < 2; ++row) {
            data.insert(data.end(), c.pixels.begin(), c.pixels.end());
            data.resize((row + 1) * rowBytes);
        }
        MemoryBlockClass<BYTE> file;
        EXPECT_EQ(FunctCreateBMPFile(file, data.data(), static_cast<int64_t>(data.size()),
                                     Description(c.subtype, 2, 2), nullptr),
                  c.result)
            << c.name;
        EXPECT_EQ(file.GetSize(), c.file ? kFileSize : 0u) << c.name;
        if (c.file) {
            EXPECT_EQ(CountPixels(file, 0, 576, kWhite), 768 * 576) << c.name;
        }
    }
}

TEST(FunctCreateBMPFile, ShortAndUnusualSizes)
{
    struct Case
    {
        const char* name;
        GUID subtype;
        int32_t width;
        int32_t height;
        int64_t length;
        bool accepted;
    };
    const Case cases[] = {
        {"exact YUY2", MEDIASUBTYPE_YUY2, 16, 4, 128, true},
        {"one byte short", MEDIASUBTYPE_YUY2, 16, 4, 127, false},
        {"negative height", MEDIASUBTYPE_YUY2, 16, -4, 128, true},
        {"negative height, short", MEDIASUBTYPE_YUY2, 16, -4, 127, false},
        {"zero width", MEDIASUBTYPE_YUY2, 0, 4, 128, false},
        {"negative width", MEDIASUBTYPE_YUY2, -16, 4, 128, false},
        {"zero height", MEDIASUBTYPE_YUY2, 16, 0, 128, false},
        {"odd Y8 rows padded to 4", MediaSubtypeY8, 3, 4, 16, true},
        {"odd Y8 short of the padding", MediaSubtypeY8, 3, 4, 15, false},
        {"rows beyond 2 GB", MediaSubtypeY8, 0x7FFFFFFF, 2, int64_t{1} << 33, false},
        {"no length", MEDIASUBTYPE_YUY2, 16, 4, 0, false},
    };
    const std::vector<BYTE> data(4096, 128);
    for (const Case& c : cases) {
        MemoryBlockClass<BYTE> file;
        const HRESULT result =
            FunctCreateBMPFile(file, data.data(), c.length, Description(c.subtype, c.width, c.height), "");
        EXPECT_EQ(result, c.accepted ? S_OK : E_FAIL) << c.name;
        EXPECT_EQ(file.GetSize(), c.accepted ? kFileSize : 0u) << c.name;
    }
    MemoryBlockClass<BYTE> file;
    EXPECT_EQ(FunctCreateBMPFile(file, nullptr, 128, Description(MEDIASUBTYPE_YUY2, 16, 4), ""), E_FAIL);
}

TEST(FunctCreateBMPFile, RgbSourcesAtTheirOwnSize)
{
    struct Case
    {
        const char* name;
        GUID subtype;
        WORD bitCount;
        std::vector<BYTE> pixel; // one pure red pixel
    };
    const Case cases[] = {
        {"RGB565", MEDIASUBTYPE_RGB565, 16, {0x00, 0xF8}},
        {"RGB555", MEDIASUBTYPE_RGB555, 16, {0x00, 0x7C}},
        {"RGB24", MEDIASUBTYPE_RGB24, 24, {0, 0, 255}},
        {"RGB32", MEDIASUBTYPE_RGB32, 32, {0, 0, 255, 0}},
    };
    for (const Case& c : cases) {
        std::vector<BYTE> data = c.pixel;
        data.resize(4);
        VIDEOINFOHEADER2 format{};
        format.bmiHeader.biSize = 40;
        format.bmiHeader.biWidth = 1;
        format.bmiHeader.biHeight = 1;
        format.bmiHeader.biBitCount = c.bitCount;
        AM_MEDIA_TYPE type{};
        type.majortype = MEDIATYPE_Video;
        type.subtype = c.subtype;
        type.formattype = FORMAT_VideoInfo2;
        type.cbFormat = sizeof(format);
        type.pbFormat = reinterpret_cast<BYTE*>(&format);
        MemoryBlockClass<BYTE> file;
        ASSERT_EQ(ConvertVideoFrameToBMP24(file, data.data(), 4, type), S_OK) << c.name;
        ASSERT_EQ(file.GetSize(), 62u) << c.name;
        EXPECT_EQ(Bgr({file.GetData()[58], file.GetData()[59], file.GetData()[60]}), kRed) << c.name;

        format.bmiHeader.biBitCount = 8;
        EXPECT_EQ(ConvertVideoFrameToBMP24(file, data.data(), 4, type), E_FAIL) << c.name << ": bit count";
        EXPECT_EQ(file.GetSize(), 0u);
        format.bmiHeader.biBitCount = c.bitCount;
        type.cbFormat = 72 + 39;
        EXPECT_EQ(ConvertVideoFrameToBMP24(file, data.data(), 4, type), E_FAIL) << c.name << ": format block";
    }
}
