#include "PluginBenchScene.h"

std::vector<std::unique_ptr<PluginBenchScene>> MakePluginBenchScenes()
{
    std::vector<std::unique_ptr<PluginBenchScene>> scenes;
    scenes.push_back(MakeMovingBlockScene());
    scenes.push_back(MakeMixerDriverScene());
    scenes.push_back(MakeMixerBackgroundScene());
    scenes.push_back(MakeVideoOutputScene());
    scenes.push_back(MakeCorrectionOffScene());
    return scenes;
}
