#include "ObjectEventDShow1.h"

#include "CatchAllLog.h"

#include <errors.h>

#include <cstdio>
#include <cstring>

namespace {

// How the detail of an event is made from its parameters.
enum class DetailEvent : uint8_t
{
    None,
    ActivatedFirst,  // first parameter non-zero or not
    StartStopFirst,
    AvailableSecond, // second parameter non-zero or not
    ErrorTextFirst,  // DirectShow's text of the first parameter as a result code
    AudioTextFirst,  // the audio device text of the first parameter
};

struct RowEventTable
{
    long code;
    const char* description;
    DetailEvent detail;
    uint8_t restart;
};

// Searched in this order.
constexpr RowEventTable kEventTable[] = {
    {0x13, "A video window is being activated or deactivated.", DetailEvent::ActivatedFirst, 0},
    {0x11, "The graph is buffering data, or has stopped buffering data.", DetailEvent::StartStopFirst, 0},
    {0xD, "The reference clock has changed.", DetailEvent::None, 0},
    {0x1, "All data from a particular stream has been rendered.", DetailEvent::ErrorTextFirst, 1},
    {0x1F, "A Plug and Play device was removed or has become available again.", DetailEvent::AvailableSecond, 1},
    {0x16, "The display mode has changed.", DetailEvent::None, 0},
    {0x1C, "The end of a segment has been reached.", DetailEvent::None, 0},
    {0x8, "An asynchronous command to run the graph has failed.", DetailEvent::ErrorTextFirst, 1},
    {0x3, "An operation was aborted because of an error.", DetailEvent::ErrorTextFirst, 1},
    {0x12, "The video renderer is switching out of full-screen mode.", DetailEvent::None, 0},
    {0x50, "The filter graph has changed.", DetailEvent::None, 0},
    {0x14, "A filter is requesting that the graph be restarted.", DetailEvent::None, 1},
    {0x19, "Notifies a filter of the video renderer's window.", DetailEvent::None, 0},
    {0x18, "A filter is passing a text string to the application.", DetailEvent::None, 0},
    {0x10, "The graph is opening a file, or has finished opening a file.", DetailEvent::None, 0},
    {0x9, "The video palette has changed.", DetailEvent::None, 0},
    {0xE, "A pause request has completed.", DetailEvent::ErrorTextFirst, 0},
    {0xB, "The graph is dropping samples, for quality control.", DetailEvent::None, 0},
    {0x5, "A video renderer requires a repaint.", DetailEvent::None, 0},
    {0x1D, "A new segment has started.", DetailEvent::None, 0},
    {0xC, "The filter graph is shutting down, prior to being destroyed.", DetailEvent::None, 0},
    {0x200, "An audio device error has occurred on an input pin.", DetailEvent::AudioTextFirst, 1},
    {0x201, "An audio device error has occurred on an output pin.", DetailEvent::AudioTextFirst, 1},
    {0x17, "A filter is not receiving enough data.", DetailEvent::None, 0},
    {0x24, "A filter performing frame stepping has stepped the specified number of frames.", DetailEvent::None, 0},
    {0x1B, "A stream-control start command has taken effect.", DetailEvent::None, 0},
    {0x1A, "A stream-control stop command has taken effect.", DetailEvent::None, 0},
    {0x7, "An error has occurred in a stream.The stream is still playing.", DetailEvent::ErrorTextFirst, 1},
    {0x6, "A stream has stopped because of an error.", DetailEvent::None, 1},
    {0x2, "The user has terminated playback.", DetailEvent::None, 1},
    {0xA, "The native video size has changed.", DetailEvent::None, 0},
    {0x15, "The video renderer was destroyed or removed from the graph.", DetailEvent::None, 0},
};

// Types 1 to 14 of the audio device errors.
constexpr const char* kAudioDeviceTexts[] = {
    "The audio device attempted to open.",
    "The audio device attempted to close.",
    "The capabilities of the underlying hardware were being retrieved.",
    "The header for the audio device was being prepared.",
    "The header for the audio device was being unprepared.",
    "The audio device attempted to reset.",
    "The audio device attempted to restart.",
    "The current and stop position settings were being retrieved.",
    "The audio device was being written to.",
    "The audio device attempted to pause.",
    "The audio device attempted to stop.",
    "The audio device attempted to start.",
    "A buffer was being added to the audio device.",
    "The audio device was being queried.",
};

const RowEventTable* FindEvent(long code)
{
    for (const RowEventTable& row : kEventTable)
        if (row.code == code)
            return &row;
    return nullptr;
}

// Appends behind the text in the buffer, cut to its size.
void AppendBounded(char* text, int32_t size, const char* tail)
{
    const size_t length = strnlen(text, static_cast<size_t>(size));
    if (length + 1 < static_cast<size_t>(size))
        std::snprintf(text + length, static_cast<size_t>(size) - length, "%s", tail);
}

} // namespace

HRESULT ObjectEventDShow1::GetTextFromEvent(long code, LONG_PTR first, LONG_PTR second, char* text, int32_t size,
                                            uint8_t* restart)
{
    try {
        if (text == nullptr || size <= 0 || restart == nullptr)
            return E_UNEXPECTED;
        text[0] = 0;
        char detail[kSizeDetail] = {};
        GetDetailFromEvent(code, first, second, detail, kSizeDetail);
        const RowEventTable* row = FindEvent(code);
        if (row == nullptr)
            return S_OK;
        *restart |= row->restart;
        if (std::strlen(row->description) + std::strlen(detail) + 16 >= static_cast<size_t>(size))
            return E_FAIL;
        std::snprintf(text, static_cast<size_t>(size), "%s : %s ", row->description, detail);
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT ObjectEventDShow1::GetDetailFromEvent(long code, LONG_PTR first, LONG_PTR second, char* text, int32_t size)
{
    try {
        if (text == nullptr || size <= 0)
            return E_UNEXPECTED;
        text[0] = 0;
        const RowEventTable* row = FindEvent(code);
        if (row == nullptr)
            return S_OK;
        switch (row->detail) {
        case DetailEvent::None:
            break;
        case DetailEvent::ActivatedFirst:
            AppendBounded(text, size, first != 0 ? "-ACTIVATED" : "-DEACTIVATED");
            break;
        case DetailEvent::StartStopFirst:
            AppendBounded(text, size, first != 0 ? "-START" : "-STOP");
            break;
        case DetailEvent::AvailableSecond:
            AppendBounded(text, size, second != 0 ? "-AVAIABLE" : "-REMOVED");
            break;
        case DetailEvent::ErrorTextFirst: {
            char error[MAX_ERROR_TEXT_LEN] = {};
            AMGetErrorTextA(static_cast<HRESULT>(first), error, MAX_ERROR_TEXT_LEN);
            AppendBounded(text, size, error);
            break;
        }
        case DetailEvent::AudioTextFirst:
            GetTextFromAudioDeviceError(static_cast<long>(first), text, size);
            break;
        }
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT ObjectEventDShow1::GetTextFromAudioDeviceError(long type, char* text, int32_t size)
{
    try {
        if (text == nullptr || size < kMinSizeAudioText)
            return E_UNEXPECTED;
        text[0] = 0;
        constexpr long kCount = static_cast<long>(sizeof(kAudioDeviceTexts) / sizeof(kAudioDeviceTexts[0]));
        if (type < 1 || type > kCount)
            return E_FAIL;
        std::snprintf(text, static_cast<size_t>(size), "%s", kAudioDeviceTexts[type - 1]);
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}
