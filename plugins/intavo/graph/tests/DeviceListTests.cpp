#include "GraphTestSupport.h"

#include "ObjectControlGraphDeviceList.h"

#include <dvdmedia.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

namespace {

const char kPairName[] = "Korvane Test Camera";
const char kSoloName[] = "Korvane Test Camera Solo";

std::vector<std::string> Texts(const ListNamesVideoDriver& names)
{
    std::vector<std::string> texts;
    for (uint32_t k = 0; k < names.GetCount(); ++k)
        texts.emplace_back(names.GetElement(k).GetString());
    std::sort(texts.begin(), texts.end());
    return texts;
}

ListNamesVideoDriver NameList(std::initializer_list<const char*> texts)
{
    ListNamesVideoDriver names;
    names.SetSize(static_cast<uint32_t>(texts.size()));
    uint32_t k = 0;
    for (const char* text : texts)
        names.GetElement(k++) = text;
    return names;
}

TestCaptureCapability Capability(const GUID& formatType, const GUID& subtype, LONG width, LONG height)
{
    TestCaptureCapability capability = {};
    capability.formatType = formatType;
    capability.subtype = subtype;
    capability.width = width;
    capability.height = height;
    capability.caps.guid = formatType;
    capability.caps.VideoStandard = AnalogVideo_PAL_B;
    capability.caps.MinOutputSize = {width / 2, height / 2};
    capability.caps.MaxOutputSize = {width, height};
    capability.caps.OutputGranularityX = 8;
    capability.caps.OutputGranularityY = 4;
    capability.caps.MinFrameInterval = 333333;
    capability.caps.MaxFrameInterval = 666666;
    return capability;
}

class DeviceList : public testing::Test
{
protected:
    void TearDown() override { RestoreTestDevice(CLSID_TestCaptureDeviceSolo); }
};

} // namespace

TEST_F(DeviceList, NamesTheVideoCaptureDevicesLessTheSkipList)
{
    const std::vector<std::string> all = {kPairName, kPairName, kSoloName};
    ListNamesVideoDriver names;
    int32_t count = -1;
    ASSERT_EQ(GetListVideoCaptureDevices(CLSID_VideoInputDeviceCategory, kKsCategoryCapture, NameList({}), names, &count),
              S_OK);
    EXPECT_EQ(Texts(names), all);
    EXPECT_EQ(count, 3);

    // The same devices listed in the second category too are not listed twice.
    ASSERT_EQ(GetListVideoCaptureDevices(CLSID_VideoInputDeviceCategory, CLSID_VideoInputDeviceCategory, NameList({}),
                                         names, &count),
              S_OK);
    EXPECT_EQ(Texts(names), all);

    ASSERT_EQ(GetListVideoCaptureDevices(CLSID_VideoInputDeviceCategory, kKsCategoryCapture,
                                         NameList({"PlexemoHome Video", kSoloName, "PlexamoPro Video"}), names, &count),
              S_OK);
    EXPECT_EQ(Texts(names), (std::vector<std::string>{kPairName, kPairName}));
    EXPECT_EQ(count, 2);
    EXPECT_EQ(GetListVideoCaptureDevices(CLSID_VideoInputDeviceCategory, GUID_NULL, NameList({}), names, nullptr),
              E_INVALIDARG);
}

