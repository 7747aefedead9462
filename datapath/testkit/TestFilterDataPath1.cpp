// A test double of the delivered plug-ins, built on the plug-in frame. Its role comes from the
// name of its file: copied as "Intavo1.vdd", "Tonalis1.vdd", "Motiscan4.vdd", "Camwell1.vdd",
// "Blendora1.vdd", "RendaraGeneral.vdd", "Marrisk1.vdd", "Parvex.vdd", "Ostrel2.vdd" or "Pellow1.vdd" it offers that plug-in's connection points and answers
// its interfaces as far as the data path relies on them (the source journals the record it is
// handed); under any other name (such as
// "FailInit.vdd") its InitInfoFilter fails. Every export call is written to the call journal, and
// so is every frame a transform receives (its layout, number and a digest of its picture).
#include "BaseClassObjectDataPath1.h"
#include "FrameDigest.h"
#include "TestFilterJournal.h"
#include "interface_optim.h"
#include "interface_static_result.h"

#include "ObjectDataPath1_InfoDataBufferPath1.h"
#include "StructForInterfaceDataPath1Table.h"
#include "need_interface.h"

#include "CTimeServer.h"

#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr uint32_t kSupportedModes = 15;

struct TestRole
{
    const char* name;
    std::vector<GUID> interfaces;
    std::vector<const char*> inputs;
    std::vector<const char*> outputs;
};

std::vector<const char*> MixerInputs()
{
    static const char* const names[16] = {
        "DataInput::0",  "DataInput::1",  "DataInput::2",  "DataInput::3",  "DataInput::4",  "DataInput::5",
        "DataInput::6",  "DataInput::7",  "DataInput::8",  "DataInput::9",  "DataInput::10", "DataInput::11",
        "DataInput::12", "DataInput::13", "DataInput::14", "DataInput::15"};
    return std::vector<const char*>(names, names + 16);
}

TestRole RoleFromFileName(const std::string& fileName)
{
    const std::vector<TestRole> roles = {
        {"Intavo1", {IID_ISourceFilterDataPath1, IID_IControlDriverDirectShow, IID_IControlOptimProcessor}, {},
         {"DataOutput1"}},
        {"Tonalis1", {IID_IControlCorrectVideoData, IID_IControlOptimProcessor, IID_IControlStaticResultProcess},
         {"DataInput1"}, {"DataOutput1"}},
        {"Motiscan4", {IID_IControlVideoDetector, IID_IControlOptimProcessor, IID_IControlStaticResultProcess},
         {"DataInput1"}, {"DataOutput1"}},
        {"Camwell1",
         {IID_IInfoCamera, IID_IControlRateData, IID_IControlCoderVideoData, IID_IGrabberFrames,
          IID_IControlOptimProcessor},
         {"DataInput1"},
         {"CompressDataOutput1", "SpecialCompressDataOutput2", "ViewDataOutput3"}},
        {"Blendora1", {IID_MixerDataTundrel, IID_IControlOptimProcessor}, MixerInputs(), {"DataOutput1"}},
        {"RendaraGeneral", {IID_IVideoOutputRender1, IID_IFilter_GeneralCompress, IID_IControlOptimProcessor},
         {"DataInput1"}, {}},
        // The outside plug-ins of the capture and archive recipes: reader, codec, sender, writer.
        {"Marrisk1", {IID_IReadFromFileForWriteServer2, IID_IControlOptimProcessor}, {}, {"DataOutput1"}},
        {"Parvex", {IID_IFilter_GeneralCompress, IID_IFilter_VideoCompress, IID_IControlOptimProcessor},
         {"DataInput1"}, {"DataOutput1"}},
        {"Ostrel2", {IID_IControlNetworkSend1}, {"DataInput1"}, {"DataOutput1"}},
        {"Pellow1", {IID_IWriteInFileForWriteServer2}, {"DataInput1"}, {}},
    };
    for (const TestRole& role : roles)
        if (fileName == std::string(role.name) + ".vdd")
            return role;
    return {"FailInit", {IID_IControlOptimProcessor}, {"DataInput1"}, {"DataOutput1"}};
}

std::string ModuleFileName(HINSTANCE module)
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(module, path, MAX_PATH);
    const char* slash = std::strrchr(path, '\\');
    return slash != nullptr ? slash + 1 : path;
}

std::string InterfaceName(const GUID& iid)
{
    const StructForInterfaceDataPath1& table = g_struct_for_interface_data_path1;
    for (int32_t i = 0; i < table.m_count_interfaces; ++i) {
        const InfoInterfaceDataPath1& entry = table.m_interfaces.GetElement(i);
        if (IsEqualGUID(entry.m_iid, iid))
            return entry.m_name.GetString();
    }
    return "unknown";
}

