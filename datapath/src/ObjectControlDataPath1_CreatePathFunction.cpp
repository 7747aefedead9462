// The path-building operations of the controller: the helpers every recipe shares and the chain
// of one mixer source. The three network operations that the controller accepts do nothing.
#include "ObjectControlDataPath1.h"

#include "InfoDriverForMixerDataPath1.h"
#include "PathRecipeCalls.h"
#include "struct_format_graph1.h"

#include "CatchAllLog.h"

HRESULT ObjectControlDataPath1::CreateNetworkDataPathForReciveArhiveReal(WPARAM /*w*/, LPARAM /*l*/)
{
    if (!IsOnWorkerThread("ObjectControlDataPath1::CreateNetworkDataPathForReciveArhiveReal"))
        return E_UNEXPECTED;
    return S_OK;
}

HRESULT ObjectControlDataPath1::CreateNetworkCapturePathFromFormat1Real(void*, int32_t, HWND, InfoNeedInterface*,
                                                                        uint8_t, uint8_t, uint8_t, uint8_t, int32_t,
                                                                        int32_t, uint8_t, uint8_t, void*, int32_t, void*)
{
    if (!IsOnWorkerThread("ObjectControlDataPath1::CreateNetworkCapturePathFromFormat1Real"))
        return E_UNEXPECTED;
    return S_OK;
}

HRESULT ObjectControlDataPath1::CreateReciveDataPathForReciverServerReal(int32_t, int32_t, int32_t, int32_t, int32_t,
                                                                         int32_t)
{
    if (!IsOnWorkerThread("ObjectControlDataPath1::CreateReciveDataPathForReciverServerReal"))
        return E_UNEXPECTED;
    return S_OK;
}

// ---- Helpers of the recipes ------------------------------------------------------------------

