#include "StructForInterfaceDataPath1.h"
#include "format_frame_vcodec1.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cmath>

// Host and plug-ins exchange the records in place: the pointer word and the size word sit where
// every module expects them.
TEST(CallRecords, ParameterLayout)
{
    EXPECT_EQ(offsetof(InfoParamDataPath1, m_value), 8u);
    EXPECT_EQ(offsetof(InfoParamDataPath1, m_size), 32u);
    EXPECT_EQ(sizeof(InfoParamDataPath1), 40u);
    EXPECT_EQ(sizeof(ListParamsDataPath1), 648u);

    InfoParamDataPath1 param;
    int value = 0;
    param.SetIntPointer(&value, 4, false);
    void* stored = nullptr;
    std::memcpy(&stored, reinterpret_cast<const char*>(&param) + 24, sizeof(stored));
    EXPECT_EQ(stored, &value) << "the pointer lives in the fifth word of the value area";
}

TEST(CallRecords, SettersWriteTypeCodes)
{
    InfoParamDataPath1 param;
    int integer = 0;
    struct Case
    {
        uint32_t expected;
        uint32_t type;
    };
    const Case cases[] = {
        {1, param.SetInt(-5).m_type},
        {3, param.SetUInt(5).m_type},
        {4, param.SetBool(true).m_type},
        {6, param.SetFloat(2.5f).m_type},
        {10, param.SetWindow(nullptr).m_type},
        {0x1000005, (param.SetPointer(&integer, 4, false), param.m_type)},
        {0x3000005, (param.SetPointer(&integer, 4, true), param.m_type)},
        {0x1000001, (param.SetIntPointer(&integer, 4, false), param.m_type)},
        {0x1000008, (param.SetTextPointer(nullptr, 0, false), param.m_type)},
        {0x300000D, (param.SetStructPointer(nullptr, 0, true), param.m_type)},
        {0, (param.Reset(), param.m_type)},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.type, c.expected);

    EXPECT_EQ(param.SetFloat(2.5f).GetFloat(), 2.5f);
    EXPECT_EQ(param.GetPointer(), nullptr) << "a value setter clears the pointer";
    param.SetPointer(&integer, 64, false);
    EXPECT_EQ(param.m_size, 0u) << "the size argument is not stored";
    EXPECT_EQ(param.GetPointer(), &integer);
}

TEST(CallRecords, SetNumberParamsClearsAndBoundsTheList)
{
    ListParamsDataPath1 list;
    EXPECT_EQ(list.m_count, 0u);
    EXPECT_EQ(list.m_size, sizeof(ListParamsDataPath1));
    list.m_params.GetElement(15).SetInt(3);
    EXPECT_EQ(list.SetNumberParams(17), E_UNEXPECTED);
    EXPECT_EQ(list.m_count, 0u);
    EXPECT_EQ(list.m_params.GetElement(15).m_type, 1u) << "a refused count changes nothing else";
    EXPECT_EQ(list.SetNumberParams(16), S_OK);
    EXPECT_EQ(list.m_count, 16u);
    EXPECT_EQ(list.m_params.GetElement(15).m_type, 0u);
    EXPECT_THROW(list.m_params.GetElement(16), int);
}

TEST(CallRecords, CodecFrameFormatIsClamped)
{
    InfoFormatFrameVCodec format;
    EXPECT_EQ(format.m_size, 24u);
    EXPECT_EQ(format.m_count, 5);
    EXPECT_EQ(format.m_limit, 1500);
    EXPECT_EQ(format.m_factor1, 8.0f);

    format.m_size = 3;
    format.m_count = 0;
    format.m_limit = 9999;
    format.m_factor1 = 0.5f;
    format.m_factor2 = std::nanf("");
    ASSERT_EQ(format.CheckStruct(), S_OK);
    EXPECT_EQ(format.m_size, 24u);
    EXPECT_EQ(format.m_count, 1);
    EXPECT_EQ(format.m_limit, 2500);
    EXPECT_EQ(format.m_factor1, 1.0f);
    EXPECT_EQ(format.m_factor2, 1.0f);
}
