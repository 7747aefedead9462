// Turns a DirectShow graph event into one line of text and tells whether the event asks for the
// graph to be restarted.
#pragma once

#include <windows.h>

#include <cstdint>

class ObjectEventDShow1
{
public:
    static constexpr int32_t kSizeDetail = 256;
    static constexpr int32_t kMinSizeAudioText = 128;

    virtual ~ObjectEventDShow1() = default;

    // "<description> : <detail> " for a known code, empty for an unknown one; ORs the event's
    // restart flag into *restart (also when the text does not fit). S_OK; E_FAIL (empty text) when
    // the text does not fit; E_UNEXPECTED for no buffer, a size of 0 or less or no flag.
    HRESULT GetTextFromEvent(long code, LONG_PTR first, LONG_PTR second, char* text, int32_t size, uint8_t* restart);
    // The detail alone (empty for a code not in the table). S_OK; E_UNEXPECTED for no buffer or a size of 0 or less.
    HRESULT GetDetailFromEvent(long code, LONG_PTR first, LONG_PTR second, char* text, int32_t size);
    // The text of an audio device error type 1 to 14. E_FAIL (empty text) for another type;
    // E_UNEXPECTED for no buffer or a size below 128.
    HRESULT GetTextFromAudioDeviceError(long type, char* text, int32_t size);
};
