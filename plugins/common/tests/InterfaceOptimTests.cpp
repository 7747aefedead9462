#include "interface_optim.h"

#include "ForcedProcessorFeatures.h"

#include <gtest/gtest.h>

TEST(InterfaceOptim, ModeChoosesTheVariantAndIsAnsweredWhole)
{
    struct Case
    {
        uint32_t mode;
        SwordColumn column;
        bool namesInstructionSet;
    };
    const Case cases[] = {
        {1, SwordColumn::Mmx, true},          {0, SwordColumn::Mmx, false},   {2, SwordColumn::SseInteger, true},
        {0x50002, SwordColumn::SseInteger, true}, {4, SwordColumn::Sse2, true}, {8, SwordColumn::Sse2, true},
        {32, SwordColumn::Sse2, true},        {64, SwordColumn::Sse2, true},  {128, SwordColumn::Mmx, false},
        {256, SwordColumn::Mmx, false},       {512, SwordColumn::Mmx, false},
    };
    for (const Case& c : cases) {
        ObjectOptimProcessorDataPath1 optim;
        ListParamsDataPath1 params;
        params.SetNumberParams(1);
        params.m_params.GetElement(0).SetInt(static_cast<int32_t>(c.mode));
        ASSERT_EQ(optim.Dispatch(ObjectOptimProcessorDataPath1::kMethodSetMode, &params, 15), S_OK);
        EXPECT_EQ(optim.GetColumn(), c.column) << c.mode;
        EXPECT_EQ(optim.NamesInstructionSet(), c.namesInstructionSet) << c.mode;

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
