#include "StaticAndDynamicBoundsObject.h"

#include "LogCapture.h"
#include "ThrownInteger.h"

#include <gtest/gtest.h>

#include <string>

namespace {


// An element that counts constructions and destructions.
struct Counted
{
    static inline int alive = 0;
    int value = 0;
    Counted() { ++alive; }
    Counted(const Counted& other) : value(other.value) { ++alive; }
    Counted& operator=(const Counted&) = default;
    ~Counted() { --alive; }
};

} // namespace

TEST(StaticBoundsObject, ChecksIndexAndFills)
{
    StaticBoundsObject<int, 16> array;
    EXPECT_EQ(array.GetElement(0), 0) << "elements start value-initialised";
    array.GetElement(15) = 7;
    EXPECT_EQ(array.GetElement(15), 7);
    EXPECT_EQ(ThrownInteger([&] { array.GetElement(16); }), 2);

    EXPECT_EQ(array.Fill(3), S_OK);
    StaticBoundsObject<int, 16> copy;
    copy = array;
    for (uint32_t i = 0; i < 16; ++i)
        EXPECT_EQ(copy.GetElement(i), 3);
}

TEST(DynamicBoundsObject, IndexChecksBeforeAndAfterStorage)
{
    DynamicBoundsObject<int> array;
    ASSERT_EQ(array.Init(0, 4), S_OK);
    EXPECT_EQ(ThrownInteger([&] { array.GetElement(0); }), 1);
    ASSERT_EQ(array.SetSize(3), S_OK);
    EXPECT_EQ(array.GetCapacity(), 7u);
    EXPECT_EQ(ThrownInteger([&] { array.GetElement(3); }), 2);
    EXPECT_EQ(ThrownInteger([&] { array.GetElement(2); }), 0);
}

TEST(DynamicBoundsObject, GrowsByStepAndShrinksPastThreeSteps)
{
    DynamicBoundsObject<int> array;
    array.Init(3, 4);
    array.GetElement(0) = 42;

    struct Step
    {
        uint32_t size;
        uint32_t capacity;
    } steps[] = {{10, 14}, {5, 14}, {1, 5}, {5, 5}, {6, 10}};
    for (const Step& step : steps) {
        ASSERT_EQ(array.SetSize(step.size), S_OK);
        EXPECT_EQ(array.GetCount(), step.size);
        EXPECT_EQ(array.GetCapacity(), step.capacity) << "size " << step.size;
        EXPECT_EQ(array.GetElement(0), 42) << "first element kept";
    }
}

TEST(DynamicBoundsObject, StepZeroNeverShrinksAndSizeZeroFrees)
{
    DynamicBoundsObject<int> array;
    array.Init(100, 0);
    array.SetSize(1);
    EXPECT_EQ(array.GetCapacity(), 100u);
    EXPECT_EQ(array.SetSize(0), S_OK);
    EXPECT_FALSE(array.HasStorage());
    EXPECT_EQ(array.GetCapacity(), 0u);
    EXPECT_EQ(array.SetSize(0), S_OK) << "empty stays empty";
    EXPECT_FALSE(array.HasStorage());
}

TEST(DynamicBoundsObject, ForcedResizeReallocatesEvenAtTheSameCapacity)
{
    DynamicBoundsObject<int> array;
    array.Init(4, 2);
    EXPECT_EQ(array.SetSizeReal(3, true), S_OK);
    EXPECT_EQ(array.GetCapacity(), 5u);
    EXPECT_EQ(array.SetSizeReal(3, true), S_OK) << "same count changes nothing";
    EXPECT_EQ(array.GetCapacity(), 5u);
}

// Mend: a growth that cannot be made keeps the array and its elements as they were.
TEST(DynamicBoundsObject, ImpossibleSizeFailsAndKeepsTheArray)
{
    LogCapture capture;
    DynamicBoundsObject<double> array;
    array.Init(2, 0);
    array.GetElement(0) = 1.5;
    array.GetElement(1) = 2.5;
    EXPECT_EQ(array.SetSize(0x40000000u), E_FAIL) << "8 GiB of doubles does not fit 32 bits";
    EXPECT_EQ(array.GetCount(), 2u);
    EXPECT_EQ(array.GetCapacity(), 2u);
    EXPECT_EQ(array.GetElement(0), 1.5);
    EXPECT_EQ(array.GetElement(1), 2.5);
    EXPECT_TRUE(capture.Contains(g_add_text_except));
}

TEST(DynamicBoundsObject, ShiftDownDropsTheFirstElements)
{
    DynamicBoundsObject<char> array;
    array.Init(5, 0);
    const char letters[] = "abcde";
    for (uint32_t i = 0; i < 5; ++i)
        array.GetElement(i) = letters[i];
    EXPECT_EQ(array.ShiftDown(2), S_OK);
    std::string result;
    for (uint32_t i = 0; i < array.GetCount(); ++i)
        result += array.GetElement(i);
    EXPECT_EQ(result, "cdede");
    EXPECT_EQ(array.ShiftDown(0), E_FAIL) << "shift by zero throws 100 inside";
    EXPECT_EQ(array.ShiftDown(9), S_OK) << "more than the count does nothing";
    EXPECT_EQ(array.GetElement(0), 'c');
}

TEST(DynamicBoundsObject, AssignmentCopiesAndRefusesSelf)
{
    DynamicBoundsObject<int> source, target;
    source.Init(3, 5);
    for (uint32_t i = 0; i < 3; ++i)
        source.GetElement(i) = static_cast<int>(i) + 1;
    target = source;
    EXPECT_EQ(target.GetCount(), 3u);
    EXPECT_EQ(target.GetStep(), 5u);
    EXPECT_EQ(target.GetElement(2), 3);

    LogCapture capture;
    auto& alias = target;
    target = alias;
    EXPECT_EQ(target.GetCount(), 3u);
    EXPECT_EQ(target.GetElement(2), 3);
    EXPECT_TRUE(capture.Contains(g_add_text_except));
}

TEST(DynamicBoundsObject, ElementsAreDestroyedOnFreeAndDestruction)
{
    ASSERT_EQ(Counted::alive, 0);
    {
        DynamicBoundsObject<Counted> array;
        array.Init(3, 2);
        EXPECT_EQ(Counted::alive, 5) << "capacity elements exist";
        array.Init(1, 0);
        EXPECT_EQ(Counted::alive, 1) << "Init frees what was there";
        EXPECT_EQ(array.FreeAndCheck(), S_OK);
        EXPECT_EQ(Counted::alive, 0);
        array.SetSize(4);
    }
    EXPECT_EQ(Counted::alive, 0);
}
