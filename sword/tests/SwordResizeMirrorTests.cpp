// Resize and mirror: the vector variants against the plain one (whole destination buffers, which
// every variant writes identically), worked cases, and the refusals that keep a small or missing
// destination untouched.
#include "OptimFunctionUnifProcessSWORD.h"
#include "SwordBuffers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <string>
#include <vector>

namespace {

struct ResizeVariant
{
    const char* name;
    ResizeSwordFunction function;
};
const ResizeVariant kResizeVariants[] = {{"c", resize_funct_sword_c},
                                         {"mmx", resize_funct_sword_mmx},
                                         {"sse", resize_funct_sword_sse},
                                         {"sse2", resize_funct_sword_sse2}};

int W8(int width)
{
    return (width + 7) & ~7;
}

// Source plane whose word at (x, y) is 1000 y + x.
struct Source
{
    Source(int width, int height, int pad)
        : width(width), height(height), stride(2 * width + pad),
          plane(static_cast<size_t>(stride) * height)
    {
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                At(x, y) = static_cast<SWORD>(1000 * y + x);
    }
    SWORD& At(int x, int y) const { return plane.Words()[static_cast<size_t>(y) * stride / 2 + x]; }
    int width, height, stride;
    GuardedBuffer plane;
};

HRESULT Resize(ResizeSwordFunction function, const Source& source, GuardedBuffer& destination, int width,
               int height, int& stride, bool padding)
{
    return function(source.plane.Words(), destination.Words(), source.width, source.height, source.stride, width,
                    height, &stride, static_cast<int>(destination.Size()), padding ? 1 : 0);
}

TEST(SwordResize, VariantsMatchThePlainOne)
{
    std::mt19937 random(32);
    const int sizes[][4] = {{1, 1, 1, 1},    {5, 3, 9, 7},      {9, 7, 5, 3},       {16, 16, 16, 16},
                            {17, 5, 33, 11}, {33, 11, 17, 5},   {640, 480, 320, 240}, {320, 240, 641, 481},
                            {3, 2, 100, 1},  {100, 1, 3, 2}};
    for (const auto& size : sizes)
        for (bool padding : {false, true}) {
            Source source(size[0], size[1], 6);
            source.plane.FillRandomWords(random);
            const int w = size[2], h = size[3], stride = 2 * W8(w) + 16;
            GuardedBuffer plain(static_cast<size_t>(stride) * h);
            plain.FillRandom(random);
            std::vector<BYTE> before(plain.Bytes(), plain.Bytes() + plain.Size());
            int plainStride = stride;
            ASSERT_EQ(S_OK, Resize(resize_funct_sword_c, source, plain, w, h, plainStride, padding));
            for (const ResizeVariant& v : kResizeVariants) {
                SCOPED_TRACE(std::string(v.name) + " to " + std::to_string(w) + "x" + std::to_string(h));
                GuardedBuffer out(plain.Size());
                std::memcpy(out.Bytes(), before.data(), before.size());
                int outStride = stride;
                ASSERT_EQ(S_OK, Resize(v.function, source, out, w, h, outStride, padding));
                EXPECT_EQ(0, std::memcmp(out.Bytes(), plain.Bytes(), plain.Size()));
            }
        }
}

// Halved widths take the vector variants' halving kernels: odd destination widths, sources one
// word wider, strips past the first, starts off by 0 to 3 words, the last row ending at a guard page.
TEST(SwordResize, HalvedWidthsMatchThePlainOne)
{
    std::mt19937 random(33);
    const int sizes[][3] = {{8, 16, 2}, {9, 18, 3}, {17, 35, 2}, {23, 46, 5}, {320, 640, 3}, {321, 643, 2},
                            {1100, 2200, 2}, {1029, 2059, 1}};
    for (const auto& size : sizes)
        for (int shift = 0; shift < 4; ++shift) {
            const int w = size[0], sourceWidth = size[1], h = size[2];
            Source source(sourceWidth + shift, h, 0);
            source.plane.FillRandomWords(random);
            const int stride = 2 * W8(w);
            const auto resize = [&](ResizeSwordFunction function, GuardedBuffer& out) {
                int outStride = stride;
                return function(source.plane.Words() + shift, out.Words(), sourceWidth, h, source.stride, w, h,
                                &outStride, static_cast<int>(out.Size()), 0);
            };
            GuardedBuffer plain(static_cast<size_t>(stride) * h);
            ASSERT_EQ(S_OK, resize(resize_funct_sword_c, plain));
            for (const ResizeVariant& v : kResizeVariants) {
                SCOPED_TRACE(std::string(v.name) + " " + std::to_string(sourceWidth) + " to " + std::to_string(w) +
                             ", shift " + std::to_string(shift));
                GuardedBuffer out(plain.Size());
                ASSERT_EQ(S_OK, resize(v.function, out));
                EXPECT_EQ(0, std::memcmp(out.Bytes(), plain.Bytes(), plain.Size()));
            }
        }
}

TEST(SwordResize, WorkedCases)
{
    for (const ResizeVariant& v : kResizeVariants) {
        SCOPED_TRACE(v.name);
        {
            // Same size: a copy; the columns up to W8 come from source column 0.
            Source source(5, 3, 0);
            GuardedBuffer out(2 * 8 * 3);
            int stride = 0;
            ASSERT_EQ(S_OK, Resize(v.function, source, out, 5, 3, stride, false));
            EXPECT_EQ(16, stride);
            for (int y = 0; y < 3; ++y) {
                for (int x = 0; x < 5; ++x)
                    EXPECT_EQ(source.At(x, y), out.Words()[y * 8 + x]);
                for (int x = 5; x < 8; ++x)
                    EXPECT_EQ(source.At(0, y), out.Words()[y * 8 + x]);
            }
        }
        {
            // Double width repeats every column; half height takes every second row from row 0.
            Source source(4, 4, 0);
            GuardedBuffer out(2 * 8 * 2);
            int stride = 0;
            ASSERT_EQ(S_OK, Resize(v.function, source, out, 8, 2, stride, false));
            const SWORD expected[2][8] = {{0, 0, 1, 1, 2, 2, 3, 3}, {2000, 2000, 2001, 2001, 2002, 2002, 2003, 2003}};
            EXPECT_EQ(0, std::memcmp(expected, out.Bytes(), sizeof(expected)));
        }
        {
            // Half width: every second column from column 0; the padding flag repeats the row's start.
            Source source(8, 1, 0);
            GuardedBuffer out(2 * 8);
            int stride = 0;
            ASSERT_EQ(S_OK, Resize(v.function, source, out, 4, 1, stride, true));
            const SWORD expected[8] = {0, 2, 4, 6, 0, 2, 4, 6};
            EXPECT_EQ(0, std::memcmp(expected, out.Bytes(), sizeof(expected)));
        }
    }
}

// Rows wider than the strip of columns the resize looks up at once, against the nearest sample
// computed here: each destination word (x, y) is the source word at x * sourceWidth / width,
// y * sourceHeight / height in float; the words up to W8 repeat source column 0.
TEST(SwordResize, WideRowsTakeTheNearestSample)
{
    const int sizes[][4] = {{1500, 3, 2101, 5}, {3001, 4, 1100, 3}, {700, 2, 2049, 2}, {2048, 2, 1024, 1}};
    for (const auto& size : sizes) {
        Source source(size[0], size[1], 2);
        const int w = size[2], h = size[3];
        const float columnRatio = static_cast<float>(source.width) / static_cast<float>(w);
        const float rowRatio = static_cast<float>(source.height) / static_cast<float>(h);
        std::vector<SWORD> expected;
        for (int y = 0; y < h; ++y) {
            const int sourceRow = std::min(static_cast<int>(static_cast<float>(y) * rowRatio), source.height - 1);
            for (int x = 0; x < W8(w); ++x) {
                const int column = std::min(static_cast<int>(static_cast<float>(x) * columnRatio), source.width - 1);
                expected.push_back(source.At(x < w ? column : 0, sourceRow));
            }
        }
        for (const ResizeVariant& v : kResizeVariants) {
            SCOPED_TRACE(std::string(v.name) + " to " + std::to_string(w) + "x" + std::to_string(h));
            GuardedBuffer out(2 * expected.size());
            int stride = 2 * W8(w);
            ASSERT_EQ(S_OK, Resize(v.function, source, out, w, h, stride, false));
            EXPECT_EQ(0, std::memcmp(expected.data(), out.Bytes(), out.Size()));
        }
    }
}

TEST(SwordResize, RefusalsWriteNothing)
{
    Source source(8, 8, 0);
    GuardedBuffer out(2 * 8 * 8);
    std::memset(out.Bytes(), 0x5A, out.Size());
    const std::vector<BYTE> before(out.Bytes(), out.Bytes() + out.Size());
    struct Case
    {
        const char* what;
        int width, height, stride, capacity;
        HRESULT expected;
    };
    const Case cases[] = {
        {"capacity below W8 x 2 x height", 8, 8, 0, 2 * 8 * 8 - 1, E_UNEXPECTED},
        {"capacity below stride x height", 8, 4, 32, 2 * 8 * 8 - 1, E_UNEXPECTED},
        {"stride narrower than W8 words", 8, 4, 14, 2 * 8 * 8, E_UNEXPECTED},
        {"destination width 0", 0, 4, 0, 2 * 8 * 8, E_UNEXPECTED},
        {"destination height 0", 8, 0, 0, 2 * 8 * 8, E_UNEXPECTED},
        {"destination width whose W8 passes the int limit", INT_MAX - 3, 1, 0, INT_MAX, E_UNEXPECTED},
    };
    for (const ResizeVariant& v : kResizeVariants)
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(v.name) + ": " + c.what);
            int stride = c.stride;
            EXPECT_EQ(c.expected, v.function(source.plane.Words(), out.Words(), 8, 8, 16, c.width, c.height, &stride,
                                             c.capacity, 1));
            EXPECT_EQ(c.stride, stride);
            EXPECT_EQ(0, std::memcmp(before.data(), out.Bytes(), out.Size()));
        }
    int stride = 0;
    EXPECT_EQ(E_INVALIDARG, resize_funct_sword_sse2(nullptr, out.Words(), 8, 8, 16, 8, 8, &stride, 128, 0));
    EXPECT_EQ(E_INVALIDARG, resize_funct_sword_sse2(source.plane.Words(), nullptr, 8, 8, 16, 8, 8, &stride, 128, 0));
    EXPECT_EQ(E_INVALIDARG,
              resize_funct_sword_sse2(source.plane.Words(), out.Words(), 8, 8, 16, 8, 8, nullptr, 128, 0));
    EXPECT_EQ(E_UNEXPECTED, resize_funct_sword_c(source.plane.Words(), out.Words(), 8, 8, 15, 8, 8, &stride, 128, 0));
}

