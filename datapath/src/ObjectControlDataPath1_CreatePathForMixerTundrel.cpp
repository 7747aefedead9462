// The mixer path the program runs: the mixer feeding the video output, and up to one source
// chain per mixer input. Runs on the worker thread.
#include "ObjectControlDataPath1.h"

#include "InfoDriverForMixerDataPath1.h"
#include "PathRecipeCalls.h"
#include "need_interface.h"

#include "CatchAllLog.h"
#include "FunctWorkWithHWND.h"

#include <algorithm>
#include <iterator>

namespace {

constexpr uint32_t kMixerPlace = 0;
constexpr uint32_t kOutputPlace = 1;
// The bits of the single-precision 512.0, which the output takes as an integer.
constexpr int32_t kOutputScaleBits = 0x44000000;

} // namespace

HRESULT ObjectControlDataPath1::ConfigureMixerOutput(ObjectDataPath1* output, HWND outputWindow)
{
    if (!AnswersInterface(output, IID_IVideoOutputRender1))
        return E_FAIL;
    const GUID& render = IID_IVideoOutputRender1;
    CallFilter(output, render, 28, {BufferParam(nullptr), BoolParam(false)});
    CallFilter(output, render, 24, {BoolParam(true)});
    CallFilter(output, render, 23, {BufferParam(this)});
    CallFilter(output, render, 5, {RectParam(100, 100, 500, 500)});
    CallFilter(output, render, 16, {BoolParam(false)});
    if (SUCCEEDED(CheckIsWindow(outputWindow))) {
        CallFilter(output, render, 7, {WindowParam(outputWindow)});
        CallFilter(output, render, 9, {IntParam(kOutputScaleBits)});
        CallFilter(output, render, 14, {WindowParam(outputWindow)});
    }
    CallFilter(output, render, 3, {BoolParam(false)});
    // Items 0 to 4, then item 2 once more, which ends the setting.
    for (uint32_t item : {0u, 1u, 2u, 3u, 4u})
        CallFilter(output, render, 15, {UIntParam(item), BoolParam(false), BoolParam(false)});
    CallFilter(output, render, 15, {UIntParam(2), BoolParam(false), BoolParam(true)});
    return S_OK;
}

HRESULT ObjectControlDataPath1::CreateMixerDataPathForTundrelReal(HWND outputWindow, int32_t /*reserved*/,
                                                                  int32_t processorMode)
{
    if (!IsOnWorkerThread("ObjectControlDataPath1::CreateMixerDataPathForTundrelReal"))
        return E_UNEXPECTED;
    return BuildRecipe({"Blendora1.vdd", "RendaraGeneral.vdd"}, processorMode,
                       [&](const DynamicBoundsObject<int32_t>& made) {
                           ObjectDataPath1* mixer = CreatedFilter(made, kMixerPlace);
                           ObjectDataPath1* output = CreatedFilter(made, kOutputPlace);
                           const HRESULT result = output != nullptr ? ConfigureMixerOutput(output, outputWindow) : S_OK;
                           return FAILED(result) ? result : ConnectFilters(mixer, 0, output, 0);
                       });
}

