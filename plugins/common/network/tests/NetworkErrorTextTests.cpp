// Texts of Winsock error codes.
#include "ObjectNetwork1.h"

#include <gtest/gtest.h>

TEST(NetworkErrorText, KnownCodesHaveTheirTextsAndOthersTheGeneralOne)
{
    const struct
    {
        int32_t m_code;
        const char* m_text;
    } cases[] = {
        {10013, "Permission denied."},
        {10050, "Network is down."},
        {10035, "Resource temporarily unavailable."},
        {995, "Overlapped operation aborted."},
        {6, "Specified event object handle is invalid."},
        {10093, "Successful WSAStartup not yet performed."},
        {11001, "Host not found."},
        {0, "error id network error"},
        {10000, "error id network error"},
        {-1, "error id network error"},
    };
    for (const auto& entry : cases) {
        char text[128] = {};
        EXPECT_EQ(GetTextFromNetworkErrorCode(entry.m_code, text, sizeof(text)), S_OK);
        EXPECT_STREQ(text, entry.m_text) << entry.m_code;
    }
}

TEST(NetworkErrorText, DestinationsBelow128BytesAreRefused)
{
    char text[128] = "untouched";
    EXPECT_EQ(GetTextFromNetworkErrorCode(10013, text, 127), E_UNEXPECTED);
    EXPECT_STREQ(text, "untouched");
    EXPECT_EQ(GetTextFromNetworkErrorCode(10013, nullptr, 128), E_UNEXPECTED);
}
