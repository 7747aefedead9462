#include "FunctConvertToText.h"
#include "LogCapture.h"

#include "MediaSubtypeGuids.h"

#include <gtest/gtest.h>

#include <string>

using namespace media_guids;

namespace {

SYSTEMTIME Time(WORD year, WORD month, WORD day, WORD hour = 0, WORD minute = 0, WORD second = 0, WORD ms = 0)
{
    SYSTEMTIME time = {};
    time.wYear = year;
    time.wMonth = month;
    time.wDay = day;
    time.wHour = hour;
    time.wMinute = minute;
    time.wSecond = second;
    time.wMilliseconds = ms;
    return time;
}

constexpr int64_t Second = 10000000;
constexpr int64_t Minute = 60 * Second;
constexpr int64_t Hour = 60 * Minute;
constexpr int64_t Day = 24 * Hour;

std::string Text(const DynamicString& text)
{
    return text.GetString();
}

} // namespace

// ---- Error texts and paths ----------------------------------------------------------------

TEST(GetTextFromErrorCode, SystemTextsAndUnknownCodes)
{
    DynamicString text("old");
    EXPECT_EQ(GetTextFromErrorCode(ERROR_FILE_NOT_FOUND, text), S_OK);
    EXPECT_GT(text.GetLenString(), 0u);

    // A system text with an insert is returned as it stands instead of reading missing arguments.
    EXPECT_EQ(GetTextFromErrorCode(ERROR_BAD_EXE_FORMAT, text), S_OK);
    EXPECT_NE(Text(text).find("%1"), std::string::npos) << text.GetString();

    EXPECT_EQ(GetTextFromErrorCode(0x2FFFFFFF, text), S_OK);
    EXPECT_EQ(text, "");
    // A module without a message table has no text.
    EXPECT_EQ(GetTextFromErrorCode(ERROR_FILE_NOT_FOUND, text, GetModuleHandleA(nullptr)), S_OK);
    EXPECT_EQ(text, "");
}

TEST(CreateFullPathFromFolder, JoinsWithOneBackslash)
{
    struct Case
    {
        const char* folder;
        const char* name;
        const char* path;
    };
    for (const Case& c : {Case{"C:\\a", "b.txt", "C:\\a\\b.txt"}, Case{"C:\\a\\", "b.txt", "C:\\a\\b.txt"},
                          Case{"", "b.txt", "b.txt"}, Case{nullptr, "b.txt", "b.txt"}, Case{"C:\\a", "", "C:\\a\\"},
                          Case{"C:\\a", nullptr, "C:\\a\\"}, Case{"", "", ""}}) {
        DynamicString path("old");
        EXPECT_EQ(CreateFullPathFromFolder(path, c.folder, c.name), S_OK);
        EXPECT_EQ(Text(path), c.path);
    }
    // The output may be the folder itself.
    DynamicString path("C:\\data");
    EXPECT_EQ(CreateFullPathFromFolder(path, path.GetString(), "file.bin"), S_OK);
    EXPECT_EQ(Text(path), "C:\\data\\file.bin");
}

TEST(SplitFullPathToFolderAndName, SplitsAtTheLastBackslash)
{
    struct Case
    {
        const char* path;
        const char* folder;
        const char* name;
    };
    for (const Case& c : {Case{"C:\\a\\b.txt", "C:\\a\\", "b.txt"}, Case{"C:\\a\\b\\", "C:\\a\\", "b"},
                          Case{"b.txt", "", ""}, Case{"", "", ""}, Case{"\\b", "", "b"}, Case{"C:\\a\\\\", "", ""},
                          Case{"b\\", "", ""}}) {
        DynamicString folder("old");
        DynamicString name("old");
        EXPECT_EQ(SplitFullPathToFolderAndName(DynamicString(c.path), folder, name), S_OK);
        EXPECT_EQ(Text(folder), c.folder) << c.path;
        EXPECT_EQ(Text(name), c.name) << c.path;
    }
    DynamicString path("C:\\a\\b.txt");
    DynamicString other;
    EXPECT_EQ(SplitFullPathToFolderAndName(path, path, other), E_FAIL);
    EXPECT_EQ(SplitFullPathToFolderAndName(path, other, path), E_FAIL);
    EXPECT_EQ(Text(path), "C:\\a\\b.txt");
}

// ---- Numbers, dates, spans and versions ----------------------------------------------------

