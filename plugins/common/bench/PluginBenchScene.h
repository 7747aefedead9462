// A scene of the plug-in benchmark: the frames a filter is timed on and the settings it needs
// first. Each plug-in adds its scenes in a file of its own and lists their makers in
// MakePluginBenchScenes (PluginBenchScenes.cpp).
#pragma once

#include "ObjectDataPath1.h"

#include "ObjectDataPath1_InfoDataBufferPath1.h"

#include <memory>
#include <vector>

// One timed transform: the frame and the input point it arrives on.
struct PluginBenchInput
{
    InfoDataBufferPath1* frame = nullptr;
    int32_t inputIndex = 0;
};

class PluginBenchScene
{
public:
    virtual ~PluginBenchScene() = default;

    virtual const char* Name() const = 0;
    // Puts the filter into the state the scene measures (through its interfaces) and builds the
    // frames of the size. Called once for each size, before the timing.
    virtual HRESULT Prepare(ObjectDataPath1& filter, int width, int height) = 0;
    // The number of transforms in one cycle of the scene.
    virtual int StepCount() const = 0;
    // The frames a cycle counts for the figure per frame: every transform, unless the scene says
    // that a cycle makes fewer frames (the mixer's channels feed one base frame).
    virtual int FramesPerCycle() const { return StepCount(); }
    // Step k of the cycle. Not timed: a scene whose filter changes its frames in place may
    // restore them here.
    virtual PluginBenchInput Step(int k) = 0;
};

// Every scene, in the order the benchmark runs them.
std::vector<std::unique_ptr<PluginBenchScene>> MakePluginBenchScenes();

// The scene makers, each in its own file.
std::unique_ptr<PluginBenchScene> MakeMovingBlockScene();
std::unique_ptr<PluginBenchScene> MakeMixerDriverScene();
std::unique_ptr<PluginBenchScene> MakeMixerBackgroundScene();
std::unique_ptr<PluginBenchScene> MakeVideoOutputScene();
// The correction filter under each of its scene settings.
std::vector<std::unique_ptr<PluginBenchScene>> MakeCorrectionScenes();
