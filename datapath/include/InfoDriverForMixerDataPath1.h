// The settings of one source as the path recipes read them: the mixer recipe fills one for each
// source it adds, the capture recipes read nearly all of it. Made on the heap and owned by a
// one-element AutoObjectArray for the length of one operation.
#pragma once

#include "KestrelDebugFunct.h"
#include "g_managment_mem.h"

#include <windows.h>

#include <cstdint>

class StructFormatGraph1;

struct InfoDriverForMixerDataPath1
{
    static constexpr uint32_t kNumberOutputModes = 4;
    static constexpr uint32_t kNumberIntSettings = 3;

    InfoDriverForMixerDataPath1() { GetLocalTime(&createdAt); }

    StaticString<256> name;
    StaticString<256> renderLibrary = "RendaraDx7.vdr";
    int32_t cameraId = 0;
    // No recipe reads it.
    uint8_t spareFlag = 1;
    uint8_t firstStreamEnabled = 0;
    uint8_t secondStreamEnabled = 0;
    uint8_t networkSendEnabled = 0;
    HWND outputWindow = nullptr;
    // Video output method 3 in capture paths.
    uint8_t outputOptionFlag = 0;
    int32_t cameraSubId = 0;
    // The first three go to video output method 15 in capture paths; the fourth to method 24 there
    // and, inverted, to camera method 4.
    uint8_t outputModes[kNumberOutputModes] = {};
    SYSTEMTIME createdAt{};
    // Video output method 16 in capture paths.
    uint8_t outputStateFlag = 1;
    float floatSetting = 1.0f;
    int32_t intSettings[kNumberIntSettings] = {};
    uint8_t spareFlags[2] = {};
    int32_t processorMode = 1;
    uint8_t detectorEnabled = 1;
    void* codecList = nullptr;
    StructFormatGraph1* format = nullptr;
};

// Given no record, makes a fresh one; frees it when it goes.
using AutoDriverForMixerDataPath1 = AutoObjectArray<InfoDriverForMixerDataPath1, 1>;