// Puts the source in its slot and hands it the source record. A source that refuses the record
// stays in its slot, unlinked, for the delete operation to remove.
HRESULT ObjectControlDataPath1::AddSourceToMixerSlot(ObjectDataPath1* source, InfoNeedInterface* record, int32_t slot,
                                                     int32_t processorMode)
{
    if (slot < 0 || slot >= static_cast<int32_t>(kNumberMixerInputs)) {
        LOG_TEXT("ObjectControlDataPath1::AddDriverToMixerDataPathForTundrelReal::slot out of range");
        DeleteFilter(source);
        return E_FAIL;
    }
    ObjectDataPath1*& entry = m_mixer_inputs.GetElement(static_cast<uint32_t>(slot));
    // The chain already there keeps its entry, so that it can still be removed.
    if (entry != nullptr) {
        LOG_TEXT("ObjectControlDataPath1::AddDriverToMixerDataPathForTundrelReal::slot in use");
        DeleteFilter(source);
        return E_UNEXPECTED;
    }
    entry = source;
    HRESULT result = source->QueryInterfaceFunction(IID_IControlDriverDirectShow);
    if (result != S_OK)
        return result;
    result = CallFilter(source, IID_IControlDriverDirectShow, 0, {BufferParam(record)});
    if (FAILED(result)) {
        DynamicString text("ObjectControlDataPath1::AddDriverToMixerDataPathForTundrelReal::source refused ");
        text += record->m_name_device.GetString();
        LOG_TEXT(text.GetString());
        return result;
    }
    AutoDriverForMixerDataPath1 holder;
    InfoDriverForMixerDataPath1* settings = holder.Get(0);
    if (settings != nullptr) {
        settings->name = "TestNameCamera";
        settings->cameraId = record->m_id_camera;
        settings->outputOptionFlag = 1;
        settings->cameraSubId = 1;
        const uint8_t outputModes[InfoDriverForMixerDataPath1::kNumberOutputModes] = {1, 1, 0, 1};
        std::copy(std::begin(outputModes), std::end(outputModes), settings->outputModes);
        settings->outputStateFlag = 0;
        settings->floatSetting = 0.0f;
        settings->processorMode = processorMode;
        settings->detectorEnabled = 0;
    }
    result = CreateDriverChainForMixer(source, slot, settings, 0);
    if (FAILED(result)) {
        DeleteFilter(source);
        entry = nullptr;
    }
    return result;
}

HRESULT ObjectControlDataPath1::AddDriverToMixerDataPathForTundrelReal(InfoNeedInterface* source,
                                                                       int32_t /*reserved*/, int32_t slot,
                                                                       int32_t processorMode)
{
    if (!IsOnWorkerThread("ObjectControlDataPath1::AddDriverToMixerDataPathForTundrelReal"))
        return E_UNEXPECTED;
    if (source == nullptr)
        return E_INVALIDARG;
    DynamicBoundsObject<int32_t> made;
    try {
        if (FAILED(CreateRecipeFilters({"Intavo1.vdd"}, processorMode, made)))
            return E_FAIL;
        ObjectDataPath1* filter = CreatedFilter(made, 0);
        return filter == nullptr ? S_OK : AddSourceToMixerSlot(filter, source, slot, processorMode);
    }
    catch (...) {
        LogExceptionAt(__FILE__, __LINE__);
        return E_FAIL;
    }
}

HRESULT ObjectControlDataPath1::DeleteDriverFromMixerDataPathForTundrelReal(int32_t slot)
{
    if (!IsOnWorkerThread("ObjectControlDataPath1::DeleteDriverFromMixerDataPathForTundrelReal"))
        return E_UNEXPECTED;
    HRESULT result = E_FAIL;
    try {
        ObjectDataPath1*& entry = m_mixer_inputs.GetElement(static_cast<uint32_t>(slot));
        ObjectDataPath1* source = entry;
        // Searches from no start would cover the whole table: an empty slot finds nothing.
        if (source != nullptr) {
            int32_t counter = 0;
            ObjectDataPath1* camera = FindFilterWithInterface(source, &counter, IID_IInfoCamera);
            counter = 0;
            ObjectDataPath1* mixer = FindFilterWithInterface(source, &counter, IID_MixerDataTundrel);
            if (camera != nullptr && mixer != nullptr)
                DisconnectFilters(camera, mixer);
        }
        result = DeleteAllFiltersFromThisReal(source);
        entry = nullptr;
    }
    catch (...) {
        LogExceptionAt(__FILE__, __LINE__);
    }
    LOG_TEXT("ObjectControlDataPath1::DeleteDriverFromMixerDataPathForTundrelReal::end");
    return result;
}
