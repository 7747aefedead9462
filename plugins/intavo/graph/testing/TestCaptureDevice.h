// Inside the test capture device server: the three devices and the creation of a filter.
#pragma once

#include "TestCaptureDeviceInterfaces.h"

struct TestCaptureDeviceClass
{
    const CLSID* classId;
    const wchar_t* friendlyName;
};

constexpr TestCaptureDeviceClass kTestCaptureDeviceClasses[] = {
    {&CLSID_TestCaptureDeviceFirst, kTestCaptureDevicePairName},
    {&CLSID_TestCaptureDeviceSecond, kTestCaptureDevicePairName},
    {&CLSID_TestCaptureDeviceSolo, kTestCaptureDeviceSoloName},
};

// A new filter of the device, asked for the interface. CLASS_E_CLASSNOTAVAILABLE for another class id.
HRESULT CreateTestCaptureFilter(const CLSID& classId, REFIID riid, void** object);
// Filters and enumerators alive in the process.
bool CanUnloadTestCaptureDevice();
