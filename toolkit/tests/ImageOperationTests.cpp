// The toolkit's own image operations: polylines, the general convolution and the hue, saturation
// and lightness conversions.
#include "ToolkitImageOperations.h"

#include "LogCapture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

namespace {

// A plane of width x height samples, rows packed, all set to fill.
struct TestPlane
{
    TestPlane(int w, int h, SWORD fill = 0) : width(w), height(h), samples(static_cast<size_t>(w) * h, fill) {}
    SWORD& At(int x, int y) { return samples[static_cast<size_t>(y) * width + x]; }
    int Stride() const { return 2 * width; }
    // Positions of the samples that are not fill.
    std::vector<std::pair<int, int>> Marked(SWORD fill = 0)
    {
        std::vector<std::pair<int, int>> marked;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                if (At(x, y) != fill)
                    marked.emplace_back(x, y);
        return marked;
    }
    int width, height;
    std::vector<SWORD> samples;
};

SwordPointList Points(const std::vector<SwordPointF>& points)
{
    SwordPointList list;
    list.Init(static_cast<uint32_t>(points.size()), 0);
    for (uint32_t i = 0; i < points.size(); ++i)
        list.GetElement(i) = points[i];
    return list;
}

std::vector<std::pair<int, int>> Row(int y, int from, int to)
{
    std::vector<std::pair<int, int>> cells;
    for (int x = from; x <= to; ++x)
        cells.emplace_back(x, y);
    return cells;
}

} // namespace