// "[type:value]" per parameter; by-pointer parameters show whether a pointer is given, texts their text.
std::string FormatParams(const ListParamsDataPath1& params)
{
    std::string text;
    for (uint32_t i = 0; i < params.m_count && i < ListParamsDataPath1::kMaxParams; ++i) {
        const InfoParamDataPath1& param = params.m_params.GetElement(i);
        char item[64];
        if (param.IsByPointer() && param.GetBaseType() == TypeParamText && param.GetPointer() != nullptr)
            std::snprintf(item, sizeof(item), " [0x%X:%s]", param.m_type, static_cast<const char*>(param.GetPointer()));
        else if (param.IsByPointer())
            std::snprintf(item, sizeof(item), " [0x%X:%s]", param.m_type, param.GetPointer() ? "ptr" : "null");
        else
            std::snprintf(item, sizeof(item), " [0x%X:%u]", param.m_type, param.GetUInt());
        text += item;
    }
    return text;
}

// What the tests set up: answers that replace a call's or a query's own answer, and the
// transform's answer.
std::map<std::pair<std::string, int32_t>, HRESULT> g_call_results;
std::map<std::string, HRESULT> g_query_results;
HRESULT g_transform_result = S_OK;
int32_t g_count_instances = 0;

std::string GuidKey(const GUID& iid)
{
    return std::string(reinterpret_cast<const char*>(&iid), sizeof(GUID));
}

struct InfoTestFilterState : InfoFilterStateDataPath1
{
    InfoTestFilterState() : m_instance(++g_count_instances) { m_name = "TEST_FILTER"; }

    int32_t m_instance;
    int32_t m_camera_id = 0;
    int32_t m_stream[2] = {0, 0};
    int32_t m_number_frame = 0;
    ObjectOptimProcessorDataPath1 m_optim;
    ObjectStaticResultProcessDataPath1 m_statistics;
    CTimeServer m_time;
};

class TestFilterDataPath1 : public FilterObjectFrameDataPath1<TestFilterDataPath1, InfoTestFilterState>
{
public:
    explicit TestFilterDataPath1(HINSTANCE module) : m_role(RoleFromFileName(ModuleFileName(module)))
    {
        m_text_id = "TextIDFilter::";
        m_text_id += m_role.name;
        m_version = 1.0f;
        FillStructForInterfaceDataPath1();
    }

    HRESULT InitInfoFilterImpl(InfoFilterObjectDataPath1* instance, int32_t mode) override
    {
        HRESULT result = E_FAIL;
        if (std::strcmp(m_role.name, "FailInit") != 0)
            result = FilterObjectFrameDataPath1::InitInfoFilterImpl(instance, mode);
        AddJournalLine("InitInfoFilter mode=" + std::to_string(mode) + InstanceText(instance) + " result=" +
                       FormatResult(result));
        return result;
    }

    HRESULT FreeInfoFilterImpl(InfoFilterObjectDataPath1* instance) override
    {
        const std::string instanceText = InstanceText(instance);
        const HRESULT result = FilterObjectFrameDataPath1::FreeInfoFilterImpl(instance);
        AddJournalLine("FreeInfoFilter" + instanceText + " result=" + FormatResult(result));
        return result;
    }

    HRESULT TransformFilterImpl(InfoDataBufferPath1* frame, uint32_t frameSize, InfoDataBufferPath1* output,
                                uint32_t outputSize, InfoFilterObjectDataPath1* instance, ListEventsDataPath1* events,
                                int32_t inputIndex) override
    {
        AddJournalLine("TransformFilter frame=" + std::to_string(frame ? frame->m_number_frame : -1) +
                       " size=" + std::to_string(frameSize) + " output=" + (output ? "1" : "0") +
                       " outputSize=" + std::to_string(outputSize) + InstanceText(instance) +
                       " index=" + std::to_string(inputIndex));
        if (frame != nullptr && (frame->m_info.m_state & InfoCallInterfaceDataPath1::kStateFrame) != 0)
            AddJournalLine(FrameText(*frame));
        InfoTestFilterState* state = nullptr;
        const HRESULT own = TakeOwnState(instance, &state);
        if (FAILED(own))
            return own;
        const uint64_t start = state->m_time.GetTime();
        if (SUCCEEDED(g_transform_result) && IsInterfaceImplemented(IID_IControlStaticResultProcess))
            state->m_statistics.AddProcessedFrame(state->m_time.GetTime() - start, events, this,
                                                  m_text_id.GetString(), frame ? frame->m_number_frame : 0);
        return g_transform_result;
    }