TEST_F(DeviceList, CapabilitiesEqualTheDevicesOwnList)
{
    // VIDEOINFOHEADER, VIDEOINFOHEADER2 (112 bytes, the whole block) and another format type.
    const GUID otherFormat = FORMAT_MPEGVideo;
    const TestCaptureCapability configured[] = {
        Capability(FORMAT_VideoInfo, MEDIASUBTYPE_YUY2, 640, 480),
        Capability(FORMAT_VideoInfo2, MEDIASUBTYPE_RGB24, 320, 240),
        Capability(otherFormat, MEDIASUBTYPE_UYVY, 160, 120),
    };
    SmartComPointer<ITestCaptureDevice> control;
    OpenTestDevice(CLSID_TestCaptureDeviceSolo, control);
    ASSERT_TRUE(control);
    ASSERT_EQ(control->SetCapabilities(configured, 3), S_OK);

    ListCapabilitiesVideoDriver capabilities;
    ASSERT_EQ(GetListCapabilitiesOfDevice(kSoloName, CLSID_VideoInputDeviceCategory, capabilities), S_OK);
    ASSERT_EQ(capabilities.GetCount(), 3u);

    // The device's own answers, read through its pin.
    SmartComPointer<IBaseFilter> device;
    ASSERT_EQ(control->QueryInterface(IID_IBaseFilter, device.ReceiveVoidSlot()), S_OK);
    SmartComPointer<IPin> pin;
    ASSERT_EQ(device->FindPin(kTestCaptureDevicePinId, pin.ReceiveSlot()), S_OK);
    SmartComPointer<IAMStreamConfig> config;
    ASSERT_EQ(pin->QueryInterface(IID_IAMStreamConfig, config.ReceiveVoidSlot()), S_OK);
    const ULONG expectedBytes[] = {sizeof(VIDEOINFOHEADER), sizeof(VIDEOINFOHEADER2), 24};
    static_assert(sizeof(VIDEOINFOHEADER2) == InfoCapabilityVideoDriver::kSizeFormat);
    for (uint32_t k = 0; k < 3; ++k) {
        const InfoCapabilityVideoDriver& record = capabilities.GetElement(k);
        AM_MEDIA_TYPE* type = nullptr;
        VIDEO_STREAM_CONFIG_CAPS caps = {};
        ASSERT_EQ(config->GetStreamCaps(static_cast<int>(k), &type, reinterpret_cast<BYTE*>(&caps)), S_OK);
        EXPECT_TRUE(IsEqualGUID(record.m_media_type.majortype, type->majortype)) << k;
        EXPECT_TRUE(IsEqualGUID(record.m_media_type.subtype, type->subtype)) << k;
        EXPECT_TRUE(IsEqualGUID(record.m_media_type.formattype, type->formattype)) << k;
        EXPECT_EQ(record.m_media_type.lSampleSize, type->lSampleSize) << k;
        EXPECT_EQ(record.m_media_type.pbFormat, nullptr) << k;
        EXPECT_EQ(record.m_media_type.pUnk, nullptr) << k;
        ASSERT_EQ(record.m_media_type.cbFormat, expectedBytes[k]) << k;
        EXPECT_EQ(std::memcmp(record.m_format, type->pbFormat, type->cbFormat), 0) << k;
        EXPECT_EQ(std::memcmp(&record.m_caps, &caps, sizeof(caps)), 0) << k;
        CoTaskMemFree(type->pbFormat);
        CoTaskMemFree(type);
    }
}

TEST_F(DeviceList, AnUnknownDeviceGivesAnEmptyListAndFailure)
{
    ListCapabilitiesVideoDriver capabilities;
    capabilities.SetSize(2);
    EXPECT_EQ(GetListCapabilitiesOfDevice("No such camera", CLSID_VideoInputDeviceCategory, capabilities), E_FAIL);
    EXPECT_EQ(capabilities.GetCount(), 0u);
    EXPECT_EQ(GetListCapabilitiesOfDevice(nullptr, CLSID_VideoInputDeviceCategory, capabilities), E_INVALIDARG);
}

TEST(CapabilityRecord, ANewRecordHoldsTheDefaultsOfAnUndescribedCapability)
{
    const InfoCapabilityVideoDriver record;
    EXPECT_TRUE(IsEqualGUID(record.m_media_type.majortype, GUID_NULL));
    EXPECT_EQ(record.m_media_type.bFixedSizeSamples, TRUE);
    EXPECT_EQ(record.m_media_type.cbFormat, 0u);
    EXPECT_EQ(record.m_caps.InputSize.cx, 320);
    EXPECT_EQ(record.m_caps.MaxCroppingSize.cy, 200);
    EXPECT_EQ(record.m_caps.CropGranularityX, 2);
    EXPECT_EQ(record.m_caps.CropAlignY, 1);
    EXPECT_EQ(record.m_caps.MaxOutputSize.cx, 1);
    EXPECT_EQ(record.m_caps.OutputGranularityY, 1);
    EXPECT_EQ(record.m_caps.MaxFrameInterval, 100);
    EXPECT_EQ(record.m_caps.MaxBitsPerSecond, 1);
}