// ---- Mirror ---------------------------------------------------------------------------------

struct MirrorVariant
{
    const char* name;
    UnifSwordFunction function;
};
const MirrorVariant kMirrorVariants[] = {
    {"c", YMirror_function_c}, {"mmx", YMirror_function_mmx}, {"sse2", YMirror_function_sse2},
    {"sse2u", YMirror_function_sse2u}};

HRESULT Mirror(UnifSwordFunction function, SWORD* plane, int stride, int width, int height)
{
    return function(plane, nullptr, nullptr, nullptr, nullptr, stride, 0, width, height, 0, nullptr, nullptr, nullptr);
}

TEST(SwordMirror, VariantsMatchThePlainOneAndTwiceRestores)
{
    std::mt19937 random(21);
    for (int width : {1, 3, 8, 9, 33, 640})
        for (int height : {1, 2, 3, 4, 7, 480})
            for (int pad : {0, 2, 16}) {
                const int stride = 2 * width + pad;
                GuardedBuffer original(static_cast<size_t>(stride) * height);
                original.FillRandom(random);
                GuardedBuffer plain(original.Size());
                std::memcpy(plain.Bytes(), original.Bytes(), original.Size());
                ASSERT_EQ(S_OK, Mirror(YMirror_function_c, plain.Words(), stride, width, height));
                for (int row = 0; row < height; ++row)
                    ASSERT_EQ(0, std::memcmp(plain.Bytes() + static_cast<size_t>(row) * stride,
                                             original.Bytes() + static_cast<size_t>(height - 1 - row) * stride, stride));
                for (const MirrorVariant& v : kMirrorVariants) {
                    SCOPED_TRACE(std::string(v.name) + " " + std::to_string(width) + "x" + std::to_string(height));
                    GuardedBuffer out(original.Size());
                    std::memcpy(out.Bytes(), original.Bytes(), original.Size());
                    ASSERT_EQ(S_OK, Mirror(v.function, out.Words(), stride, width, height));
                    EXPECT_EQ(0, std::memcmp(out.Bytes(), plain.Bytes(), out.Size()));
                    ASSERT_EQ(S_OK, Mirror(v.function, out.Words(), stride, width, height));
                    EXPECT_EQ(0, std::memcmp(out.Bytes(), original.Bytes(), out.Size()));
                }
            }
}

