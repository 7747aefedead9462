// The picture-file source through Wine's imaging component: sizes, strides and pixels of the
// delivered frames, a folder cycling on the manual clock, and pictures that fail to load.
#include "ObjectControlGraphStillSources.h"

#include "ManualTestClock.h"
#include "TempFolder.h"
#include "TestBitmapFiles.h"

#include "MediaSubtypeGuids.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

constexpr uint32_t kFrameHeld = InfoCallInterfaceDataPath1::kStateFrame;

struct Rgb
{
    BYTE r, g, b;
};
using PixelAt = std::function<Rgb(int x, int y)>; // y counted from the top

std::string Bmp24(int width, int height, const PixelAt& pixel)
{
    const int stride = (3 * width + 3) & ~3;
    std::string pixels(static_cast<size_t>(stride) * height, '\0');
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const Rgb colour = pixel(x, y);
            char* at = pixels.data() + static_cast<size_t>(stride) * (height - 1 - y) + 3 * x;
            at[0] = static_cast<char>(colour.b);
            at[1] = static_cast<char>(colour.g);
            at[2] = static_cast<char>(colour.r);
        }
    return MakeBmpFile(width, height, 24, "", pixels);
}

// An 8-bit palette BMP: palette entry i is (i, 255 - i, i / 2); each pixel its column's entry.
std::string Bmp8Palette(int width, int height)
{
    const int stride = (width + 3) & ~3;
    std::string pixels(static_cast<size_t>(stride) * height, '\0');
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            pixels[static_cast<size_t>(stride) * y + x] = static_cast<char>(x % 256);
    std::string palette;
    for (int i = 0; i < 256; ++i)
        palette += {static_cast<char>(i / 2), static_cast<char>(255 - i), static_cast<char>(i), '\0'};
    return MakeBmpFile(width, height, 8, palette, pixels);
}

Rgb Uniform(BYTE r, BYTE g, BYTE b, int, int)
{
    return {r, g, b};
}

PixelAt UniformColour(BYTE r, BYTE g, BYTE b)
{
    return [=](int x, int y) { return Uniform(r, g, b, x, y); };
}

// Every pixel tells its place: red the column, green the row, blue both.
Rgb Positional(int x, int y)
{
    return {static_cast<BYTE>(x), static_cast<BYTE>(y), static_cast<BYTE>(x + 3 * y)};
}

class PictureSource : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { CoInitializeEx(nullptr, COINIT_MULTITHREADED); }
    static void TearDownTestSuite() { CoUninitialize(); }

    void Select(const std::string& path)
    {
        m_description.m_type_driver = TypeSourcePictureFile;
        m_description.m_name_file = path.c_str();
        ASSERT_EQ(S_OK, m_source.RebuildPictureList(m_description));
    }
    HRESULT Fill(uint32_t interval = 1000)
    {
        m_frame.SetNULLFrame();
        return m_source.FillBufferForPicterFileDriver(m_description, interval, m_frame);
    }
    // Pixel (x, y) of the frame, y counted from the top of the picture.
    Rgb FramePixel(int x, int y) const
    {
        const BYTE* at = m_frame.m_data + static_cast<size_t>(m_frame.m_stride) * (m_frame.m_info.m_bih.biHeight - 1 - y) +
                         3 * x;
        return {at[2], at[1], at[0]};
    }

    ManualTestClock m_clock;
    CTimeServer m_time;
    TempFolder m_folder;
    InfoNeedInterface m_description;
    PictureFileSource m_source{m_time};
    InfoDataBufferPath1 m_frame{false};
};

struct SizeCase
{
    int width, height;
    int frameWidth, frameHeight, stride;
};

