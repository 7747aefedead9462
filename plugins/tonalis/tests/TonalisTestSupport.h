// The correction filter as the host drives it: "Tonalis1.vdd" loaded from the program's folder,
// one instance record, calls through the exports, and frames for its transform.
#pragma once

#include "Tonalis1.h"
#include "TestPluginExports.h"
#include "TestVideoFrames.h"

#include "MessageForObjectsDataPath1.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <vector>

// Sets one parameter of an interface call.
using ParamSetter = std::function<void(InfoParamDataPath1&)>;
ParamSetter Int(int32_t value);
ParamSetter Float(float value);
ParamSetter Pointer(const void* pointer);

class TonalisFixture : public testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    Tonalis1State& State() { return *static_cast<Tonalis1State*>(m_record.m_state); }

    HRESULT Call(const GUID& iid, int32_t method, const std::vector<ParamSetter>& setters = {});
    HRESULT Correction(int32_t method, const std::vector<ParamSetter>& setters = {})
    {
        return Call(IID_IControlCorrectVideoData, method, setters);
    }
    HRESULT SetValue(int32_t index, float userValue) { return Correction(1, {Int(index), Float(userValue)}); }
    float GetValue(int32_t index);
    HRESULT SetParam(int32_t index, int32_t value, float valueFloat = 1.0f)
    {
        return Correction(3, {Int(index), Int(value), Float(valueFloat)});
    }
    // The events of the last transform stay in m_events until the next one.
    HRESULT Transform(InfoDataBufferPath1& frame);
    std::vector<const InfoEventDataFrame1*> EventsOfType(TypeEventDataFrame1 type) const;

    HMODULE m_module = nullptr;
    std::optional<TestPluginExports> m_exports;
    InfoFilterObjectDataPath1 m_record;
    ListParamsDataPath1 m_params;
    ListEventsDataPath1 m_events;
};

// Deletes the events of the list and empties it.
void DeleteEvents(ListEventsDataPath1& events);

// A frame of another subtype (RGB24), every byte of its block 0xFF.
void MakeRgb24Frame(InfoDataBufferPath1& frame, int width, int height);
// The child numbers of the frame's 20 index slots.
std::vector<int32_t> ChildSlots(const InfoDataBufferPath1& frame);
