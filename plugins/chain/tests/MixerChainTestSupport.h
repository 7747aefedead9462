// The mixer path as the application builds it, with the delivered plug-ins loaded from the
// program's folder, a live client window, the driver double as a process of its own, and
// generated AVI sources: flat colour stripes with a block that moves across the middle band.
#pragma once

#include "ChainPictures.h"
#include "ControllerTestSupport.h"
#include "MixerPathLayout.h"
#include "MixerTestSupport.h"
#include "TempFolder.h"

#include "StructForInterfaceDataPath1.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <map>
#include <mutex>
#include <string>
#include <vector>

using ParamSetter = std::function<void(InfoParamDataPath1&)>;
ParamSetter Int(int32_t value);
ParamSetter Bool(bool value);
ParamSetter Float(float value);
ParamSetter Rect(int32_t left, int32_t top, int32_t right, int32_t bottom);
ParamSetter Pointer(void* pointer);
ParamSetter Window(HWND window);

class MixerChainTest : public ::testing::Test
{
protected:
    void SetUp() override { BuildPath(); }
    void TearDown() override { TearDownPath(); }
    // The path as the application builds it, the reader started and the driver kind set.
    void BuildPath();
    // Stops the path and ends the controller, the reader and the client window.
    void TearDownPath();

    // One call of an interface of the filter at the index, on the worker as the application sends it.
    HRESULT Call(int32_t index, const GUID& iid, int32_t method, const std::vector<ParamSetter>& setters);
    // Writes a source file of the size and adds it in the slot (the order-th source added), with
    // its corrections off and its mixer input enabled; the path runs.
    void AddSource(int32_t slot, int32_t order, int width, int height, bool mirrored = false);
    // The reader peeks until a frame of the size waits; whether one came.
    bool WaitForReaderFrame(int width, int height, VirtualCameraFrameReport* report = nullptr);
    // The waiting frame's pixel, as the reader sees it.
    Yuv ReaderPixel(int x, int y);
    // Waits until the filter at the index has received that many frames since the last reset.
    bool WaitForFrameAt(int32_t index, int count = 1);
    int RoutedFrames(ObjectDataPath1* filter);
    void ForgetRoutedFrames();
    // Handles the client window's event messages as the application does, fetching the queued
    // events of both kinds and showing each to the look; until done() or the time is up.
    bool CollectClientEvents(const std::function<void(const InfoEventDataFrame1&)>& look,
                             const std::function<bool()>& done, DWORD timeoutMs);

    TempFolder m_files;
    std::unique_ptr<TestClientWindow> m_window;
    std::unique_ptr<TestControlDataPath1> m_controller;
    std::unique_ptr<VirtualCameraReader> m_reader;
    std::mutex m_routed_lock;
    std::map<ObjectDataPath1*, int> m_routed;
};
