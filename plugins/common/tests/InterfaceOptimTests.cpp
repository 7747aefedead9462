#include "interface_optim.h"

#include "ForcedProcessorFeatures.h"

#include <gtest/gtest.h>

TEST(InterfaceOptim, ModeChoosesTheVariantAndIsAnsweredWhole)
{
    struct Case
    {
        uint32_t mode;
        SwordColumn column;
    };
    const Case cases[] = {
        {1, SwordColumn::Mmx},         {0, SwordColumn::Mmx},          {2, SwordColumn::SseInteger},
        {0x50002, SwordColumn::SseInteger}, {4, SwordColumn::Sse2},    {8, SwordColumn::Sse2},
        {32, SwordColumn::Sse2},       {64, SwordColumn::Sse2},        {128, SwordColumn::Mmx},
        {256, SwordColumn::Mmx},       {512, SwordColumn::Mmx},
    };
    for (const Case& c : cases) {
        ObjectOptimProcessorDataPath1 optim;
        ListParamsDataPath1 params;
        params.SetNumberParams(1);
        params.m_params.GetElement(0).SetInt(static_cast<int32_t>(c.mode));
        ASSERT_EQ(optim.Dispatch(ObjectOptimProcessorDataPath1::kMethodSetMode, &params, 15), S_OK);
        EXPECT_EQ(optim.GetColumn(), c.column) << c.mode;

        params.SetNumberParams(1);
        ASSERT_EQ(optim.Dispatch(ObjectOptimProcessorDataPath1::kMethodGetMode, &params, 15), S_OK);
        EXPECT_EQ(params.m_params.GetElement(0).m_type, 1u);
        EXPECT_EQ(params.m_params.GetElement(0).GetUInt(), c.mode);
    }
}

TEST(InterfaceOptim, StartsInMmxModeAndAnswersTheSupportedMask)
{
    ObjectOptimProcessorDataPath1 optim;
    EXPECT_EQ(optim.GetModeValue(), 1u);
    EXPECT_EQ(optim.GetColumn(), SwordColumn::Mmx);

    ListParamsDataPath1 params;
    params.SetNumberParams(1);
    params.m_params.GetElement(0).SetPointer(&params, 0, false);
    ASSERT_EQ(optim.Dispatch(ObjectOptimProcessorDataPath1::kMethodGetSupportedModes, &params, 15), S_OK);
    const InfoParamDataPath1& answer = params.m_params.GetElement(0);
    EXPECT_EQ(answer.m_type, 1u);
    EXPECT_EQ(answer.GetInt(), 15);
    EXPECT_EQ(answer.GetPointer(), nullptr);
    EXPECT_EQ(answer.m_size, 0u);

    EXPECT_EQ(optim.Dispatch(ObjectOptimProcessorDataPath1::kMethodGetMode, nullptr, 15), E_INVALIDARG);
    EXPECT_EQ(ObjectOptimProcessorDataPath1::GetSupportedModes(nullptr, 15), E_INVALIDARG);
    EXPECT_EQ(optim.GetMode(nullptr), E_INVALIDARG);
}

TEST(InterfaceOptim, ModeBeyondTheProcessorKeepsTheModeAndRunsWhatTheProcessorHas)
{
    ForcedProcessorFeatures mmxAndSse(true, true, false);
    ObjectOptimProcessorDataPath1 optim;
    ASSERT_EQ(optim.SetMode(4), S_OK);
    EXPECT_EQ(optim.GetModeValue(), 4u);
    EXPECT_EQ(optim.GetColumn(), SwordColumn::SseInteger);
}
