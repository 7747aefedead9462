#include "KestrelDebugFunct.h"

#include "ForcedProcessorFeatures.h"
#include "LogCapture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

TEST(MemCopy, CopiesEveryLengthAndRefusesNull)
{
    std::vector<unsigned char> source(1000), destination(1002);
    for (size_t i = 0; i < source.size(); ++i)
        source[i] = static_cast<unsigned char>(i * 7);
    for (size_t length : {0u, 1u, 63u, 64u, 65u, 999u}) {
        std::fill(destination.begin(), destination.end(), 0xEE);
        ASSERT_EQ(MemCopy(destination.data() + 1, source.data(), length, "test"), S_OK);
        for (size_t i = 0; i < length; ++i)
            ASSERT_EQ(destination[i + 1], source[i]) << length;
        EXPECT_EQ(destination[length + 1], 0xEE) << "nothing written past the length";
    }
    EXPECT_EQ(MemCopy(nullptr, source.data(), 4, "test"), E_INVALIDARG);
    EXPECT_EQ(MemCopy(destination.data(), nullptr, 4, "test"), E_INVALIDARG);
}

TEST(MemCopy, OverlappingBlocksMoveCorrectly)
{
    unsigned char bytes[200];
    for (int i = 0; i < 200; ++i)
        bytes[i] = static_cast<unsigned char>(i);
    ASSERT_EQ(MemCopy(bytes + 10, bytes, 150, "test"), S_OK);
    for (int i = 0; i < 150; ++i)
        ASSERT_EQ(bytes[i + 10], i);
}

TEST(MemStr, FindsAndReplacesByteStrings)
{
    char block[] = "abcXYabcXYab";
    EXPECT_EQ(MemStr(block, 12, "XY", 2), block + 3);
    EXPECT_EQ(MemStr(block, 12, "ZZ", 2), nullptr);
    EXPECT_EQ(MemStr(block, 4, "XY", 2), nullptr) << "the match must lie inside the size";
    EXPECT_EQ(MemStr(block, 12, "", 0), nullptr);

    EXPECT_EQ(MemReplaceStr1(block, 12, "ab", "--", 2), 3);
    EXPECT_STREQ(block, "--cXY--cXY--");
}

TEST(CheckRWBufferMemory, TellsWritableFromReadOnlyMemory)
{
    std::vector<char> heapBlock(100000);
    EXPECT_EQ(CheckRWBufferMemory(heapBlock.data(), heapBlock.size()), S_OK);
    static const char constant[] = "read only";
    EXPECT_EQ(CheckRWBufferMemory(constant, sizeof(constant)), E_FAIL);
    EXPECT_EQ(CheckRWBufferMemory(nullptr, 4), E_INVALIDARG);

    void* page = VirtualAlloc(nullptr, 8192, MEM_RESERVE, PAGE_READWRITE);
    VirtualAlloc(page, 4096, MEM_COMMIT, PAGE_READWRITE);
    EXPECT_EQ(CheckRWBufferMemory(page, 4096), S_OK);
    EXPECT_EQ(CheckRWBufferMemory(page, 4097), E_FAIL) << "second page only reserved";
    VirtualFree(page, 0, MEM_RELEASE);
}

TEST(CheckFloatValue, ReplacesNonFiniteValues)
{
    struct Case
    {
        float value;
        HRESULT result;
        float expected;
    } cases[] = {
        {1.5f, S_OK, 1.5f},
        {-0.0f, S_OK, -0.0f},
        {std::numeric_limits<float>::infinity(), S_FALSE, 7.0f},
        {-std::numeric_limits<float>::infinity(), S_FALSE, 7.0f},
        {std::numeric_limits<float>::quiet_NaN(), S_FALSE, 7.0f},
    };
    for (Case c : cases) {
        float value = c.value;
        EXPECT_EQ(CheckFloatValue(&value, 7.0f), c.result);
        EXPECT_EQ(value, c.expected);
    }
    EXPECT_EQ(CheckFloatValue(nullptr, 1.0f), E_INVALIDARG);
}

TEST(WideCharToChar, ConvertsAndCutsToTheBuffer)
{
    char buffer[6];
    EXPECT_EQ(WideCharToChar(L"Korv", buffer, sizeof(buffer)), S_OK);
    EXPECT_STREQ(buffer, "Korv");
    EXPECT_EQ(WideCharToChar(L"Korvane", buffer, sizeof(buffer)), S_FALSE);
    EXPECT_STREQ(buffer, "Korva");
    EXPECT_EQ(WideCharToChar(nullptr, buffer, sizeof(buffer)), E_INVALIDARG);
}