    HRESULT DispatchInterfaceCall(GUID iid, int32_t indexMethod, ListParamsDataPath1* params,
                                  InfoFilterObjectDataPath1* instance) override
    {
        AddJournalLine("CallInterfaceFunction " + InterfaceName(iid) + " method=" + std::to_string(indexMethod) +
                       InstanceText(instance) + FormatParams(*params));
        InfoTestFilterState* state = nullptr;
        const HRESULT own = TakeOwnState(instance, &state);
        if (FAILED(own))
            return own;
        const auto preset = g_call_results.find({GuidKey(iid), indexMethod});
        if (preset != g_call_results.end())
            return preset->second;
        if (!IsInterfaceImplemented(iid))
            return E_FAIL;
        if (IsEqualGUID(iid, IID_IControlOptimProcessor))
            return state->m_optim.Dispatch(indexMethod, params, kSupportedModes);
        if (IsEqualGUID(iid, IID_IControlStaticResultProcess))
            return state->m_statistics.Dispatch(indexMethod, params);
        if (IsEqualGUID(iid, IID_IInfoCamera))
            return CallCamera(*state, indexMethod, *params);
        if (IsEqualGUID(iid, IID_ISourceFilterDataPath1) && indexMethod == 2)
            return GetFrame(*state, *params);
        if (IsEqualGUID(iid, IID_IReadFromFileForWriteServer2))
            return CallReader(*state, indexMethod, *params);
        if (IsEqualGUID(iid, IID_IFilter_GeneralCompress) && indexMethod == 0)
            JournalCodecNames(*params);
        if (IsEqualGUID(iid, IID_IControlDriverDirectShow) && indexMethod == 0)
            return TakeSourceRecord(*params);
        return S_OK;
    }

    HRESULT QueryInterfaceImpl(GUID iid) override
    {
        const auto preset = g_query_results.find(GuidKey(iid));
        const HRESULT answer =
            preset != g_query_results.end() ? preset->second : FilterObjectFrameDataPath1::QueryInterfaceImpl(iid);
        AddJournalLine("QueryInterfaceFunction " + InterfaceName(iid) + " answer=" + std::to_string(answer));
        return answer;
    }

    HRESULT FillConnectionPoints(ListConnectionPointsDataPath1* points, int32_t size)
    {
        if (size < static_cast<int32_t>(sizeof(ListConnectionPointsDataPath1)))
            return E_UNEXPECTED;
        points->m_count_inputs = static_cast<uint32_t>(m_role.inputs.size());
        for (uint32_t i = 0; i < m_role.inputs.size(); ++i)
            ListConnectionPointsDataPath1::DeclarePoint(points->m_inputs.GetElement(i), m_role.inputs[i],
                                                        kTypeInputPointDataPath1);
        points->m_count_outputs = static_cast<uint32_t>(m_role.outputs.size());
        for (uint32_t i = 0; i < m_role.outputs.size(); ++i)
            ListConnectionPointsDataPath1::DeclarePoint(points->m_outputs.GetElement(i), m_role.outputs[i],
                                                        kTypeOutputPointDataPath1);
        return S_OK;
    }

    bool IsInterfaceImplemented(const GUID& iid) const
    {
        for (const GUID& offered : m_role.interfaces)
            if (IsEqualGUID(offered, iid))
                return true;
        return false;
    }

private:
    // "Frame subtype=YUY2 width=320 height=240 stride=640 number=42 digest=0123456789ABCDEF"; a
    // subtype that is no FOURCC shows as "none".
    static std::string FrameText(const InfoDataBufferPath1& frame)
    {
        const GUID& subtype = frame.m_info.m_subtype;
        std::string fourcc = "none";
        if (subtype != GUID_NULL)
            fourcc = std::string(reinterpret_cast<const char*>(&subtype.Data1), 4);
        char text[160];
        std::snprintf(text, sizeof(text), "Frame subtype=%s width=%ld height=%ld stride=%d number=%d digest=%016llX",
                      fourcc.c_str(), static_cast<long>(frame.m_info.m_bih.biWidth),
                      static_cast<long>(frame.m_info.m_bih.biHeight), frame.m_stride, frame.m_number_frame,
                      static_cast<unsigned long long>(DigestVisibleBytes(frame)));
        return text;
    }

