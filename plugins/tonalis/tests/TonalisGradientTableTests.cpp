// The gradient effects' tables: what each effect number builds, the rotation, the random table and
// the animation phase.
#include "Tonalis1_GradientTables.h"

#include <gtest/gtest.h>

#include <string>

namespace {

GradientTable Built(int32_t effect, const GradientTable& userCurve = {})
{
    GradientTable table;
    EXPECT_EQ(S_OK, BuildGradientEffectTable(effect, userCurve, table));
    return table;
}

TEST(TonalisGradientTables, EachEffectBuildsItsMapping)
{
    struct Case
    {
        int32_t effect;
        SWORD (*expected)(int i);
    };
    const Case cases[] = {
        {2, [](int i) { return static_cast<SWORD>(i / 30 * 30); }},
        {3, [](int i) { return static_cast<SWORD>(255 - i); }},
        {5, [](int i) { return static_cast<SWORD>(i / 20 % 2 == 0 ? 0 : 255); }},
        {9, [](int i) { return static_cast<SWORD>(i < 50 ? 0 : 255); }},
        {10, [](int i) { return static_cast<SWORD>(i < 90 ? 0 : 255); }},
        {16, [](int i) { return static_cast<SWORD>(i < 120 ? 0 : 255); }},
        {17, [](int i) { return static_cast<SWORD>(i < 150 ? 0 : 255); }},
        {18, [](int i) { return static_cast<SWORD>(i < 180 ? 0 : 255); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("effect " + std::to_string(c.effect));
        EXPECT_TRUE(IsTableGradientEffect(c.effect));
        const GradientTable table = Built(c.effect);
        for (int i = 0; i < 256; ++i)
            ASSERT_EQ(c.expected(i), table.GetElement(i)) << i;
    }
    EXPECT_EQ(240, Built(2).GetElement(255));
}

TEST(TonalisGradientTables, ToneMapsChangeAtTheEndsOfTheirRuns)
{
    struct Case
    {
        int32_t effect;
        int entry;
        SWORD value;
    };
    const Case cases[] = {{6, 39, 0},    {6, 40, 14},   {6, 196, 30},  {6, 197, 170}, {6, 255, 234},
                          {7, 19, 0},    {7, 20, 19},   {7, 157, 255}, {7, 216, 0},   {7, 255, 61},
                          {8, 78, 146},  {8, 79, 216},  {8, 118, 255}, {8, 119, 187}, {8, 255, 255}};
    for (const Case& c : cases)
        EXPECT_EQ(c.value, Built(c.effect).GetElement(c.entry)) << "effect " << c.effect << " entry " << c.entry;
}

TEST(TonalisGradientTables, UserCurveIsCopiedAndOtherNumbersBuildNothing)
{
    GradientTable curve;
    for (uint32_t i = 0; i < 256; ++i)
        curve.GetElement(i) = static_cast<SWORD>(i * 7 % 256);
    EXPECT_EQ(curve.GetElement(200), Built(1, curve).GetElement(200));
    for (const int32_t effect : {0, 4, 11, 15, 19, 0xFFFF}) {
        SCOPED_TRACE(effect);
        EXPECT_FALSE(IsTableGradientEffect(effect));
        GradientTable table;
        table.Fill(77);
        EXPECT_EQ(E_INVALIDARG, BuildGradientEffectTable(effect, curve, table));
        EXPECT_EQ(77, table.GetElement(0));
    }
}

TEST(TonalisGradientTables, RotationShiftsTheEntries)
{
    const GradientTable inversion = Built(3);
    GradientTable working;
    RotateGradientTable(inversion, 10, working);
    EXPECT_EQ(245, working.GetElement(0));
    EXPECT_EQ(0, working.GetElement(245));
    EXPECT_EQ(255, working.GetElement(246));
    RotateGradientTable(inversion, 0, working);
    EXPECT_EQ(255, working.GetElement(0));
}

TEST(TonalisGradientTables, RandomTableStaysSmallAndChanges)
{
    GradientTable first, second;
    FillRandomGradientTable(first);
    FillRandomGradientTable(second);
    bool changed = false;
    for (int i = 0; i < 256; ++i) {
        EXPECT_GE(first.GetElement(i), 0);
        EXPECT_LE(first.GetElement(i), i < 10 ? i : 10) << i;
        changed = changed || first.GetElement(i) != second.GetElement(i);
    }
    EXPECT_TRUE(changed);
}

TEST(TonalisGradientTables, PhaseAdvancesWithTimeAndWraps)
{
    EXPECT_EQ(0.0, GradientPhaseSpeed(3));
    EXPECT_EQ(0.1, GradientPhaseSpeed(kGradientAnimate | 3));
    EXPECT_EQ(0.05, GradientPhaseSpeed(kGradientAnimate | kGradientSharpenFirst | 5));
    EXPECT_FLOAT_EQ(0.25f, AdvanceGradientPhase(0.0f, 2500, 0.1));
    EXPECT_FLOAT_EQ(0.125f, AdvanceGradientPhase(0.0f, 2500, 0.05));
    EXPECT_FLOAT_EQ(0.5f, AdvanceGradientPhase(0.75f, 7500, 0.1));
    EXPECT_FLOAT_EQ(0.75f, AdvanceGradientPhase(0.75f, 100000, 0.0));
    EXPECT_EQ(0, GradientShift(0.0f));
    EXPECT_EQ(127, GradientShift(0.5f));
    EXPECT_EQ(254, GradientShift(0.99999f));
}

} // namespace