TEST_F(PictureSource, PicturesAreDeliveredAsRgb24FramesOfTheirSize)
{
    const SizeCase cases[] = {
        {1024, 768, 640, 480, 1920}, {800, 600, 640, 480, 1920}, {640, 480, 640, 480, 1920},
        {641, 480, 640, 479, 1920},  {100, 50, 100, 50, 304},    {64, 32, 64, 32, 192},
    };
    for (const SizeCase& size : cases) {
        const std::string name = "picture" + std::to_string(size.width) + "x" + std::to_string(size.height) + ".bmp";
        m_folder.WriteFile(name, Bmp24(size.width, size.height, UniformColour(10, 20, 30)));
        Select(m_folder / name);
        ASSERT_EQ(S_OK, Fill()) << name;
        EXPECT_EQ(size.frameWidth, m_frame.m_info.m_bih.biWidth) << name;
        EXPECT_EQ(size.frameHeight, m_frame.m_info.m_bih.biHeight) << name;
        EXPECT_EQ(size.stride, m_frame.m_stride) << name;
        EXPECT_EQ(size.stride * size.frameHeight, m_frame.m_size_data) << name;
        EXPECT_EQ(kFrameHeld, m_frame.m_info.m_state) << name;
        EXPECT_TRUE(IsEqualGUID(media_guids::MEDIASUBTYPE_RGB24, m_frame.m_info.m_subtype)) << name;
        EXPECT_EQ(24, m_frame.m_info.m_bih.biBitCount) << name;
        EXPECT_EQ(0u, m_frame.m_info.m_bih.biCompression) << name;
        const Rgb corner = FramePixel(size.frameWidth - 1, 0);
        EXPECT_EQ(10, corner.r) << name;
        EXPECT_EQ(20, corner.g) << name;
        EXPECT_EQ(30, corner.b) << name;
    }
}

TEST_F(PictureSource, PixelsComeBottomUpInBlueGreenRedOrder)
{
    m_folder.WriteFile("positions.bmp", Bmp24(200, 60, Positional));
    Select(m_folder / "positions.bmp");
    ASSERT_EQ(S_OK, Fill());
    for (int y : {0, 1, 59})
        for (int x : {0, 1, 199}) {
            const Rgb expected = Positional(x, y), actual = FramePixel(x, y);
            EXPECT_EQ(expected.r, actual.r) << x << "," << y;
            EXPECT_EQ(expected.g, actual.g) << x << "," << y;
            EXPECT_EQ(expected.b, actual.b) << x << "," << y;
        }
    // The first row in memory is the bottom row of the picture.
    EXPECT_EQ(59, m_frame.m_data[1]);
}

// 1024 columns rising by a quarter step each are scaled to 640: a bilinear filter gives each
// output column the ramp's value at the column's centre, where nearest sampling would not.
TEST_F(PictureSource, LargePicturesAreScaledBilinearly)
{
    m_folder.WriteFile("ramp.bmp", Bmp24(1024, 768, [](int x, int) {
                           const BYTE level = static_cast<BYTE>(x / 4);
                           return Rgb{level, level, level};
                       }));
    Select(m_folder / "ramp.bmp");
    ASSERT_EQ(S_OK, Fill());
    ASSERT_EQ(640, m_frame.m_info.m_bih.biWidth);
    for (int x = 0; x < 640; x += 7) {
        const double source = std::max(0.0, (x + 0.5) * 1024.0 / 640.0 - 0.5);
        const double first = static_cast<int>(source) / 4, second = std::min(1023, static_cast<int>(source) + 1) / 4;
        const double expected = first + (second - first) * (source - static_cast<int>(source));
        EXPECT_NEAR(expected, FramePixel(x, 300).g, 0.51) << "column " << x;
    }
}

TEST_F(PictureSource, PalettePicturesKeepTheirColours)
{
    m_folder.WriteFile("palette.bmp", Bmp8Palette(40, 10));
    Select(m_folder / "palette.bmp");
    ASSERT_EQ(S_OK, Fill());
    for (int x : {0, 7, 39}) {
        const Rgb pixel = FramePixel(x, 4);
        EXPECT_EQ(x, pixel.r);
        EXPECT_EQ(255 - x, pixel.g);
        EXPECT_EQ(x / 2, pixel.b);
    }
}