TEST(SwordMirror, HeightZeroWritesNothingAndChecksHold)
{
    // Two rows of memory; a mirror of 0 rows must not touch either (nor a row before them).
    GuardedBuffer plane(2 * 16);
    for (int i = 0; i < 16; ++i)
        plane.Words()[i] = static_cast<SWORD>(i);
    const std::vector<BYTE> before(plane.Bytes(), plane.Bytes() + plane.Size());
    for (const MirrorVariant& v : kMirrorVariants) {
        SCOPED_TRACE(v.name);
        EXPECT_EQ(S_OK, Mirror(v.function, plane.Words() + 8, 16, 8, 0));
        EXPECT_EQ(S_OK, Mirror(v.function, plane.Words() + 8, 16, 8, -3));
        EXPECT_EQ(E_UNEXPECTED, Mirror(v.function, plane.Words(), 15, 8, 2));
        EXPECT_EQ(0, std::memcmp(before.data(), plane.Bytes(), plane.Size()));
        int answer = 0;
        EXPECT_EQ(S_FALSE, v.function(nullptr, nullptr, nullptr, nullptr, nullptr, 0, 0, 0, 0, 0, nullptr, nullptr,
                                      &answer));
        EXPECT_EQ(-1, answer);
        EXPECT_EQ(E_UNEXPECTED, Mirror(v.function, nullptr, 16, 8, 2));
    }
}

} // namespace