HRESULT ObjectControlDataPath1::CreateNamedFilters(std::initializer_list<const char*> names,
                                                   DynamicBoundsObject<int32_t>& indexes)
{
    try {
        const auto count = static_cast<uint32_t>(names.size());
        DynamicBoundsObject<DynamicString> list;
        if (FAILED(list.Init(count, 4)) || FAILED(indexes.Init(count, 4)))
            return E_FAIL;
        indexes.Fill(-1);
        uint32_t place = 0;
        for (const char* name : names)
            list.GetElement(place++) = name;
        return FAILED(CreateFilters(list, indexes)) ? E_FAIL : S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

// A filter without the processor interface is passed over.
HRESULT ObjectControlDataPath1::CreateRecipeFilters(std::initializer_list<const char*> names, int32_t processorMode,
                                                    DynamicBoundsObject<int32_t>& indexes)
{
    try {
        if (FAILED(CreateNamedFilters(names, indexes)))
            return E_FAIL;
        for (uint32_t place = 0; place < indexes.GetCount(); ++place) {
            ObjectDataPath1* filter = CreatedFilter(indexes, place);
            if (AnswersInterface(filter, IID_IControlOptimProcessor))
                CallFilter(filter, IID_IControlOptimProcessor, 1, {IntParam(processorMode)});
        }
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT ObjectControlDataPath1::BuildRecipe(std::initializer_list<const char*> names, int32_t processorMode,
                                            const RecipeBuild& build)
{
    DynamicBoundsObject<int32_t> made;
    try {
        if (FAILED(CreateRecipeFilters(names, processorMode, made)))
            return E_FAIL;
        const HRESULT result = build(made);
        if (FAILED(result))
            DeleteCreatedFilters(made);
        return result;
    }
    catch (...) {
        LogExceptionAt(__FILE__, __LINE__);
        DeleteCreatedFilters(made);
        return E_FAIL;
    }
}

ObjectDataPath1* ObjectControlDataPath1::CreatedFilter(const DynamicBoundsObject<int32_t>& indexes,
                                                       uint32_t place) const
{
    return GetFilterFromIndex(indexes.GetElement(place));
}

void ObjectControlDataPath1::DeleteCreatedFilters(const DynamicBoundsObject<int32_t>& indexes)
{
    try {
        for (uint32_t place = 0; place < indexes.GetCount(); ++place)
            if (ObjectDataPath1* filter = CreatedFilter(indexes, place))
                DeleteFilter(filter);
    }
    CATCH_ALL_LOG()
}

// ---- The chain of one mixer source -------------------------------------------------------------

namespace {

// Places in the chain's creation list.
constexpr uint32_t kChainCamera = 0;
constexpr uint32_t kChainDetector = 1;
constexpr uint32_t kChainCorrection = 2;
// The camera's "ViewDataOutput3" feeds the mixer.
constexpr int32_t kCameraViewOutput = 2;
constexpr uint32_t kScheduleBytes = StructFormatGraph1::kScheduleHours;

char g_camera_caption[] = "TEST";

} // namespace

// The camera calls that mixer and capture paths share.
HRESULT ObjectControlDataPath1::ConfigureCameraIdentity(ObjectDataPath1* camera,
                                                         const InfoDriverForMixerDataPath1& settings)
{
    if (!AnswersInterface(camera, IID_IInfoCamera))
        return E_FAIL;
    CallFilter(camera, IID_IInfoCamera, 4, {BoolParam(settings.outputModes[3] == 0)});
    CallFilter(camera, IID_IInfoCamera, 8, {BufferParam(this)});
    CallFilter(camera, IID_IInfoCamera, 0, {BufferParam(g_camera_caption), UIntParam(5)});
    CallFilter(camera, IID_IInfoCamera, 2, {IntParam(settings.cameraId), IntParam(settings.cameraSubId)});
    if (settings.format != nullptr)
        CallFilter(camera, IID_IInfoCamera, 6, {BufferParam(settings.format->schedule), UIntParam(kScheduleBytes)});
    CallFilter(camera, IID_IInfoCamera, 7, {BoolParam(true)});
    return S_OK;
}

HRESULT ObjectControlDataPath1::ConfigureMixerCamera(ObjectDataPath1* camera,
                                                      const InfoDriverForMixerDataPath1& settings)
{
    if (FAILED(ConfigureCameraIdentity(camera, settings)) || !AnswersInterface(camera, IID_IGrabberFrames))
        return E_FAIL;
    CallFilter(camera, IID_IGrabberFrames, 0, {BoolParam(true)});
    CallFilter(camera, IID_IGrabberFrames, 1, {BoolParam(false)});
    return S_OK;
}

HRESULT ObjectControlDataPath1::ConfigureMixerCorrection(ObjectDataPath1* correction,
                                                          const InfoDriverForMixerDataPath1& settings)
{
    if (!AnswersInterface(correction, IID_IControlCorrectVideoData))
        return E_FAIL;
    CallFilter(correction, IID_IControlCorrectVideoData, 0, {BoolParam(true)});
    if (settings.format != nullptr)
        CallFilter(correction, IID_IControlCorrectVideoData, 11, {BufferParam(settings.format)});
    CallFilter(correction, IID_IControlCorrectVideoData, 5, {BoolParam(false)});
    CallFilter(correction, IID_IControlCorrectVideoData, 7, {BoolParam(false)});
    CallFilter(correction, IID_IControlCorrectVideoData, 9, {BufferParam(this)});
    CallFilter(correction, IID_IControlCorrectVideoData, 10,
               {IntParam(settings.cameraId), IntParam(settings.cameraSubId)});
    return S_OK;
}

// A detector without the detector interface is kept as it is.
HRESULT ObjectControlDataPath1::ConfigureMixerDetector(ObjectDataPath1* detector,
                                                        const InfoDriverForMixerDataPath1& settings)
{
    if (detector == nullptr)
        return E_FAIL;
    if (!AnswersInterface(detector, IID_IControlVideoDetector))
        return S_OK;
    CallFilter(detector, IID_IControlVideoDetector, 6,
               {BufferParam(settings.format), UIntParam(static_cast<uint32_t>(sizeof(StructFormatGraph1)))});
    CallFilter(detector, IID_IControlVideoDetector, 0, {BoolParam(settings.detectorEnabled != 0)});
    return S_OK;
}

HRESULT ObjectControlDataPath1::CreateDriverChainForMixer(ObjectDataPath1* sourceFilter, int32_t mixerInput,
                                                          InfoDriverForMixerDataPath1* settings, int32_t /*reserved*/)
{
    if (!IsOnWorkerThread("ObjectControlDataPath1::CreateDriverChainForMixer"))
        return E_UNEXPECTED;
    if (sourceFilter == nullptr || settings == nullptr)
        return E_INVALIDARG;
    try {
        if (GetIndexFilter(sourceFilter) < 0)
            return E_FAIL;
        int32_t counter = 0;
        ObjectDataPath1* mixer = FindFilterWithInterface(nullptr, &counter, IID_MixerDataTundrel);
        if (mixer == nullptr)
            return E_FAIL;
        return BuildRecipe({"Camwell1.vdd", "Motiscan4.vdd", "Tonalis1.vdd"}, settings->processorMode,
                           [&](const DynamicBoundsObject<int32_t>& made) {
                               ObjectDataPath1* camera = CreatedFilter(made, kChainCamera);
                               ObjectDataPath1* detector = CreatedFilter(made, kChainDetector);
                               ObjectDataPath1* correction = CreatedFilter(made, kChainCorrection);
                               HRESULT result = ConfigureMixerCamera(camera, *settings);
                               if (SUCCEEDED(result))
                                   result = ConfigureMixerCorrection(correction, *settings);
                               if (SUCCEEDED(result))
                                   result = ConfigureMixerDetector(detector, *settings);
                               if (SUCCEEDED(result))
                                   result = ConnectFilters(sourceFilter, 0, correction, 0);
                               if (SUCCEEDED(result))
                                   result = ConnectFilters(correction, 0, detector, 0);
                               if (SUCCEEDED(result))
                                   result = ConnectFilters(detector, 0, camera, 0);
                               if (SUCCEEDED(result))
                                   result = ConnectFilters(camera, kCameraViewOutput, mixer, mixerInput);
                               return result;
                           });
    }
    CATCH_ALL_RETURN(E_FAIL)
}
