#include "GraphObjectTestSupport.h"

#include <gtest/gtest.h>

#include <dshow.h>

InfoNeedInterface MakeDeviceSource(const wchar_t* friendlyName, int32_t ordinal)
{
    InfoNeedInterface source;
    source.m_type_driver = TypeSourceCaptureDevice;
    source.m_guid_category = CLSID_VideoInputDeviceCategory;
    source.m_name_device = friendlyName;
    source.m_index_device = ordinal;
    source.m_media_type.m_format_type = FORMAT_VideoInfo;
    source.m_media_type.m_subtype = MEDIASUBTYPE_YUY2;
    source.m_media_type.m_bih.biWidth = 320;
    source.m_media_type.m_bih.biHeight = 240;
    source.m_frame_rate = 200.0f;
    return source;
}

InfoNeedInterface MakeFileSource(const std::string& path)
{
    InfoNeedInterface source;
    source.m_type_driver = TypeSourceVideoFile;
    source.m_name_file = path.c_str();
    source.m_media_type.m_format_type = FORMAT_VideoInfo;
    source.m_frame_rate = 200.0f;
    return source;
}

InfoNeedInterface MakeOwnSource(int32_t kind)
{
    InfoNeedInterface source;
    source.m_type_driver = kind;
    source.m_media_type.m_format_type = FORMAT_VideoInfo;
    return source;
}

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs)
{
    const ULONGLONG end = GetTickCount64() + timeoutMs;
    for (;;) {
        if (condition())
            return true;
        if (GetTickCount64() > end)
            return false;
        Sleep(5);
    }
}

bool FetchFrame(ClassDirectAcessToDriver& driver, InfoDataBufferPath1& frame, DWORD timeoutMs)
{
    return WaitUntil([&] { return driver.SafeGetBuffer(&frame) == S_OK && frame.IsNULLFrame() == S_OK; }, timeoutMs);
}

void SyncWithGraphThread(ClassDirectAcessToDriver& driver)
{
    ExtStateVideoDriver state;
    EXPECT_EQ(driver.SafeUpdateInternalVar(InternalVarRead | InternalVarPictureInterval, &state), S_OK);
}
