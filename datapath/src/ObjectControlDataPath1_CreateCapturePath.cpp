// Capture paths: the reader that walks a path description and the recipe that builds the
// filters of one capture format behind an upstream filter. Runs on the worker thread.
#include "ObjectControlDataPath1.h"

#include "CapturePathRecordsDataPath1.h"
#include "InfoDriverForMixerDataPath1.h"
#include "ObjectDataPath1.h"
#include "PathRecipeCalls.h"
#include "struct_format_graph1.h"

#include "CatchAllLog.h"
#include "FunctWorkWithHWND.h"

#include <memory>
#include <vector>

namespace {

// Places in the recipe's creation list.
enum CapturePlace : uint32_t
{
    kCamera = 0,
    kOutput = 1,
    kFirstCodec = 2,
    kSecondCodec = 3,
    kFirstSender = 4,
    kSecondSender = 5,
    kDetector = 6,
    kWriter = 7,
    kCorrection = 8,
};

// The camera's outputs: two compressed branches and the view.
constexpr int32_t kCameraFirstOutput = 0;
constexpr int32_t kCameraSecondOutput = 1;
constexpr int32_t kCameraViewOutput = 2;
constexpr int32_t kOutputScaleBits = 0x44000000; // the single-precision 512.0
constexpr uint32_t kScheduleBytes = StructFormatGraph1::kScheduleHours;

} // namespace

// The reader's arguments that every level of the walk hands on unchanged.
struct ObjectControlDataPath1::FormatGraphOptions
{
    HWND outputWindow;
    uint8_t outputModes[InfoDriverForMixerDataPath1::kNumberOutputModes];
    int32_t values[2];
    uint8_t flags[2];
    void* clients;
    void* codecFormats;
    int32_t processorMode;
    void* codecList;
};

namespace {

// IPv4 in network byte order, as the senders take it.
uint32_t ToNetworkOrder(uint32_t address)
{
    return (address >> 24) | ((address >> 8) & 0xFF00u) | ((address << 8) & 0xFF0000u) | (address << 24);
}

bool ListsCamera(const InfoNetworkClientListDataPath1& list, int32_t cameraId)
{
    const int32_t count = list.m_count_cameras;
    for (int32_t k = 0; k < count && k < static_cast<int32_t>(InfoNetworkClientListDataPath1::kMaxCameras); ++k)
        if (list.m_cameras[k] == cameraId)
            return true;
    return false;
}

InfoNodeFormatGraph1* FindGraphNode(void* nodes, int32_t countNodes, int32_t id)
{
    return FindNodeFormatGraph1(static_cast<uint8_t*>(nodes), static_cast<uint32_t>(countNodes), id);
}

// The codec names of a list, each copied into a task-heap block of its own as the codec takes
// them, and logged; the blocks are freed with the object.
class CodecNameBlocks
{
public:
    CodecNameBlocks() = default;
    HRESULT Copy(const InfoCodecListDataPath1& list)
    {
        for (int32_t k = 0; k < list.m_count; ++k) {
            StaticString<128> name(list.m_names[k]);
            name.ValidateString();
            const uint32_t length = name.GetLenString();
            m_blocks.push_back(nullptr);
            if (FAILED(SAFE_TASK_ALLOC(&m_blocks.back(), length + 2)))
                return E_OUTOFMEMORY;
            std::memcpy(m_blocks.back(), name.GetString(), length + 1);
            LOG_TEXT(m_blocks.back());
        }
        return S_OK;
    }
    ~CodecNameBlocks()
    {
        for (char*& block : m_blocks)
            SAFE_TASK_FREE(&block);
    }
    CodecNameBlocks(const CodecNameBlocks&) = delete;
    CodecNameBlocks& operator=(const CodecNameBlocks&) = delete;

