#include "PluginBenchScene.h"

std::vector<std::unique_ptr<PluginBenchScene>> MakePluginBenchScenes()
{
    std::vector<std::unique_ptr<PluginBenchScene>> scenes;
    scenes.push_back(MakeMovingBlockScene());
    scenes.push_back(MakeMixerDriverScene());
    scenes.push_back(MakeMixerBackgroundScene());
    scenes.push_back(MakeVideoOutputScene());
    for (std::unique_ptr<PluginBenchScene>& scene : MakeCorrectionScenes())
        scenes.push_back(std::move(scene));
    return scenes;
}
