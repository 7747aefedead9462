#include "KestrelDebugFunct.h"

#include <atomic>
#include <cstdio>

namespace {

// The features that matter to the kernel sets, one bit each.
constexpr uint32_t kMmx = 1;
constexpr uint32_t kSse = 2;
constexpr uint32_t kSse2 = 4;
// Set while a test forces the features.
constexpr uint32_t kForced = 0x80000000u;

uint32_t FeatureBitsOf(const InfoAboutCPUFromCPUID& info)
{
    return (info.m_flags[CpuFlagMMX] != 0 ? kMmx : 0) | (info.m_flags[CpuFlagSSE] != 0 ? kSse : 0) |
           (info.m_flags[CpuFlagSSE2] != 0 ? kSse2 : 0);
}

// Read once: the processor does not change while the process runs.
uint32_t DetectedFeatures()
{
    static const uint32_t detected = [] {
        InfoAboutCPUFromCPUID info;
        return GetCPUInfoFromCPUID(&info, false) == S_OK ? FeatureBitsOf(info) : 0u;
    }();
    return detected;
}

std::atomic<uint32_t> g_forcedFeatures{0};
std::atomic<bool> g_loweringLogged{false};

uint32_t CurrentFeatures()
{
    const uint32_t forced = g_forcedFeatures.load(std::memory_order_acquire);
    return (forced & kForced) != 0 ? forced & ~kForced : DetectedFeatures();
}

ProcessorKernelSet RequestedSet(uint32_t processorMode)
{
    switch (processorMode & 0xFFFF) {
    case 2:
        return ProcessorKernelSet::SseInteger;
    case 4:
    case 8:
    case 32:
    case 64:
        return ProcessorKernelSet::Sse2;
    default:
        return ProcessorKernelSet::Mmx;
    }
}

uint32_t FeaturesNeeded(ProcessorKernelSet set)
{
    switch (set) {
    case ProcessorKernelSet::Sse2:
        return kSse2;
    case ProcessorKernelSet::SseInteger:
        return kMmx | kSse;
    case ProcessorKernelSet::Mmx:
        return kMmx;
    default:
        return 0;
    }
}

const char* NameOf(ProcessorKernelSet set)
{
    static const char* const names[] = {"plain", "MMX", "SSE-integer", "SSE2"};
    return names[static_cast<int>(set)];
}

void LogFirstLowering(uint32_t processorMode, ProcessorKernelSet requested, ProcessorKernelSet chosen)
{
    if (g_loweringLogged.exchange(true))
        return;
    char text[160];
    std::snprintf(text, sizeof(text),
                  "SelectProcessorKernelSet::mode %lu asks for %s kernels the processor lacks, %s used",
                  static_cast<unsigned long>(processorMode), NameOf(requested), NameOf(chosen));
    fMfSG(text, nullptr, __FILE__, __LINE__, nullptr, false, true);
}

} // namespace

ProcessorKernelSet SelectProcessorKernelSet(uint32_t processorMode)
{
    const ProcessorKernelSet requested = RequestedSet(processorMode);
    const uint32_t features = CurrentFeatures();
    ProcessorKernelSet chosen = requested;
    while ((FeaturesNeeded(chosen) & ~features) != 0)
        chosen = static_cast<ProcessorKernelSet>(static_cast<int>(chosen) - 1);
    if (chosen != requested)
        LogFirstLowering(processorMode, requested, chosen);
    return chosen;
}

void SetProcessorFeaturesForTest(const InfoAboutCPUFromCPUID* features)
{
    g_forcedFeatures.store(features != nullptr ? FeatureBitsOf(*features) | kForced : 0, std::memory_order_release);
    g_loweringLogged.store(false);
}
