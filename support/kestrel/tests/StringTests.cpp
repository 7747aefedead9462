#include "KestrelDebugFunct.h"
#include "LogCapture.h"

#include <gtest/gtest.h>

#include <climits>

TEST(DynamicString, AssignsNarrowAndWideText)
{
    DynamicString text("camera");
    EXPECT_STREQ(text.GetString(), "camera");
    EXPECT_EQ(text.GetLenString(), 6u);

    text = L"Wide \u00e9";
    EXPECT_EQ(text.GetLenString(), 6u);
    EXPECT_EQ(text.GetString()[0], 'W');

    text = static_cast<const char*>(nullptr);
    EXPECT_STREQ(text.GetString(), "");

    DynamicString copy(text = "again");
    EXPECT_TRUE(copy == "again");
    EXPECT_TRUE(copy == text);
    EXPECT_TRUE(copy != "Again");
}

TEST(DynamicString, AppendsNumbersAsDecimalText)
{
    DynamicString text("n=");
    text += -5;
    text += ",";
    text += 4294967295u;
    text += ",";
    text += LLONG_MIN;
    text += ",";
    text += 18446744073709551615ull;
    text += ",";
    text += 29.97;
    text += ",";
    text += 30.0;
    EXPECT_STREQ(text.GetString(), "n=-5,4294967295,-9223372036854775808,18446744073709551615,29.97,30");
}

TEST(DynamicString, SelfAppendAndSelfAssignKeepText)
{
    DynamicString text("ab");
    text += text;
    EXPECT_STREQ(text.GetString(), "abab");
    text = text.GetString() + 1;
    EXPECT_STREQ(text.GetString(), "bab");
    text = text;
    EXPECT_STREQ(text.GetString(), "bab");
}

TEST(DynamicString, SubstringOperations)
{
    DynamicString text("Log\\Korvane\\Log.txt");
    EXPECT_EQ(text.FindFirstSubstring("Log"), 0);
    EXPECT_EQ(text.FindFirstSubstring("Log", 1), 12);
    EXPECT_EQ(text.FindFirstSubstring("missing"), -1);
    EXPECT_EQ(text.FindFirstSubstring(""), -1);
    EXPECT_EQ(text.FindFirstSubstring("Log", 100), -1);

    DynamicString part;
    EXPECT_EQ(text.CopySubString(part, 4, 7), S_OK);
    EXPECT_STREQ(part.GetString(), "Korvane");
    EXPECT_EQ(text.CopySubString(part, 12, 100), S_OK) << "count is cut at the end";
    EXPECT_STREQ(part.GetString(), "Log.txt");
    EXPECT_EQ(text.CopySubString(part, 100, 1), E_UNEXPECTED);

    EXPECT_EQ(text.InsertStringToIndex("..\\", 0), S_OK);
    EXPECT_STREQ(text.GetString(), "..\\Log\\Korvane\\Log.txt");
    EXPECT_EQ(text.InsertStringToIndex("!", text.GetLenString()), S_OK);
    EXPECT_EQ(text.InsertStringToIndex("x", 1000), E_UNEXPECTED);
    EXPECT_EQ(text.DeleteSubStringFromIndex(0, 3), S_OK);
    EXPECT_STREQ(text.GetString(), "Log\\Korvane\\Log.txt!");
    EXPECT_EQ(text.DeleteAllSymbolFromString('\\'), S_OK);
    EXPECT_STREQ(text.GetString(), "LogKorvaneLog.txt!");
    EXPECT_EQ(text.DeleteSubStringFromIndex(10, 1000), S_OK);
    EXPECT_STREQ(text.GetString(), "LogKorvane");
    EXPECT_EQ(text.CheckString(), S_OK);
}

TEST(DynamicString, IndexingChecksTheRange)
{
    DynamicString text("abc");
    text[1] = 'X';
    EXPECT_STREQ(text.GetString(), "aXc");
    EXPECT_THROW(text[3], int);
    try {
        (void)text[3];
    } catch (int code) {
        EXPECT_EQ(code, 2);
    }
}

TEST(DynamicString, CopyToStandartStringCutsAndTerminates)
{
    DynamicString text("0123456789");
    char buffer[5] = {'x', 'x', 'x', 'x', 'x'};
    EXPECT_EQ(text.CopyToStandartString(buffer, sizeof(buffer)), S_FALSE);
    EXPECT_STREQ(buffer, "0123");
    EXPECT_EQ(text.CopyToStandartString(nullptr, 5), E_INVALIDARG);
    EXPECT_EQ(text.CopyToStandartString(buffer, 0), E_INVALIDARG);
}