// After a larger picture the pixel block stays larger; the frame carries the new picture's size.
TEST_F(PictureSource, ASmallerPictureAfterALargerOneCarriesItsOwnSize)
{
    m_folder.WriteFile("large.bmp", Bmp24(1024, 768, UniformColour(1, 2, 3)));
    m_folder.WriteFile("small.bmp", Bmp24(100, 50, UniformColour(4, 5, 6)));
    Select(m_folder / "large.bmp");
    ASSERT_EQ(S_OK, Fill());
    Select(m_folder / "small.bmp");
    ASSERT_EQ(S_OK, Fill());
    EXPECT_EQ(304 * 50, m_frame.m_size_data);
    EXPECT_EQ(4, FramePixel(99, 49).r);
}

TEST_F(PictureSource, AFolderCyclesInListingOrderAndWraps)
{
    m_folder.WriteFile("a.bmp", Bmp24(8, 8, UniformColour(1, 0, 0)));
    m_folder.WriteFile("b.bmp", Bmp24(8, 8, UniformColour(2, 0, 0)));
    m_folder.WriteFile("c.bmp", Bmp24(8, 8, UniformColour(3, 0, 0)));
    m_folder.MakeFolder("d.bmp");
    m_folder.WriteFile("notes.txt", "not a picture");
    Select(m_folder.Path());
    EXPECT_EQ(3u, m_source.GetListCount());
    // Each picture stays for a little more than the interval.
    const struct
    {
        int64_t advance;
        BYTE red;
    } steps[] = {{0, 1}, {1000, 1}, {1, 2}, {1000, 2}, {1, 3}, {1001, 1}, {1001, 2}};
    for (const auto& step : steps) {
        m_clock.Advance(step.advance);
        ASSERT_EQ(S_OK, Fill());
        EXPECT_EQ(step.red, FramePixel(0, 0).r);
    }
    EXPECT_EQ(m_folder / "b.bmp", m_source.GetLoadedName().GetString());
}

TEST_F(PictureSource, AFailedFileIsNotTriedAgainUntilTheNameChanges)
{
    m_folder.WriteFile("late.bmp", "not a picture yet");
    m_folder.WriteFile("other.bmp", Bmp24(8, 8, UniformColour(7, 7, 7)));
    Select(m_folder / "late.bmp");
    EXPECT_EQ(S_FALSE, Fill());
    EXPECT_NE(kFrameHeld, m_frame.m_info.m_state);

    m_folder.WriteFile("late.bmp", Bmp24(8, 8, UniformColour(9, 9, 9)));
    EXPECT_EQ(S_FALSE, Fill());
    Select(m_folder / "other.bmp");
    ASSERT_EQ(S_OK, Fill());
    Select(m_folder / "late.bmp");
    ASSERT_EQ(S_OK, Fill());
    EXPECT_EQ(9, FramePixel(0, 0).r);
}

TEST_F(PictureSource, BrokenOrMissingPicturesFailCleanly)
{
    const std::string whole = Bmp24(64, 64, UniformColour(5, 5, 5));
    m_folder.WriteFile("truncated.bmp", whole.substr(0, whole.size() / 2));
    m_folder.WriteFile("corrupt.bmp", std::string(500, '\x5A'));
    m_folder.WriteFile("header.bmp", whole.substr(0, 20));
    m_folder.MakeFolder("empty");
    for (const std::string& path : {m_folder / "truncated.bmp", m_folder / "corrupt.bmp", m_folder / "header.bmp",
                                    m_folder / "missing.bmp", m_folder / "empty"}) {
        Select(path);
        EXPECT_EQ(S_FALSE, Fill()) << path;
        EXPECT_NE(kFrameHeld, m_frame.m_info.m_state) << path;
    }
}

} // namespace
