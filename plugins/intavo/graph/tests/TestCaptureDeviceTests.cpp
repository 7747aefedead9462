// The test capture device behaves as the graph layer's tests rely on.
#include "GraphTestSupport.h"

#include <dvdmedia.h>

#include <gtest/gtest.h>

namespace {

// A graph holding the solo device, restored to its defaults afterwards.
class TestCaptureDevice : public testing::Test
{
protected:
    void SetUp() override
    {
        OpenTestDevice(CLSID_TestCaptureDeviceSolo, m_control);
        ASSERT_TRUE(m_control);
        m_control->ClearJournal();
        ASSERT_EQ(AddFilterByFriendlyName(m_graph.Get(), m_device.ReceiveSlot(), "Korvane Test Camera Solo",
                                          CLSID_VideoInputDeviceCategory, 0),
                  S_OK);
        ASSERT_EQ(m_device->FindPin(kTestCaptureDevicePinId, m_pin.ReceiveSlot()), S_OK);
        ASSERT_EQ(m_graph.Get()->QueryInterface(IID_IMediaControl, m_media_control.ReceiveVoidSlot()), S_OK);
    }
    void TearDown() override
    {
        if (m_media_control)
            m_media_control->Stop();
        RestoreTestDevice(CLSID_TestCaptureDeviceSolo);
    }

    // The device's type for one of its capabilities, with the size changed.
    static void ResizeType(AM_MEDIA_TYPE& type, LONG width, LONG height)
    {
        auto* info = reinterpret_cast<VIDEOINFOHEADER*>(type.pbFormat);
        info->bmiHeader.biWidth = width;
        info->bmiHeader.biHeight = height;
    }

    TestGraph m_graph;
    SmartComPointer<ITestCaptureDevice> m_control;
    SmartComPointer<IBaseFilter> m_device;
    SmartComPointer<IPin> m_pin;
    SmartComPointer<IMediaControl> m_media_control;
};

} // namespace

TEST_F(TestCaptureDevice, AcceptsOnlyTheConfiguredPairsAndJournalsEveryCall)
{
    SmartComPointer<IAMStreamConfig> config;
    ASSERT_EQ(m_pin->QueryInterface(IID_IAMStreamConfig, config.ReceiveVoidSlot()), S_OK);
    const TestCaptureFormat accepted = {MEDIASUBTYPE_YUY2, 320, 240};
    ASSERT_EQ(m_control->SetAcceptedFormats(&accepted, 1), S_OK);
    AM_MEDIA_TYPE* type = nullptr;
    VIDEO_STREAM_CONFIG_CAPS caps = {};
    ASSERT_EQ(config->GetStreamCaps(0, &type, reinterpret_cast<BYTE*>(&caps)), S_OK);
    EXPECT_EQ(config->SetFormat(type), VFW_E_INVALIDMEDIATYPE) << "640x480 is not accepted";
    ResizeType(*type, 320, 240);
    EXPECT_EQ(config->SetFormat(type), S_OK);
    CoTaskMemFree(type->pbFormat);
    CoTaskMemFree(type);

    SmartComPointer<IAMAnalogVideoDecoder> decoder;
    ASSERT_EQ(m_device->QueryInterface(IID_IAMAnalogVideoDecoder, decoder.ReceiveVoidSlot()), S_OK);
    EXPECT_EQ(decoder->put_TVFormat(AnalogVideo_PAL_B), S_OK);
    SmartComPointer<IAMVideoProcAmp> amplifier;
    ASSERT_EQ(m_device->QueryInterface(IID_IAMVideoProcAmp, amplifier.ReceiveVoidSlot()), S_OK);
    long minimum = 0, maximum = 0, step = 0, byDefault = 1, flags = 0;
    ASSERT_EQ(amplifier->GetRange(VideoProcAmp_Hue, &minimum, &maximum, &step, &byDefault, &flags), S_OK);
    EXPECT_EQ(minimum, -100);
    EXPECT_EQ(maximum, 100);
    EXPECT_EQ(byDefault, 0);
    EXPECT_EQ(amplifier->Set(VideoProcAmp_Hue, 50, VideoProcAmp_Flags_Manual), S_OK);
    SmartComPointer<IAMStreamControl> streamControl;
    ASSERT_EQ(m_pin->QueryInterface(IID_IAMStreamControl, streamControl.ReceiveVoidSlot()), S_OK);
    EXPECT_EQ(streamControl->StartAt(nullptr, 0), S_OK);

    EXPECT_EQ(ReadTestDeviceJournal(m_control.Get()),
              "SetFormat YUY2 640x480 refused\nSetFormat YUY2 320x240 accepted\nput_TVFormat 16\n"
              "VideoProcAmp.Set 2 50 2\nStartAt\n");
    // The negotiated format is what the pin offers now.
    AM_MEDIA_TYPE* current = nullptr;
    ASSERT_EQ(config->GetFormat(&current), S_OK);
    EXPECT_EQ(reinterpret_cast<VIDEOINFOHEADER*>(current->pbFormat)->bmiHeader.biWidth, 320);
    CoTaskMemFree(current->pbFormat);
    CoTaskMemFree(current);
}

TEST_F(TestCaptureDevice, RunsThroughTheCaptureGraphBuilderCannotCueWhilePausedAndRaisesGraphEvents)
{
    SmartComPointer<ICaptureGraphBuilder2> builder;
    ASSERT_EQ(CoCreateInstance(CLSID_CaptureGraphBuilder2, nullptr, CLSCTX_INPROC_SERVER, IID_ICaptureGraphBuilder2,
                               builder.ReceiveVoidSlot()),
              S_OK);
    ASSERT_EQ(builder->SetFiltergraph(m_graph.Get()), S_OK);
    SmartComPointer<IBaseFilter> renderer;
    ASSERT_EQ(AddFilterByFriendlyName(m_graph.Get(), renderer.ReceiveSlot(), "Null Renderer", CLSID_LegacyAmFilterCategory, 0),
              S_OK);
    ASSERT_TRUE(SUCCEEDED(builder->RenderStream(&PIN_CATEGORY_CAPTURE, nullptr, m_device.Get(), nullptr, renderer.Get())));

    ASSERT_TRUE(SUCCEEDED(m_media_control->Pause()));
    OAFilterState state = State_Stopped;
    EXPECT_EQ(m_media_control->GetState(0, &state), VFW_S_CANT_CUE);
    EXPECT_EQ(state, State_Paused);

    SmartComPointer<IMediaEventEx> events;
    ASSERT_EQ(m_graph.Get()->QueryInterface(IID_IMediaEventEx, events.ReceiveVoidSlot()), S_OK);
    ASSERT_EQ(m_control->RaiseGraphEvent(EC_ERRORABORT, E_FAIL, 0), S_OK);
    // The graph queues events of its own (a clock change) before it.
    long code = 0;
    LONG_PTR first = 0, second = 0;
    while (code != EC_ERRORABORT) {
        events->FreeEventParams(code, first, second);
        ASSERT_EQ(events->GetEvent(&code, &first, &second, 5000), S_OK);
    }
    EXPECT_EQ(first, static_cast<LONG_PTR>(E_FAIL));
    events->FreeEventParams(code, first, second);
}