TEST(TextConversion, DottedDword)
{
    struct Case
    {
        uint32_t value;
        const char* text;
    };
    for (const Case& c : {Case{0x01020304, "1.2.3.4"}, Case{0xC0A80001, "192.168.0.1"}, Case{0, "0.0.0.0"},
                          Case{0xFFFFFFFF, "255.255.255.255"}}) {
        DynamicString text;
        EXPECT_EQ(ConvertDwordToDottedText(c.value, text), S_OK);
        EXPECT_EQ(Text(text), c.text);
    }
}

TEST(TextConversion, SystemTimeTexts)
{
    const SYSTEMTIME time = Time(2008, 7, 5, 9, 3, 7, 999);
    using Convert = HRESULT (*)(const SYSTEMTIME*, DynamicString&);
    struct Case
    {
        Convert convert;
        const char* text;
    };
    for (const Case& c : {Case{ConvertSystemTimeToText, "2008/7/5 [ 9:3:7 ]"},
                          Case{ConvertSystemTimeToFileNameText, "2008_7_5_[_9_3_7_]"},
                          Case{ConvertSystemTimeToShortText, "2008:7:5-9:3:7"}}) {
        DynamicString text;
        EXPECT_EQ(c.convert(&time, text), S_OK);
        EXPECT_EQ(Text(text), c.text);
        EXPECT_EQ(c.convert(nullptr, text), E_FAIL);
    }
}

TEST(TextConversion, TimeSpans)
{
    struct Case
    {
        int64_t span;
        const char* dayText;
        const char* hmsText;
    };
    for (const Case& c : {Case{Day + Hour + Minute + Second, "1:1:1:1", "25:1:1"}, Case{0, "0:0:0:0", "0:0:0"},
                          Case{Second - 1, "0:0:0:0", "0:0:0"}, Case{3 * Day + 23 * Hour + 59 * Minute + 59 * Second,
                                                                      "3:23:59:59", "95:59:59"},
                          Case{1000 * Day, "1000:0:0:0", "24000:0:0"}}) {
        const auto low = static_cast<uint32_t>(c.span);
        const auto high = static_cast<uint32_t>(static_cast<uint64_t>(c.span) >> 32);
        DynamicString text;
        EXPECT_EQ(ConvertTimeSpanToText(low, high, text), S_OK);
        EXPECT_EQ(Text(text), c.dayText);
        EXPECT_EQ(ConvertTimeSpanToHMSText(low, high, text), S_OK);
        EXPECT_EQ(Text(text), c.hmsText);
    }
}

TEST(TextConversion, FileVersionInfo)
{
    struct Case
    {
        DWORD os;
        const char* name;
    };
    for (const Case& c : {Case{0x10000, "VOS_DOS        "}, Case{0x40004, "VOS_NT         "},
                          Case{0x1, "VOS__WINDOWS16 "}, Case{0x10004, "VOS_DOS        "},
                          Case{0x4, "VOS__WINDOWS32 "}, Case{0x20000, "VOS_OS216      "},
                          Case{0x30003, "VOS_OS232      "}, Case{0x2, "VOS__PM16      "}, Case{0x3, "VOS__PM32      "},
                          Case{0x0, "VOS_UNKNOWN    "}, Case{0x50005, "VOS_UNKNOWN    "}}) {
        VS_FIXEDFILEINFO info = {};
        info.dwFileOS = c.os;
        info.dwFileVersionMS = 0x00010002;
        info.dwFileVersionLS = 3;
        info.dwProductVersionMS = 4;
        info.dwProductVersionLS = 0xFFFFFFFF;
        DynamicString text;
        EXPECT_EQ(ConvertFileVersionInfoToText(&info, text), S_OK);
        EXPECT_EQ(Text(text), std::string(c.name) + " : file ver.65538.3 : prod ver.4.4294967295 :");
    }
    DynamicString text;
    EXPECT_EQ(ConvertFileVersionInfoToText(nullptr, text), E_FAIL);
}

// ---- Media-type names (texts in Windows-1251) -----------------------------------------------