TEST(SystemInfo, ProcessorDescriptionHasTheBaseFeatures)
{
    InfoAboutCPUFromCPUID info;
    ASSERT_EQ(GetCPUInfoFromCPUID(&info, false), S_OK);
    EXPECT_GT(std::strlen(info.m_text), 0u);
    // Every x86-64 processor has MMX, SSE, SSE2 and long mode.
    EXPECT_EQ(info.m_flags[CpuFlagMMX], 1);
    EXPECT_EQ(info.m_flags[CpuFlagSSE], 1);
    EXPECT_EQ(info.m_flags[CpuFlagSSE2], 1);
    EXPECT_EQ(info.m_flags[CpuFlagEM64T], 1);
    EXPECT_EQ(GetCPUInfoFromCPUID(nullptr, false), E_INVALIDARG);
}

TEST(ProcessorKernelSets, ModeWordChoosesTheSetOnAProcessorWithSse2)
{
    struct Case
    {
        uint32_t mode;
        ProcessorKernelSet set;
    };
    const Case cases[] = {{0, ProcessorKernelSet::Mmx},         {1, ProcessorKernelSet::Mmx},
                          {3, ProcessorKernelSet::Mmx},         {128, ProcessorKernelSet::Mmx},
                          {256, ProcessorKernelSet::Mmx},       {512, ProcessorKernelSet::Mmx},
                          {2, ProcessorKernelSet::SseInteger},  {0x10002, ProcessorKernelSet::SseInteger},
                          {4, ProcessorKernelSet::Sse2},        {8, ProcessorKernelSet::Sse2},
                          {32, ProcessorKernelSet::Sse2},       {64, ProcessorKernelSet::Sse2},
                          {0xFFFF0004, ProcessorKernelSet::Sse2}};
    LogCapture log;
    for (const Case& c : cases)
        EXPECT_EQ(SelectProcessorKernelSet(c.mode), c.set) << c.mode;
    EXPECT_FALSE(log.Contains("SelectProcessorKernelSet")) << "nothing lowered, nothing logged";
}

TEST(ProcessorKernelSets, TheFirstLoweringIsLoggedOnce)
{
    LogCapture log;
    {
        ForcedProcessorFeatures mmxOnly(true, false, false);
        EXPECT_EQ(SelectProcessorKernelSet(4), ProcessorKernelSet::Mmx);
        EXPECT_EQ(SelectProcessorKernelSet(2), ProcessorKernelSet::Mmx);
        EXPECT_EQ(SelectProcessorKernelSet(1), ProcessorKernelSet::Mmx);
    }
    EXPECT_EQ(SelectProcessorKernelSet(4), ProcessorKernelSet::Sse2) << "the detected features are back";
    const std::vector<std::string> lines = log.Lines();
    ASSERT_EQ(std::count_if(lines.begin(), lines.end(),
                            [](const std::string& line) { return line.find("SelectProcessorKernelSet") != std::string::npos; }),
              1);
    EXPECT_TRUE(log.Contains("mode 4 asks for SSE2 kernels the processor lacks, MMX used"));
}

TEST(SystemInfo, SystemAndMemoryTexts)
{
    SYSTEM_INFO system;
    GetSystemInfo(&system);
    DynamicString processor, memory;
    ASSERT_EQ(GetStringSystemInfo1(&system, processor, memory), S_OK);
    EXPECT_GE(processor.FindFirstSubstring("Processors: "), 0);
    EXPECT_GE(memory.FindFirstSubstring("Page size: 4096"), 0);

    MEMORYSTATUS status{};
    status.dwLength = sizeof(status);
    GlobalMemoryStatus(&status);
    DynamicString text;
    ASSERT_EQ(GetStringSystemInfo3(&status, text), S_OK);
    EXPECT_GE(text.FindFirstSubstring("physical: "), 0);
}

TEST(DirectXErrors, NamesKnownCodesAndNumbersOthers)
{
    struct Case
    {
        HRESULT code;
        const char* text;
    } cases[] = {
        {static_cast<HRESULT>(0x887601C2), "DDERR_SURFACELOST"},
        {static_cast<HRESULT>(0x80040217), "VFW_E_CANNOT_CONNECT"},
        {E_INVALIDARG, "E_INVALIDARG"},
        {static_cast<HRESULT>(0x8876FFFF), "0x8876FFFF"},
    };
    for (const Case& c : cases) {
        DynamicString text;
        GetErrorDirectDrawXCode(text, c.code);
        EXPECT_STREQ(text.GetString(), c.text);
    }
}