TEST(DrawLines, SegmentsAndTheirEnds)
{
    struct Case
    {
        const char* name;
        std::vector<SwordPointF> points;
        HRESULT result;
        std::vector<std::pair<int, int>> marked;
    };
    std::vector<std::pair<int, int>> diagonal, column;
    for (int i = 0; i < 10; ++i)
        diagonal.emplace_back(i, i);
    for (int y = 1; y <= 7; ++y)
        column.emplace_back(1, y);
    const Case cases[] = {
        // Reaching the last column ends the segment at width - 1 instead of failing the curve.
        {"horizontal across", {{0.0f, 0.5f}, {1.0f, 0.5f}}, S_OK, Row(4, 0, 9)},
        {"diagonal across", {{0.0f, 0.0f}, {1.0f, 1.0f}}, S_OK, diagonal},
        {"equal points, then down", {{0.2f, 0.2f}, {0.2f, 0.2f}, {0.2f, 0.8f}}, S_OK, column},
        {"up is drawn from its upper end", {{0.2f, 0.8f}, {0.2f, 0.2f}}, S_OK, column},
        {"longer than the picture", {{0.0f, 0.5f}, {0.5f, 0.5f}, {-0.6f, 0.5f}}, E_UNEXPECTED, Row(4, 0, 5)},
        {"starting left of the picture", {{-0.5f, 0.5f}, {0.4f, 0.5f}}, E_FAIL, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TestPlane plane(10, 10);
        EXPECT_EQ(drawlines_sword_funct(plane.samples.data(), plane.Stride(), 10, 10, Points(c.points),
                                        static_cast<int>(c.points.size()), 7, 0),
                  c.result);
        EXPECT_EQ(plane.Marked(), c.marked);
    }
}

TEST(DrawLines, AddWrapsAndArgumentsAreChecked)
{
    TestPlane plane(10, 10, 32767);
    const SwordPointList points = Points({{0.0f, 0.0f}, {0.0f, 1.0f}, {1.0f, 1.0f}});
    ASSERT_EQ(drawlines_sword_funct(plane.samples.data(), 20, 10, 10, points, 2, 1, 1), S_OK);
    EXPECT_EQ(plane.At(0, 3), -32768);
    EXPECT_EQ(plane.At(1, 3), 32767);
    EXPECT_EQ(drawlines_sword_funct(nullptr, 20, 10, 10, points, 2, 1, 0), E_INVALIDARG);
    EXPECT_EQ(drawlines_sword_funct(plane.samples.data(), 19, 10, 10, points, 2, 1, 0), E_UNEXPECTED);
    EXPECT_EQ(drawlines_sword_funct(plane.samples.data(), 20, 0, 10, points, 2, 1, 0), E_UNEXPECTED);
    EXPECT_EQ(drawlines_sword_funct(plane.samples.data(), 20, 10, 10, points, 1, 1, 0), E_UNEXPECTED);
    EXPECT_EQ(drawlines_sword_funct(plane.samples.data(), 20, 10, 10, points, 4, 1, 0), E_UNEXPECTED);
}

TEST(SvertkaGeneral, BordersLoseTheTapsOutside)
{
    TestPlane source(5, 4, 90), destination(5, 4);
    SwordWords ones;
    ones.Init(9, 0);
    for (uint32_t i = 0; i < 9; ++i)
        ones.GetElement(i) = 1;
    ASSERT_EQ(SvertkaGeneral(source.samples.data(), destination.samples.data(), 10, 5, 4, ones, 3, 3), S_OK);
    EXPECT_EQ(destination.At(0, 0), 40); // 4 of 9 taps
    EXPECT_EQ(destination.At(4, 3), 40);
    EXPECT_EQ(destination.At(2, 0), 60); // 6 of 9
    EXPECT_EQ(destination.At(0, 2), 60);
    EXPECT_EQ(destination.At(2, 1), 90);
    // Negative sums count by their size.
    SwordWords minusOne;
    minusOne.Init(1, 0);
    minusOne.GetElement(0) = -1;
    source.At(3, 2) = -25;
    ASSERT_EQ(SvertkaGeneral(source.samples.data(), destination.samples.data(), 10, 5, 4, minusOne, 1, 1), S_OK);
    EXPECT_EQ(destination.At(3, 2), 25);
    EXPECT_EQ(destination.At(0, 0), 90);
}

TEST(SvertkaGeneral, RefusesBeforeDividing)
{
    TestPlane source(4, 4, 1), destination(4, 4, 5);
    SwordWords zeros;
    zeros.Init(9, 0);
    for (uint32_t i = 0; i < 9; ++i)
        zeros.GetElement(i) = 0;
    SwordWords ones;
    ones.Init(4, 0);
    for (uint32_t i = 0; i < 4; ++i)
        ones.GetElement(i) = 1;
    EXPECT_EQ(SvertkaGeneral(source.samples.data(), destination.samples.data(), 8, 4, 4, zeros, 3, 3), E_FAIL);
    EXPECT_EQ(SvertkaGeneral(nullptr, destination.samples.data(), 8, 4, 4, ones, 2, 2), E_INVALIDARG);
    EXPECT_EQ(SvertkaGeneral(source.samples.data(), nullptr, 8, 4, 4, ones, 2, 2), E_INVALIDARG);
    EXPECT_EQ(SvertkaGeneral(source.samples.data(), destination.samples.data(), 6, 4, 4, ones, 2, 2), E_UNEXPECTED);
    EXPECT_EQ(SvertkaGeneral(source.samples.data(), destination.samples.data(), 8, 4, 4, ones, 0, 2), E_UNEXPECTED);
    EXPECT_EQ(SvertkaGeneral(source.samples.data(), destination.samples.data(), 8, 4, 4, ones, 3, 3), E_FAIL); // short
    EXPECT_EQ(destination.Marked(5), (std::vector<std::pair<int, int>>{}));
}

TEST(HSL, OnePixel)
{
    struct Case
    {
        BYTE r, g, b;
        float h, s, l;
    };
    for (const Case& c : {Case{255, 0, 0, 0.0f, 1.0f, 0.5f}, Case{128, 128, 128, 0.0f, 0.0f, 128 / 255.0f},
                          Case{0, 0, 255, 2.0f / 3.0f, 1.0f, 0.5f}, Case{0, 255, 0, 1.0f / 3.0f, 1.0f, 0.5f}}) {
        SCOPED_TRACE(testing::Message() << int(c.r) << "," << int(c.g) << "," << int(c.b));
        float h = -1, s = -1, l = -1;
        ASSERT_EQ(RGBToHSL(&c.r, &c.g, &c.b, &h, &s, &l), S_OK);
        EXPECT_NEAR(h, c.h, 1e-6);
        EXPECT_NEAR(s, c.s, 1e-6);
        EXPECT_NEAR(l, c.l, 1e-6);
        BYTE r = 0, g = 0, b = 0;
        ASSERT_EQ(HSLToRGB(&r, &g, &b, &h, &s, &l), S_OK);
        EXPECT_NEAR(r, c.r, 1);
        EXPECT_NEAR(g, c.g, 1);
        EXPECT_NEAR(b, c.b, 1);
    }
    float m1 = 0.2f, m2 = 0.8f, h = -0.9f;
    EXPECT_NEAR(HueToRGB(&m1, &m2, &h), 0.2f + 0.6f * 6.0f * 0.1f, 1e-6);
    EXPECT_NEAR(h, 0.1f, 1e-6);
}

TEST(HSL, QuantizeTakesTheNearestHueWithoutWrapping)
{
    const float hue = 350.0f / 360.0f, saturation = 1.0f, lightness = 0.5f;
    BYTE pixel[3];
    ASSERT_EQ(HSLToRGB(&pixel[2], &pixel[1], &pixel[0], &hue, &saturation, &lightness), S_OK);
    ASSERT_EQ(QuantizeHueRGB24(pixel, 3, 1, 1, 0), S_OK);
    float h = 0, s = 0, l = 0;
    RGBToHSL(&pixel[2], &pixel[1], &pixel[0], &h, &s, &l);
    EXPECT_NEAR(h * 360.0f, 250.0f, 1.0f);
}

TEST(HSL, PicturesOneAndFourPixelsAtATime)
{
    constexpr int Width = 5, Height = 3, RgbStride = 3 * 8, PlaneWords = 12;
    std::mt19937 random(5);
    std::vector<BYTE> picture(RgbStride * Height);
    for (BYTE& byte : picture)
        byte = static_cast<BYTE>(random());
    std::vector<uint16_t> plain[3], four[3];
    for (auto* planes : {plain, four})
        for (int p = 0; p < 3; ++p)
            planes[p].assign(PlaneWords * Height, 0xFFFF);
    int plainStride = 0, fourStride = 2 * PlaneWords;
    ASSERT_EQ(ConvertRGB24ToHSLPlanes(picture.data(), RgbStride, Width, Height, 0, plain[0].data(), plain[1].data(),
                                      plain[2].data(), &plainStride, 0),
              S_OK);
    EXPECT_EQ(plainStride, 2 * Width);
    ASSERT_EQ(ConvertRGB24ToHSLPlanes_sse(picture.data(), RgbStride, Width, Height, 0, four[0].data(), four[1].data(),
                                          four[2].data(), &fourStride, 0),
              S_OK);
    for (int p = 0; p < 3; ++p)
        for (int y = 0; y < Height; ++y) {
            for (int x = 0; x < Width; ++x)
                EXPECT_NEAR(four[p][y * PlaneWords + x], plain[p][y * Width + x], 2) << p << " " << x << "," << y;
            // Three samples past the width are written, none further.
            EXPECT_NE(four[p][y * PlaneWords + 7], 0xFFFF);
            EXPECT_EQ(four[p][y * PlaneWords + 8], 0xFFFF);
        }
    // And back.
    std::vector<BYTE> plainBack(RgbStride * Height, 0), fourBack(RgbStride * Height, 0xEE);
    int plainBackStride = RgbStride, fourBackStride = RgbStride;
    ASSERT_EQ(ConvertHSLPlanesToRGB24(plain[0].data(), plain[1].data(), plain[2].data(), Width, Height, plainStride, 0,
                                      plainBack.data(), &plainBackStride, 0),
              S_OK);
    ASSERT_EQ(ConvertHSLPlanesToRGB24_sse(four[0].data(), four[1].data(), four[2].data(), Width, Height, fourStride, 0,
                                          fourBack.data(), &fourBackStride, 0),
              S_OK);
    for (int y = 0; y < Height; ++y)
        for (int i = 0; i < 3 * Width; ++i) {
            EXPECT_NEAR(plainBack[y * RgbStride + i], picture[y * RgbStride + i], 8) << i << "," << y;
            EXPECT_NEAR(fourBack[y * RgbStride + i], picture[y * RgbStride + i], 8) << i << "," << y;
        }
}

// The four-pixel forms never write past a stride shorter than their rounded-up row.
TEST(HSL, FourPixelFormsRefuseShortStrides)
{
    std::vector<BYTE> picture(15 * 2, 100);
    std::vector<uint16_t> planes[3];
    for (auto& plane : planes)
        plane.assign(16, 0);
    int planeStride = 10;
    EXPECT_EQ(ConvertRGB24ToHSLPlanes_sse(picture.data(), 24, 5, 2, 0, planes[0].data(), planes[1].data(),
                                          planes[2].data(), &planeStride, 0),
              E_UNEXPECTED);
    planeStride = 16;
    EXPECT_EQ(ConvertRGB24ToHSLPlanes_sse(picture.data(), 15, 5, 2, 0, planes[0].data(), planes[1].data(),
                                          planes[2].data(), &planeStride, 0),
              E_UNEXPECTED);
    int pictureStride = 15;
    EXPECT_EQ(ConvertHSLPlanesToRGB24_sse(planes[0].data(), planes[1].data(), planes[2].data(), 5, 2, 16, 0,
                                          picture.data(), &pictureStride, 0),
              E_UNEXPECTED);
    planeStride = 10;
    EXPECT_EQ(ConvertRGB24ToHSLPlanes(picture.data(), 15, 5, 2, 0, planes[0].data(), planes[1].data(),
                                      planes[2].data(), &planeStride, 0),
              S_OK);
    EXPECT_EQ(ConvertRGB24ToHSLPlanes(nullptr, 15, 5, 2, 0, planes[0].data(), planes[1].data(), planes[2].data(),
                                      &planeStride, 0),
              E_INVALIDARG);
}