TEST(DynamicString, EmptyingAndFreeing)
{
    DynamicString text("something");
    text.NullString();
    EXPECT_EQ(text.GetLenString(), 0u);
    EXPECT_STREQ(text.GetString(), "");
    text = "again";
    EXPECT_EQ(text.ResetString(), S_OK);
    EXPECT_STREQ(text.GetString(), "");
    text.FreeString();
    EXPECT_EQ(text.CheckString(), S_OK);
    text += "after free";
    EXPECT_STREQ(text.GetString(), "after free");
}

TEST(DynamicString, MemoryComesFromTheSharedStringHeap)
{
    uint64_t before = 0, during = 0, after = 0;
    SAFE_GET_INFO_HEAP(false, &before, GetHeapForDynamicString());
    {
        DynamicString text;
        for (int i = 0; i < 1000; ++i)
            text += "0123456789";
        EXPECT_EQ(text.GetLenString(), 10000u);
        SAFE_GET_INFO_HEAP(false, &during, GetHeapForDynamicString());
    }
    SAFE_GET_INFO_HEAP(false, &after, GetHeapForDynamicString());
    EXPECT_GT(during, before + 10000);
    EXPECT_EQ(after, before);
}

TEST(DynamicString, DumpWritesTheTextToTheLog)
{
    LogCapture capture;
    DynamicString("dumped text").DumpString();
    EXPECT_TRUE(capture.Contains("dumped text"));
}

TEST(StaticString, CutsAtCapacity)
{
    StaticString<8> text("0123456789");
    EXPECT_STREQ(text.GetString(), "0123456");
    EXPECT_EQ(text.GetLenString(), 7u);
    EXPECT_EQ(text.GetMaxSizeBuffer(), 8u);

    text = "ab";
    text += "cdefghij";
    EXPECT_STREQ(text.GetString(), "abcdefg");
    text = "n";
    text += 123456789;
    EXPECT_STREQ(text.GetString(), "n123456");
}

TEST(StaticString, AppendsNumbersAndCompares)
{
    StaticString<64> text("Frame ");
    text += 25u;
    text += " of ";
    text += -1;
    text += " at ";
    text += 2.5;
    EXPECT_TRUE(text == "Frame 25 of -1 at 2.5");
    EXPECT_TRUE(text != "Frame");
    StaticString<64> same("Frame 25 of -1 at 2.5");
    EXPECT_TRUE(text == same);
}

TEST(StaticString, WideAndNarrowConvertAndCut)
{
    StaticString<64, wchar_t> wide("DataInput1");
    EXPECT_STREQ(wide.GetString(), L"DataInput1");
    StaticString<4, wchar_t> shortWide("abcdef");
    EXPECT_STREQ(shortWide.GetString(), L"abc");
    StaticString<4> shortNarrow(L"abcdef");
    EXPECT_STREQ(shortNarrow.GetString(), "abc");
}

TEST(StaticString, ValidateForcesTermination)
{
    StaticString<4> text;
    std::memset(text.GetString(), 'x', 4);
    EXPECT_EQ(text.CheckString(), E_UNEXPECTED);
    text.ValidateString();
    EXPECT_EQ(text.CheckString(), S_OK);
    EXPECT_STREQ(text.GetString(), "xxx");

    char buffer[3];
    EXPECT_EQ(text.CopyToStandartString(buffer, sizeof(buffer)), S_OK);
    EXPECT_STREQ(buffer, "xx");
}

// A record read from outside may hold a name without its terminator: appending to it must stay
// inside the buffer (the bytes behind it belong to the rest of the record).
TEST(StaticString, AppendingToAnUnterminatedBufferStaysInside)
{
    struct Record
    {
        StaticString<8> name;
        char next[16];
    } record;
    std::memset(record.name.GetString(), 'x', 8);
    std::memcpy(record.next, "rest of record", 15);

    EXPECT_EQ(record.name.GetLenString(), 8u);
    record.name += "abc";
    record.name += 42;
    EXPECT_STREQ(record.next, "rest of record");
    EXPECT_EQ(record.name.CheckString(), E_UNEXPECTED);
}