    static std::string InstanceText(InfoFilterObjectDataPath1* instance)
    {
        const auto* state = instance ? static_cast<InfoTestFilterState*>(instance->m_state) : nullptr;
        return " instance=" + std::to_string(state ? state->m_instance : 0);
    }

    // Method 2 sets the camera id, method 3 writes it through the caller's pointer.
    static HRESULT CallCamera(InfoTestFilterState& state, int32_t indexMethod, ListParamsDataPath1& params)
    {
        if (indexMethod == 2)
            state.m_camera_id = params.m_params.GetElement(0).GetInt();
        if (indexMethod != 3)
            return S_OK;
        auto* cameraId = static_cast<int32_t*>(params.m_params.GetElement(0).GetPointer());
        if (cameraId == nullptr)
            return E_INVALIDARG;
        *cameraId = state.m_camera_id;
        return S_OK;
    }

    // Reads the source record as the source plug-in would build its graph from it.
    static HRESULT TakeSourceRecord(ListParamsDataPath1& params)
    {
        const auto* record = static_cast<const InfoNeedInterface*>(params.m_params.GetElement(0).GetPointer());
        if (record == nullptr)
            return E_INVALIDARG;
        AddJournalLine(std::string("SourceRecord name=") + record->m_name_device.GetString() +
                       " camera=" + std::to_string(record->m_id_camera));
        return S_OK;
    }

    // Method 0 sets the stream the reader plays, method 13 reports it through two pointers.
    static HRESULT CallReader(InfoTestFilterState& state, int32_t indexMethod, ListParamsDataPath1& params)
    {
        if (indexMethod == 0) {
            state.m_stream[0] = params.m_params.GetElement(0).GetInt();
            state.m_stream[1] = params.m_params.GetElement(1).GetInt();
        }
        if (indexMethod != 13)
            return S_OK;
        for (uint32_t k = 0; k < 2; ++k) {
            auto* id = static_cast<int32_t*>(params.m_params.GetElement(k).GetPointer());
            if (id == nullptr)
                return E_INVALIDARG;
            *id = state.m_stream[k];
        }
        return S_OK;
    }

    // "CodecNames" and the names the codec was given, read while the call lasts.
    static void JournalCodecNames(ListParamsDataPath1& params)
    {
        const auto* names = static_cast<char* const*>(params.m_params.GetElement(0).GetPointer());
        const uint32_t count = params.m_params.GetElement(2).GetUInt();
        std::string line = "CodecNames ";
        for (uint32_t k = 0; names != nullptr && k < count; ++k)
            line += (k == 0 ? "" : ",") + std::string(names[k]);
        AddJournalLine(line);
    }

    // A small frame numbered per instance, as a source hands one over on each tick.
    static HRESULT GetFrame(InfoTestFilterState& state, ListParamsDataPath1& params)
    {
        auto* frame = static_cast<InfoDataBufferPath1*>(params.m_params.GetElement(1).GetPointer());
        if (frame == nullptr)
            return E_INVALIDARG;
        const HRESULT result = frame->UpdateSizeBuffer(16, 8);
        if (FAILED(result))
            return result;
        frame->m_info.m_state = InfoCallInterfaceDataPath1::kStateFrame;
        frame->m_number_frame = ++state.m_number_frame;
        return S_OK;
    }

    TestRole m_role;
};

} // namespace

BaseClassObjectDataPath1* CreateFilterObjectDataPath1(HINSTANCE module)
{
    return new TestFilterDataPath1(module);
}

HRESULT FillConnectionPointsDataPath1(BaseClassObjectDataPath1* object, ListConnectionPointsDataPath1* points,
                                      int32_t size)
{
    return static_cast<TestFilterDataPath1*>(object)->FillConnectionPoints(points, size);
}

// Makes the call (interface, method) answer the result instead of its own answer.
extern "C" __declspec(dllexport) void WINAPI SetTestCallResult(const GUID* iid, int32_t indexMethod, HRESULT result)
{
    if (iid != nullptr)
        g_call_results[{GuidKey(*iid), indexMethod}] = result;
}

// Makes the query for the interface answer the result instead of its own answer.
extern "C" __declspec(dllexport) void WINAPI SetTestQueryResult(const GUID* iid, HRESULT result)
{
    if (iid != nullptr)
        g_query_results[GuidKey(*iid)] = result;
}

extern "C" __declspec(dllexport) void WINAPI SetTestTransformResult(HRESULT result)
{
    g_transform_result = result;
}

// A reading of the plug-in's own time server, for tests that move every module's clock at once.
extern "C" __declspec(dllexport) uint64_t WINAPI ReadTestClock()
{
    CTimeServer clock;
    return clock.GetTime();
}