    char** Names() { return m_blocks.data(); }
    uint32_t Count() const { return static_cast<uint32_t>(m_blocks.size()); }

private:
    std::vector<char*> m_blocks;
};

// A recursion that goes deeper than the graph has nodes has met a cycle in the links.
class ReadingDepth
{
public:
    explicit ReadingDepth(uint32_t& depth) : m_depth(depth) { ++m_depth; }
    ~ReadingDepth() { --m_depth; }
    ReadingDepth(const ReadingDepth&) = delete;
    ReadingDepth& operator=(const ReadingDepth&) = delete;

private:
    uint32_t& m_depth;
};

} // namespace

// ---- The reader of a path description ----------------------------------------------------------

HRESULT ObjectControlDataPath1::CreatePathFromFormatGraph(void* nodes, int32_t countNodes, int32_t startId,
                                                          HWND outputWindow, ObjectDataPath1* upstream, int32_t output,
                                                          bool useLinkPositions, uint8_t flag1, uint8_t flag2,
                                                          uint8_t flag3, uint8_t flag4, int32_t value1, int32_t value2,
                                                          uint8_t flag5, uint8_t flag6, void* passThrough1,
                                                          void* passThrough2, int32_t processorMode, void* codecList)
{
    if (!IsOnWorkerThread("ObjectControlDataPath1::CreatePathFromFormatGraph"))
        return E_UNEXPECTED;
    if (nodes == nullptr || upstream == nullptr)
        return E_INVALIDARG;
    if (countNodes < 1)
        return E_UNEXPECTED;
    try {
        const ReadingDepth depth(m_reading_depth);
        if (m_reading_depth > static_cast<uint32_t>(countNodes)) {
            LOG_TEXT("ObjectControlDataPath1::CreatePathFromFormatGraph::the links run in a cycle, refused");
            return E_FAIL;
        }
        const InfoNodeFormatGraph1* start = FindGraphNode(nodes, countNodes, startId);
        if (start == nullptr)
            return E_FAIL;
        const FormatGraphOptions options = {outputWindow, {flag1, flag2, flag3, flag4}, {value1, value2},
                                            {flag5, flag6},  passThrough1, passThrough2,    processorMode,
                                            codecList};
        int32_t links[InfoNodeFormatGraph1::kMaxLinks];
        std::memcpy(links, start->outputs, sizeof(links));
        const int32_t followed = start->outputCount;
        HRESULT result = S_OK;
        int32_t taken = 0;
        for (int32_t position = 0; position < static_cast<int32_t>(InfoNodeFormatGraph1::kMaxLinks); ++position) {
            if (links[position] == -1)
                continue;
            if (taken++ >= followed)
                break;
            const int32_t upstreamOutput = useLinkPositions ? position : output;
            const InfoNodeFormatGraph1* node = FindGraphNode(nodes, countNodes, links[position]);
            if (node == nullptr || node->enabled == 0)
                continue;
            if (node->kind == TypeNodeCaptureFormat)
                result = BuildCaptureFormatNode(*node, upstream, upstreamOutput, options);
            else if (node->kind == TypeNodeFilter)
                result = BuildFilterNode(nodes, countNodes, *node, upstream, upstreamOutput, options);
        }
        return result;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

// The node's format goes to the recipe as a copy, since the node's payload is not aligned; the
// recipe's normalisation is written back.
HRESULT ObjectControlDataPath1::BuildCaptureFormatNode(const InfoNodeFormatGraph1& node, ObjectDataPath1* upstream,
                                                       int32_t upstreamOutput, const FormatGraphOptions& options)
{
    auto format = std::make_unique<StructFormatGraph1>();
    node.ReadPayload(*format);
    format->objectName.ValidateString();
    InfoDriverForMixerDataPath1 settings;
    settings.name = format->objectName.GetString();
    settings.cameraId = format->cameraId;
    settings.spareFlag = 1;
    settings.firstStreamEnabled = 1;
    settings.secondStreamEnabled = 1;
    settings.networkSendEnabled = 1;
    settings.outputWindow = options.outputWindow;
    settings.outputOptionFlag = 1;
    settings.cameraSubId = 1;
    std::memcpy(settings.outputModes, options.outputModes, sizeof(settings.outputModes));
    settings.intSettings[1] = options.values[0];
    settings.intSettings[2] = options.values[1];
    settings.spareFlags[0] = options.flags[0];
    settings.spareFlags[1] = options.flags[1];
    settings.processorMode = options.processorMode;
    settings.detectorEnabled = 1;
    settings.codecList = options.codecList;
    settings.format = format.get();
    const HRESULT result =
        CreateCapturePathFromDriverInfo(upstream, upstreamOutput, &settings, options.clients, options.codecFormats);
    const_cast<InfoNodeFormatGraph1&>(node).WritePayload(*format);
    return result;
}

// A filter that cannot be loaded drops its branch; the walk goes on with the next link.
HRESULT ObjectControlDataPath1::BuildFilterNode(void* nodes, int32_t countNodes, const InfoNodeFormatGraph1& node,
                                                ObjectDataPath1* upstream, int32_t upstreamOutput,
                                                const FormatGraphOptions& options)
{
    auto description = std::make_unique<InfoFilterNodeFormatGraph1>();
    node.ReadPayload(*description);
    description->m_file_name.ValidateString();
    const DynamicString fileName(description->m_file_name.GetString());
    DynamicBoundsObject<int32_t> made;
    HRESULT result = CreateNamedFilters({fileName.GetString()}, made);
    if (FAILED(result)) {
        LOG_TEXT("end dump error filters");
        return result;
    }
    ObjectDataPath1* filter = CreatedFilter(made, 0);
    result = ConnectFilters(upstream, upstreamOutput, filter, 0);
    if (FAILED(result))
        return result;
    const uint8_t* modes = options.outputModes;
    return CreatePathFromFormatGraph(nodes, countNodes, node.id, options.outputWindow, filter, 0, true, modes[0],
                                     modes[1], modes[2], modes[3], options.values[0], options.values[1],
                                     options.flags[0], options.flags[1], options.clients, options.codecFormats,
                                     options.processorMode, options.codecList);
}

// ---- The recipe of one capture format ------------------------------------------------------------

HRESULT ObjectControlDataPath1::CreateCapturePathFromDriverInfo(ObjectDataPath1* upstream, int32_t upstreamOutput,
                                                                InfoDriverForMixerDataPath1* settings, void* clients,
                                                                void* codecFormats)
{
    if (!IsOnWorkerThread("ObjectControlDataPath1::CreateCapturePathFromDriverInfo"))
        return E_UNEXPECTED;
    if (upstream == nullptr || settings == nullptr)
        return E_INVALIDARG;
    try {
        if (GetIndexFilter(upstream) < 0)
            return E_FAIL;
        if (settings->format != nullptr)
            settings->format->Validate();
        DynamicBoundsObject<int32_t> made;
        if (FAILED(CreateRecipeFilters({"Camwell1.vdd", "RendaraGeneral.vdd", "Parvex.vdd", "Parvex.vdd", "Ostrel2.vdd",
                                        "Ostrel2.vdd", "Motiscan4.vdd", "Pellow1.vdd", "Tonalis1.vdd"},
                                       settings->processorMode, made)))
            return E_FAIL;
        const HRESULT result = BuildCapturePath(made, upstream, upstreamOutput, *settings,
                                                static_cast<const InfoNetworkClientsDataPath1*>(clients), codecFormats);
        DeleteDisabledCaptureParts(made, *settings);
        return result;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT ObjectControlDataPath1::BuildCapturePath(const DynamicBoundsObject<int32_t>& made, ObjectDataPath1* upstream,
                                                 int32_t upstreamOutput, const InfoDriverForMixerDataPath1& settings,
                                                 const InfoNetworkClientsDataPath1* clients, void* codecFormats)
{
    if (settings.codecList != nullptr)
        GiveCodecListsToBranches(made, settings);
    ObjectDataPath1* camera = CreatedFilter(made, kCamera);
    ObjectDataPath1* output = CreatedFilter(made, kOutput);
    if (camera == nullptr || FAILED(ConfigureCaptureOutput(output, settings, clients)))
        return E_FAIL;
    if (FAILED(ConfigureCameraIdentity(camera, settings)) ||
        FAILED(ConfigureCaptureCorrection(CreatedFilter(made, kCorrection), settings)))
        return E_FAIL;
    if (!AnswersInterface(camera, IID_IGrabberFrames))
        return E_FAIL;
    CallFilter(camera, IID_IGrabberFrames, 0, {BoolParam(true)});
    CallFilter(camera, IID_IGrabberFrames, 1, {BoolParam(settings.format == nullptr)});
    const uint8_t branches[2] = {settings.firstStreamEnabled, settings.secondStreamEnabled};
    for (int32_t branch = 0; branch < 2; ++branch) {
        if (branches[branch] == 0)
            continue;
        ObjectDataPath1* codec = CreatedFilter(made, kFirstCodec + branch);
        if (!AnswersInterface(codec, IID_IFilter_VideoCompress))
            return E_FAIL;
        CallFilter(codec, IID_IFilter_VideoCompress, 3, {IntParam(branch + 1)});
    }
    ConfigureCaptureWriter(CreatedFilter(made, kWriter), settings);
    if (settings.secondStreamEnabled != 0 && settings.networkSendEnabled != 0)
        for (int32_t sender = 0; sender < 2; ++sender)
            ConfigureCaptureSender(CreatedFilter(made, kFirstSender + sender), sender, settings, clients);
    ObjectDataPath1* detector = CreatedFilter(made, kDetector);
    if (AnswersInterface(detector, IID_IControlVideoDetector))
        CallFilter(detector, IID_IControlVideoDetector, 6,
                   {BufferParam(settings.format), UIntParam(static_cast<uint32_t>(sizeof(StructFormatGraph1)))});
    return LinkCapturePath(made, upstream, upstreamOutput, settings, codecFormats);
}

// Each branch's codec gets the list; a codec named for the branch is chosen by its name.
void ObjectControlDataPath1::GiveCodecListsToBranches(const DynamicBoundsObject<int32_t>& made,
                                                      const InfoDriverForMixerDataPath1& settings)
{
    const auto& list = *static_cast<const InfoCodecListDataPath1*>(settings.codecList);
    if (list.m_count < 0 || list.m_count > static_cast<int32_t>(InfoCodecListDataPath1::kMaxCodecs)) {
        LOG_TEXT("ObjectControlDataPath1::CreateCapturePathFromDriverInfo::codec list count out of range, not given");
        return;
    }
    for (uint32_t branch = 0; branch < 2; ++branch) {
        ObjectDataPath1* codec = CreatedFilter(made, kFirstCodec + branch);
        if (!AnswersInterface(codec, IID_IFilter_GeneralCompress))
            continue;
        GiveCodecList(codec, list);
        if (settings.format == nullptr)
            continue;
        const TextFormatGraph1& wide =
            branch == 0 ? settings.format->m_capture.m_codec_name : settings.format->m_capture.m_codec_name2;
        StaticString<TextFormatGraph1::GetMaxSizeBuffer()> name(wide.GetString());
        if (name.GetLenString() != 0)
            CallFilter(codec, IID_IFilter_GeneralCompress, 1, {TextParam(name.GetString())});
    }
}

// Method 0 of the codec: the names, the entries and the count.
HRESULT ObjectControlDataPath1::GiveCodecList(ObjectDataPath1* codec, const InfoCodecListDataPath1& list)
{
    CodecNameBlocks names;
    const HRESULT copied = names.Copy(list);
    if (FAILED(copied))
        return copied;
    return CallFilter(codec, IID_IFilter_GeneralCompress, 0,
                      {BufferParam(names.Names()), BufferParam(list.m_entries), UIntParam(names.Count())});
}

HRESULT ObjectControlDataPath1::ConfigureCaptureOutput(ObjectDataPath1* output,
                                                       const InfoDriverForMixerDataPath1& settings,
                                                       const InfoNetworkClientsDataPath1* clients)
{
    if (!AnswersInterface(output, IID_IVideoOutputRender1))
        return E_FAIL;
    const GUID& render = IID_IVideoOutputRender1;
    const uint8_t* modes = settings.outputModes;
    CallFilter(output, render, 28, {BufferParam(settings.format), BoolParam(false)});
    CallFilter(output, render, 24, {BoolParam(modes[3] != 0)});
    CallFilter(output, render, 23, {BufferParam(this)});
    CallFilter(output, render, 17, {IntParam(settings.cameraId), IntParam(0)});
    CallFilter(output, render, 11, {UIntParam(3), TextParam(settings.name.GetString())});
    CallFilter(output, render, 5, {RectParam(100, 100, 500, 500)});
    CallFilter(output, render, 16, {BoolParam(settings.outputStateFlag != 0)});
    if (SUCCEEDED(CheckIsWindow(settings.outputWindow))) {
        CallFilter(output, render, 7, {WindowParam(settings.outputWindow)});
        CallFilter(output, render, 9, {IntParam(kOutputScaleBits)});
        CallFilter(output, render, 14, {WindowParam(settings.outputWindow)});
    }
    CallFilter(output, render, 3, {BoolParam(settings.outputOptionFlag != 0)});
    // Items 0 to 2 on, 3 and 4 and 2 once more as the modes say; the last call ends the setting.
    const struct
    {
        uint32_t item;
        bool value;
        bool last;
    } items[] = {{0, true, false},          {1, true, false},          {2, true, false},
                 {3, modes[0] != 0, false}, {4, modes[1] != 0, false}, {2, modes[2] != 0, true}};
    for (const auto& entry : items)
        CallFilter(output, render, 15, {UIntParam(entry.item), BoolParam(entry.value), BoolParam(entry.last)});
    if (clients != nullptr) {
        CallFilter(output, render, 27, {IntParam(3), IntParam(clients->m_output_values[0])});
        CallFilter(output, render, 27, {IntParam(4), IntParam(clients->m_output_values[1])});
    }
    if (settings.format != nullptr)
        CallFilter(output, render, 4, {BufferParam(settings.format->schedule), UIntParam(kScheduleBytes)});
    CallFilter(output, render, 29, {BufferParam(&m_user)});
    return S_OK;
}

HRESULT ObjectControlDataPath1::ConfigureCaptureCorrection(ObjectDataPath1* correction,
                                                           const InfoDriverForMixerDataPath1& settings)
{
    if (!AnswersInterface(correction, IID_IControlCorrectVideoData))
        return E_FAIL;
    const GUID& correct = IID_IControlCorrectVideoData;
    CallFilter(correction, correct, 0, {BoolParam(true)});
    if (settings.format == nullptr)
        return S_OK;
    CallFilter(correction, correct, 5, {BoolParam(false)});
    CallFilter(correction, correct, 7, {BoolParam(false)});
    CallFilter(correction, correct, 9, {BufferParam(this)});
    CallFilter(correction, correct, 10, {IntParam(settings.cameraId), IntParam(settings.cameraSubId)});
    CallFilter(correction, correct, 11, {BufferParam(settings.format)});
    return S_OK;
}

void ObjectControlDataPath1::ConfigureCaptureWriter(ObjectDataPath1* writer, const InfoDriverForMixerDataPath1& settings)
{
    if (settings.firstStreamEnabled == 0 || !AnswersInterface(writer, IID_IWriteInFileForWriteServer2))
        return;
    const GUID& write = IID_IWriteInFileForWriteServer2;
    CallFilter(writer, write, 2, {IntParam(m_client_handles.GetElement(0))});
    CallFilter(writer, write, 0, {IntParam(settings.cameraId), IntParam(settings.cameraSubId)});
    CallFilter(writer, write, 1, {TextParam(settings.name.GetString())});
}

// Senders 0 and 1 send on channels 3 and 4 for the first sub id, 5 and 6 otherwise, to every
// client whose list names the camera.
void ObjectControlDataPath1::ConfigureCaptureSender(ObjectDataPath1* sender, int32_t place,
                                                    const InfoDriverForMixerDataPath1& settings,
                                                    const InfoNetworkClientsDataPath1* clients)
{
    if (!AnswersInterface(sender, IID_IControlNetworkSend1))
        return;
    const GUID& send = IID_IControlNetworkSend1;
    const int32_t channel = (settings.cameraSubId == 1 ? 3 : 5) + place;
    CallFilter(sender, send, 2, {IntParam(settings.cameraId), IntParam(channel)});
    CallFilter(sender, send, 7, {IntParam(m_client_handles.GetElement(1))});
    if (clients == nullptr)
        return;
    const int32_t lists = clients->m_count_lists;
    for (int32_t k = 0; k < lists && k < static_cast<int32_t>(InfoNetworkClientsDataPath1::kMaxLists); ++k) {
        const InfoNetworkClientListDataPath1& list = clients->m_lists[k];
        if (ListsCamera(list, settings.cameraId))
            CallFilter(sender, send, 4, {IntParam(static_cast<int32_t>(ToNetworkOrder(list.m_address))), IntParam(0)});
    }
}

// The links up to the camera decide the build; the view link gives its result.
HRESULT ObjectControlDataPath1::LinkCapturePath(const DynamicBoundsObject<int32_t>& made, ObjectDataPath1* upstream,
                                                int32_t upstreamOutput, const InfoDriverForMixerDataPath1& settings,
                                                void* codecFormats)
{
    ObjectDataPath1* camera = CreatedFilter(made, kCamera);
    ObjectDataPath1* correction = CreatedFilter(made, kCorrection);
    ObjectDataPath1* detector = CreatedFilter(made, kDetector);
    HRESULT result = ConnectFilters(upstream, upstreamOutput, correction, 0);
    if (FAILED(result))
        return result;
    if (settings.detectorEnabled != 0) {
        result = ConnectFilters(correction, 0, detector, 0);
        if (SUCCEEDED(result))
            result = ConnectFilters(detector, 0, camera, 0);
    }
    else {
        result = ConnectFilters(correction, 0, camera, 0);
    }
    if (FAILED(result))
        return result;
    if (settings.firstStreamEnabled != 0) {
        ConnectFilters(camera, kCameraFirstOutput, CreatedFilter(made, kFirstCodec), 0);
        ConnectFilters(CreatedFilter(made, kFirstCodec), 0, CreatedFilter(made, kFirstSender), 0);
        ConnectFilters(CreatedFilter(made, kFirstSender), 0, CreatedFilter(made, kWriter), 0);
    }
    if (settings.secondStreamEnabled != 0) {
        ConnectFilters(camera, kCameraSecondOutput, CreatedFilter(made, kSecondCodec), 0);
        ConnectFilters(CreatedFilter(made, kSecondCodec), 0, CreatedFilter(made, kSecondSender), 0);
    }
    result = ConnectFilters(camera, kCameraViewOutput, CreatedFilter(made, kOutput), 0);
    if (settings.format != nullptr) {
        CallSetRateDataForIDCamera(settings.cameraId, settings.format);
        CallSetVideoCompressForIDCamera(settings.cameraId, settings.format, codecFormats != nullptr);
    }
    return result;
}

void ObjectControlDataPath1::DeleteDisabledCaptureParts(const DynamicBoundsObject<int32_t>& made,
                                                        const InfoDriverForMixerDataPath1& settings)
{
    std::vector<uint32_t> places;
    if (settings.firstStreamEnabled == 0)
        places.insert(places.end(), {kFirstCodec, kWriter});
    if (settings.secondStreamEnabled == 0)
        places.insert(places.end(), {kSecondCodec, kSecondSender});
    if (settings.networkSendEnabled == 0)
        places.push_back(kFirstSender);
    if (settings.detectorEnabled == 0)
        places.push_back(kDetector);
    for (uint32_t place : places)
        if (ObjectDataPath1* filter = CreatedFilter(made, place))
            DeleteFilter(filter);
}
