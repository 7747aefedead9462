// Sources without a DirectShow filter through the facade: the graph thread fills the frames of a
// picture file and of the desktop itself.
#include "GraphObjectTestSupport.h"

#include "TempFolder.h"
#include "TestBitmapFiles.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// A 24-bit BMP of one colour, rows padded to 4 bytes.
std::string UniformBmp24(int width, int height, BYTE blue, BYTE green, BYTE red)
{
    const int stride = (3 * width + 3) & ~3;
    std::string pixels(static_cast<size_t>(stride) * height, '\0');
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            char* at = pixels.data() + static_cast<size_t>(stride) * y + 3 * x;
            at[0] = static_cast<char>(blue);
            at[1] = static_cast<char>(green);
            at[2] = static_cast<char>(red);
        }
    return MakeBmpFile(width, height, 24, "", pixels);
}

TEST(GraphOwnSource, APictureFileArrivesAsItsRgb24Frame)
{
    TempFolder folder;
    folder.WriteFile("still.bmp", UniformBmp24(100, 50, 30, 20, 10));
    InfoNeedInterface source = MakeOwnSource(TypeSourcePictureFile);
    source.m_name_file = (folder / "still.bmp").c_str();

    ClassDirectAcessToDriver driver("");
    ASSERT_EQ(driver.SetDriverInfo(&source), S_OK);
    ASSERT_EQ(driver.Run(), S_OK);
    InfoDataBufferPath1 frame(false);
    ASSERT_TRUE(FetchFrame(driver, frame, 5000));
    EXPECT_EQ(frame.m_info.m_bih.biWidth, 100);
    EXPECT_EQ(frame.m_info.m_bih.biHeight, 50);
    EXPECT_EQ(frame.m_info.m_bih.biBitCount, 24);
    EXPECT_EQ(frame.m_stride, 304);
    EXPECT_EQ(frame.m_data[0], 30);
    EXPECT_EQ(frame.m_data[1], 20);
    EXPECT_EQ(frame.m_data[2], 10);
    EXPECT_EQ(driver.Stop(), S_OK);
}

TEST(GraphOwnSource, TheDesktopArrivesWhole)
{
    const InfoNeedInterface source = MakeOwnSource(TypeSourceDesktop);
    ClassDirectAcessToDriver driver("");
    ASSERT_EQ(driver.SetDriverInfo(&source), S_OK);
    ASSERT_EQ(driver.Run(), S_OK);
    InfoDataBufferPath1 frame(false);
    ASSERT_TRUE(FetchFrame(driver, frame, 5000));
    EXPECT_EQ(frame.m_info.m_bih.biWidth, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(frame.m_info.m_bih.biHeight, GetSystemMetrics(SM_CYSCREEN));
    EXPECT_EQ(frame.m_info.m_bih.biBitCount, 24);
    EXPECT_EQ(driver.Stop(), S_OK);
}

} // namespace
