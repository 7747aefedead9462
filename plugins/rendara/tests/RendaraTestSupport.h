// The video output as the host drives it: "RendaraGeneral.vdd" loaded from the program's folder,
// one instance record initialised on the test thread (which then owns the output window and
// handles its messages whenever the test pumps them), calls through the exports, and frames with
// the child planes the correction filter leaves.
#pragma once

#include "Rendara1.h"
#include "RenderTestSupport.h"
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
ParamSetter UInt(uint32_t value);
ParamSetter Bool(bool value);
ParamSetter Pointer(const void* pointer);
ParamSetter Text(const char* text);
ParamSetter Window(HWND window);
// Four words x, y, width, height.
ParamSetter Rect(int32_t x, int32_t y, int32_t width, int32_t height);
// An output the plug-in writes back.
ParamSetter Out();

// Handles every message waiting for this thread.
void PumpMessages();

// Where the tests show windows: away from the other test programs' windows on the shared display.
inline constexpr int kShownX = 760;
inline constexpr int kShownY = 600;

class RendaraFixture : public testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    InfoFilterStateRendara1& State() { return *static_cast<InfoFilterStateRendara1*>(m_record.m_state); }
    GeneralVideoRendererObject* Render() { return State().m_render.m_object; }
    HWND OutputWindow() { return State().m_window; }

    HRESULT Call(const GUID& iid, int32_t method, const std::vector<ParamSetter>& setters = {});
    HRESULT VideoOutput(int32_t method, const std::vector<ParamSetter>& setters = {})
    {
        return Call(IID_IVideoOutputRender1, method, setters);
    }
    // Parameter k of the last call, as the plug-in left it.
    const InfoParamDataPath1& Param(uint32_t k) const { return m_params.m_params.GetElement(k); }

    // Places and shows the window; its client area is then width x height.
    void ShowAt(int x, int y, int width, int height);
    HRESULT Transform(InfoDataBufferPath1& frame, ListEventsDataPath1* events = nullptr);

    HMODULE m_module = nullptr;
    std::optional<TestPluginExports> m_exports;
    InfoFilterObjectDataPath1 m_record;
    ListParamsDataPath1 m_params;
};

// Deletes the events of the list and empties it.
void DeleteEvents(ListEventsDataPath1& events);
// The events of the type in the list.
std::vector<const InfoEventDataFrame1*> EventsOfType(const ListEventsDataPath1& events, TypeEventDataFrame1 type);

// A YUY2 frame whose chroma planes are not grey, so that a picture in grey levels shows the
// conversion dropped the colour, not the frame.
void MakeColouredFrame(InfoDataBufferPath1& frame, int width, int height, const TestFrameLuma& luma);