TEST(MediaTypeNames, TypeAndSubtypeTexts)
{
    const char notFoundMajor[] = "\xD2\xC8\xCF \xCD\xC5 \xCD\xC0\xC9\xC4\xC5\xCD";              // ТИП НЕ НАЙДЕН
    const char notFoundSubtype[] = "\xCF\xCE\xC4\xD2\xC8\xCF \xCD\xC5 \xCD\xC0\xC9\xC4\xC5\xCD"; // ПОДТИП НЕ НАЙДЕН
    const char undefined[] = "\xCD\xE5\xEE\xEF\xF0\xE5\xE4\xE5\xEB\xE5\xED\xED\xFB\xE9 \xF2\xE8\xEF"; // Неопределенный тип
    const GUID unknown = {0x12345678, 1, 2, {3, 4, 5, 6, 7, 8, 9, 10}};
    struct Case
    {
        GUID major;
        GUID subtype;
        std::string text;
    };
    const Case cases[] = {
        {unknown, unknown, std::string(notFoundMajor) + "<->" + notFoundSubtype},
        {MEDIATYPE_Video, MEDIASUBTYPE_YUY2, "\xC2\xE8\xE4\xE5\xEE.<->YUY2 format data."}, // Видео.
        {MEDIATYPE_Timecode, MEDIASUBTYPE_QTMovie, "Timecode data. <->Apple\xAE QuickTime\xAE compression."},
        {MEDIATYPE_Audio, MEDIASUBTYPE_MPEG1Packet, "\xC7\xE2\xF3\xEA<->MPEG1 Audio packet"}, // Звук
        {MEDIATYPE_MPEG2_PES, MediaSubtypeY8, "MPEG-2<->Y8 format data"},
        {MEDIATYPE_Stream, MEDIASUBTYPE_AnalogVideo_SECAM_L, "\xC1\xE0\xE9\xF2\xEE\xE2\xFB\xE9 \xEF\xEE\xF2\xEE\xEA<->(L) SECAM"},
        // GUID_NULL is not searched in the not-found rows: it finds the last rows.
        {GUID{}, GUID{}, std::string(undefined) + "<->" + undefined},
    };
    for (const Case& c : cases) {
        DynamicString text("old");
        EXPECT_EQ(ConvertMediaTypeToText(text, c.major, c.subtype), S_OK);
        EXPECT_EQ(Text(text), c.text);
    }

    DynamicString text("old");
    EXPECT_EQ(ConvertMediaSubtypeToText(MEDIASUBTYPE_dvsl, text), S_OK);
    EXPECT_EQ(Text(text), "Long Play DV format.");
    EXPECT_EQ(ConvertMediaSubtypeToText(GUID{}, text), S_OK);
    EXPECT_EQ(Text(text), notFoundSubtype);
    EXPECT_EQ(ConvertMediaSubtypeToText(unknown, text), S_FALSE);
    EXPECT_EQ(text, "");
}

TEST(MediaTypeNames, TextToSubtype)
{
    struct Case
    {
        const char* text;
        GUID subtype;
    };
    for (const Case& c : {Case{"MPEG1 Video Packet.", MEDIASUBTYPE_MPEG1Packet},
                          Case{"MJPG format produced by some cards.", MEDIASUBTYPE_WAKE},
                          Case{"RGB, 24 bits per pixel.", MEDIASUBTYPE_RGB24}, Case{"(M) NSTC", MEDIASUBTYPE_AnalogVideo_NTSC_M}}) {
        GUID subtype = {};
        EXPECT_EQ(ConvertTextToMediaSubtype(c.text, &subtype), S_OK) << c.text;
        EXPECT_TRUE(IsEqualGUID(subtype, c.subtype)) << c.text;
    }
    GUID subtype = MEDIASUBTYPE_YUY2;
    EXPECT_EQ(ConvertTextToMediaSubtype("RGB, 24 bits per pixel", &subtype), S_FALSE);
    EXPECT_EQ(ConvertTextToMediaSubtype(nullptr, &subtype), S_FALSE);
    EXPECT_TRUE(IsEqualGUID(subtype, MEDIASUBTYPE_YUY2));
    EXPECT_EQ(ConvertTextToMediaSubtype("Dss Audio", nullptr), E_FAIL);
}

// ---- SYSTEMTIME arithmetic -----------------------------------------------------------------

