#include "ObjectEventDShow1.h"

#include <gtest/gtest.h>

#include <dshow.h>
#include <errors.h>

#include <cstring>
#include <string>

namespace {

// Wine's error texts differ from Windows': the expected detail is asked of the same call.
std::string ErrorText(HRESULT code)
{
    char text[MAX_ERROR_TEXT_LEN] = {};
    AMGetErrorTextA(code, text, MAX_ERROR_TEXT_LEN);
    return text;
}

struct EventCase
{
    const char* name;
    long code;
    LONG_PTR first;
    LONG_PTR second;
    int32_t size;
    uint8_t flagBefore;
    HRESULT result;
    std::string text;
    uint8_t flagAfter;
};

} // namespace

TEST(GraphEventText, TextAndRestartFlagOfEachKindOfEvent)
{
    const std::string lost = "A Plug and Play device was removed or has become available again. : ";
    const std::string stream = "An error has occurred in a stream.The stream is still playing. : ";
    const EventCase cases[] = {
        {"device removed", EC_DEVICE_LOST, 0, 0, 256, 0, S_OK, lost + "-REMOVED ", 1},
        {"device back", EC_DEVICE_LOST, 0, 1, 256, 0, S_OK, lost + "-AVAIABLE ", 1},
        {"complete", EC_COMPLETE, S_OK, 0, 256, 0, S_OK,
         "All data from a particular stream has been rendered. : " + ErrorText(S_OK) + " ", 1},
        {"stream error", EC_STREAM_ERROR_STILLPLAYING, E_FAIL, 0, 256, 0, S_OK, stream + ErrorText(E_FAIL) + " ", 1},
        {"buffering", EC_BUFFERING_DATA, 1, 0, 256, 0, S_OK,
         "The graph is buffering data, or has stopped buffering data. : -START ", 0},
        {"deactivated", EC_ACTIVATE, 0, 0, 256, 0, S_OK,
         "A video window is being activated or deactivated. : -DEACTIVATED ", 0},
        {"no detail", EC_CLOCK_CHANGED, 0, 0, 256, 0, S_OK, "The reference clock has changed. :  ", 0},
        {"audio device", EC_SNDDEV_IN_ERROR, 3, 0, 256, 0, S_OK,
         "An audio device error has occurred on an input pin. : "
         "The capabilities of the underlying hardware were being retrieved. ",
         1},
        {"audio type unknown", EC_SNDDEV_OUT_ERROR, 15, 0, 256, 0, S_OK,
         "An audio device error has occurred on an output pin. :  ", 1},
        {"40 bytes do not fit", EC_ACTIVATE, 1, 0, 40, 0, E_FAIL, "", 0},
        {"flag raised though the text does not fit", EC_DEVICE_LOST, 0, 0, 40, 0, E_FAIL, "", 1},
        {"unknown code, flag clear", 0x7777, 1, 1, 256, 0, S_OK, "", 0},
        {"unknown code, flag set", 0x7777, 1, 1, 256, 1, S_OK, "", 1},
    };
    ObjectEventDShow1 events;
    for (const EventCase& c : cases) {
        SCOPED_TRACE(c.name);
        char text[256];
        std::memset(text, 'x', sizeof(text));
        uint8_t flag = c.flagBefore;
        EXPECT_EQ(events.GetTextFromEvent(c.code, c.first, c.second, text, c.size, &flag), c.result);
        EXPECT_EQ(std::string(text), c.text);
        EXPECT_EQ(flag, c.flagAfter);
    }
}

TEST(GraphEventText, RefusesMissingBuffersAndFlags)
{
    ObjectEventDShow1 events;
    char text[256] = "old";
    uint8_t flag = 0;
    EXPECT_EQ(events.GetTextFromEvent(EC_COMPLETE, 0, 0, nullptr, 256, &flag), E_UNEXPECTED);
    EXPECT_EQ(events.GetTextFromEvent(EC_COMPLETE, 0, 0, text, 0, &flag), E_UNEXPECTED);
    EXPECT_EQ(events.GetTextFromEvent(EC_COMPLETE, 0, 0, text, 256, nullptr), E_UNEXPECTED);
    EXPECT_EQ(flag, 0);
    EXPECT_EQ(events.GetDetailFromEvent(EC_COMPLETE, 0, 0, nullptr, 256), E_UNEXPECTED);
    EXPECT_EQ(events.GetDetailFromEvent(EC_COMPLETE, 0, 0, text, -1), E_UNEXPECTED);
    EXPECT_EQ(events.GetDetailFromEvent(0x7777, 0, 0, text, 256), S_OK);
    EXPECT_STREQ(text, "");
}

TEST(GraphEventText, AudioDeviceTexts)
{
    ObjectEventDShow1 events;
    char text[128] = "old";
    EXPECT_EQ(events.GetTextFromAudioDeviceError(1, text, 127), E_UNEXPECTED);
    EXPECT_EQ(events.GetTextFromAudioDeviceError(1, nullptr, 128), E_UNEXPECTED);
    EXPECT_EQ(events.GetTextFromAudioDeviceError(14, text, 128), S_OK);
    EXPECT_STREQ(text, "The audio device was being queried.");
    EXPECT_EQ(events.GetTextFromAudioDeviceError(15, text, 128), E_FAIL);
    EXPECT_STREQ(text, "");
    EXPECT_EQ(events.GetTextFromAudioDeviceError(0, text, 128), E_FAIL);
}
