// Every MMX and SSE2 row routine gives the plain routine's bytes: odd widths, strides and starts
// off every vector boundary, and buffers whose last byte sits before an inaccessible page.
#include "ConversionRoutineTable.h"
#include "SwordBuffers.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>

namespace {

constexpr size_t kLargestBuffer = 1 << 20;

// Three guarded buffers made once: source, plain result, variant result.
class ConversionParity : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_source = new GuardedBuffer(kLargestBuffer);
        s_expected = new GuardedBuffer(kLargestBuffer);
        s_actual = new GuardedBuffer(kLargestBuffer);
    }
    static void TearDownTestSuite()
    {
        delete s_source;
        delete s_expected;
        delete s_actual;
    }

    static GuardedBuffer* s_source;
    static GuardedBuffer* s_expected;
    static GuardedBuffer* s_actual;
    std::mt19937 m_random{20};
};
GuardedBuffer* ConversionParity::s_source = nullptr;
GuardedBuffer* ConversionParity::s_expected = nullptr;
GuardedBuffer* ConversionParity::s_actual = nullptr;

// Widths around every step size; shifts move strides and starts off 16-byte boundaries.
constexpr int kWidths[] = {1, 2, 7, 8, 15, 16, 17, 33, 100, 641};
constexpr int kShifts[] = {0, 1, 5, 8};
constexpr int kHeight = 3;

void ExpectRowsEqual(const BYTE* expected, const BYTE* actual, int stride, int rowBytes, int rows,
                     const std::string& label)
{
    for (int row = 0; row < rows; ++row)
        ASSERT_EQ(0, std::memcmp(expected + static_cast<size_t>(stride) * row, actual + static_cast<size_t>(stride) * row,
                                 rowBytes))
            << label << " row " << row;
}

TEST_F(ConversionParity, PackedRoutinesMatchThePlainOne)
{
    for (const PackedRoutine& routine : kPackedRoutines) {
        for (int width : kWidths) {
            for (int shift : kShifts) {
                const int sourceStride = StrideForEveryVariant(width, routine.sourceBytesPerPixel) + shift;
                const int destinationStride = StrideForEveryVariant(width, routine.destinationBytesPerPixel) + shift;
                GuardedTail source(*s_source, static_cast<size_t>(sourceStride) * kHeight);
                GuardedTail expected(*s_expected, static_cast<size_t>(destinationStride) * kHeight);
                GuardedTail actual(*s_actual, static_cast<size_t>(destinationStride) * kHeight);
                source.FillRandom(m_random);
                ASSERT_EQ(S_OK, routine.variants[0](expected.Bytes(), source.Bytes(), destinationStride, sourceStride,
                                                    width, kHeight));
                for (size_t variant = 1; variant < routine.variants.size(); ++variant) {
                    const std::string label = std::string(routine.name) + " " + kVariantNames[variant] + " width " +
                                              std::to_string(width) + " shift " + std::to_string(shift);
                    ASSERT_EQ(S_OK, routine.variants[variant](actual.Bytes(), source.Bytes(), destinationStride,
                                                              sourceStride, width, kHeight))
                        << label;
                    ExpectRowsEqual(expected.Bytes(), actual.Bytes(), destinationStride,
                                    width * routine.destinationBytesPerPixel, kHeight, label);
                }
            }
        }
    }
}

// The frame-level conversion reorders in place: source and destination are the same rows.
TEST_F(ConversionParity, ReordersInPlaceMatchThePlainOne)
{
    for (const PackedRoutine& routine : kPackedRoutines) {
        if (routine.sourceBytesPerPixel != 2 || routine.destinationBytesPerPixel != 2)
            continue;
        for (int width : kWidths) {
            for (int shift : kShifts) {
                const int stride = StrideForEveryVariant(width, 2) + shift;
                const size_t bytes = static_cast<size_t>(stride) * kHeight;
                GuardedTail expected(*s_expected, bytes);
                GuardedTail actual(*s_actual, bytes);
                expected.FillRandom(m_random);
                std::memcpy(actual.Bytes(), expected.Bytes(), bytes);
                ASSERT_EQ(S_OK, routine.variants[0](expected.Bytes(), expected.Bytes(), stride, stride, width, kHeight));
                for (size_t variant = 1; variant < routine.variants.size(); ++variant) {
                    const std::string label = std::string(routine.name) + " " + kVariantNames[variant] + " in place, width " +
                                              std::to_string(width) + " shift " + std::to_string(shift);
                    GuardedTail source(*s_source, bytes);
                    std::memcpy(source.Bytes(), actual.Bytes(), bytes);
                    ASSERT_EQ(S_OK, routine.variants[variant](source.Bytes(), source.Bytes(), stride, stride, width,
                                                              kHeight))
                        << label;
                    ExpectRowsEqual(expected.Bytes(), source.Bytes(), stride, 2 * width, kHeight, label);
                }
            }
        }
    }
}

TEST_F(ConversionParity, PlanarRoutinesMatchThePlainOne)
{
    constexpr int kPlanarWidths[] = {2, 4, 6, 8, 14, 16, 30, 642};
    constexpr int kHeights[] = {1, 2, 5, 6};
    for (const PlanarRoutine& routine : kPlanarRoutines) {
        for (int width : kPlanarWidths) {
            for (int height : kHeights) {
                for (int shift : kShifts) {
                    // The planes end right at the guard page: any read past them faults.
                    const int capacity = static_cast<int>(GetPlanar420FrameBytes(width, height));
                    const int destinationStride = 2 * width + shift;
                    GuardedTail source(*s_source, static_cast<size_t>(capacity));
                    GuardedTail expected(*s_expected, static_cast<size_t>(destinationStride) * height);
                    GuardedTail actual(*s_actual, static_cast<size_t>(destinationStride) * height);
                    source.FillRandom(m_random);
                    ASSERT_EQ(S_OK, routine.variants[0](expected.Bytes(), source.Bytes(), destinationStride, width,
                                                        height, capacity));
                    for (size_t variant = 1; variant < routine.variants.size(); ++variant) {
                        const std::string label = std::string(routine.name) + " " + kVariantNames[variant] + " " +
                                                  std::to_string(width) + "x" + std::to_string(height) + " shift " +
                                                  std::to_string(shift);
                        ASSERT_EQ(S_OK, routine.variants[variant](actual.Bytes(), source.Bytes(), destinationStride,
                                                                  width, height, capacity))
                            << label;
                        ExpectRowsEqual(expected.Bytes(), actual.Bytes(), destinationStride, 2 * width, height, label);
                    }
                }
            }
        }
    }
}

} // namespace