TEST(SystemTimeArithmetic, DifferenceMinutesAndDistance)
{
    const SYSTEMTIME a = Time(2008, 7, 5, 9, 3, 7, 500);
    const SYSTEMTIME b = Time(2008, 7, 5, 9, 2, 7, 0);
    const SYSTEMTIME invalid = Time(2008, 13, 1);
    EXPECT_EQ(GetSystemTimeDifference(&a, &b), Minute + 5000000);
    EXPECT_EQ(GetSystemTimeDifference(&b, &a), -(Minute + 5000000));
    EXPECT_EQ(GetSystemTimeDifference(&a, &invalid), 0);
    EXPECT_EQ(GetSystemTimeDifference(nullptr, &a), 0);

    const SYSTEMTIME start = Time(1601, 1, 1);
    const SYSTEMTIME later = Time(1601, 1, 2, 1, 1, 59);
    EXPECT_EQ(ConvertSystemTimeToMinutes(&start), 0u);
    EXPECT_EQ(ConvertSystemTimeToMinutes(&later), 1501u);
    EXPECT_EQ(ConvertSystemTimeToMinutes(&invalid), 0u);

    EXPECT_EQ(GetSystemTimeDistanceIn10ms(&a, &b), 6050u);
    EXPECT_EQ(GetSystemTimeDistanceIn10ms(&b, &a), 6050u);
    const SYSTEMTIME farAway = Time(2010, 7, 5);
    EXPECT_EQ(GetSystemTimeDistanceIn10ms(&a, &farAway), 0xFFFFFFFFu);
}

TEST(SystemTimeArithmetic, CompareSystemTime)
{
    const SYSTEMTIME early = Time(2008, 7, 5, 9, 3, 7, 1);
    const SYSTEMTIME late = Time(2008, 7, 5, 9, 3, 7, 2);
    const SYSTEMTIME invalid = Time(2008, 2, 30);
    EXPECT_EQ(CompareSystemTime(&late, &early), 1);
    EXPECT_EQ(CompareSystemTime(&early, &late), -1);
    EXPECT_EQ(CompareSystemTime(&early, &early), 0);
    EXPECT_EQ(CompareSystemTime(nullptr, &early), 0);
    EXPECT_EQ(CompareSystemTime(&early, &invalid), 0);
}

TEST(SystemTimeArithmetic, IntervalsOverlap)
{
    const SYSTEMTIME t0 = Time(2008, 7, 5, 10, 0, 0);
    const SYSTEMTIME t1 = Time(2008, 7, 5, 11, 0, 0);
    const SYSTEMTIME t2 = Time(2008, 7, 5, 12, 0, 0);
    const SYSTEMTIME t3 = Time(2008, 7, 5, 13, 0, 0);
    struct Case
    {
        const SYSTEMTIME *s1, *e1, *s2, *e2;
        int64_t overlap;
    };
    const Case cases[] = {
        {&t0, &t2, &t1, &t3, Hour},                           // second starts inside the first
        {&t1, &t3, &t0, &t2, Hour},                           // second ends inside the first
        {&t0, &t3, &t1, &t2, Hour},                           // second inside the first
        {&t1, &t2, &t0, &t3, Hour},                           // first inside the second
        {&t0, &t1, &t1, &t2, 0},                              // touching at one instant
        {&t0, &t1, &t2, &t3, 0},                              // apart
        {&t2, &t3, &t0, &t1, 0},                              // apart, other order
        {&t0, &t3, &t0, &t3, 3 * Hour},                       // equal
        {&t1, &t0, &t0, &t3, static_cast<int64_t>(0xFFFFFFFF8000FFFFull)}, // first reversed
        {&t0, &t3, &t3, &t2, static_cast<int64_t>(0xFFFFFFFF8000FFFFull)}, // second reversed
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        EXPECT_EQ(GetTimeIntervalsOverlap(c.s1, c.e1, c.s2, c.e2), c.overlap) << "case " << i;
    }
}

TEST(SystemTimeArithmetic, AddTimeToSystemTime)
{
    SYSTEMTIME time = Time(2008, 2, 28, 23, 59, 59, 500);
    EXPECT_EQ(AddTimeToSystemTime(&time, Day + 5000000), S_OK);
    EXPECT_EQ(time.wYear, 2008);
    EXPECT_EQ(time.wMonth, 3);
    EXPECT_EQ(time.wDay, 1);
    EXPECT_EQ(time.wHour, 0);
    EXPECT_EQ(time.wSecond, 0);
    EXPECT_EQ(time.wMilliseconds, 0);
    EXPECT_EQ(AddTimeToSystemTime(&time, -Minute), S_OK);
    EXPECT_EQ(time.wDay, 29);
    EXPECT_EQ(time.wMinute, 59);

    EXPECT_EQ(AddTimeToSystemTime(nullptr, Second), E_INVALIDARG);
    SYSTEMTIME invalid = Time(2008, 13, 1);
    EXPECT_EQ(AddTimeToSystemTime(&invalid, Second), E_FAIL);
    EXPECT_EQ(invalid.wMonth, 13);
}
