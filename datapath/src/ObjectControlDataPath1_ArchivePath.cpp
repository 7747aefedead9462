// The capture path from a source's format record, the local video camera that plays recorded
// video through a codec, and the reader-to-network paths kept in line with an archive list.
// Runs on the worker thread.
#include "ObjectControlDataPath1.h"

#include "CapturePathRecordsDataPath1.h"
#include "InfoDriverForMixerDataPath1.h"
#include "ObjectDataPath1.h"
#include "PathRecipeCalls.h"
#include "need_interface.h"

#include "CatchAllLog.h"

namespace {

constexpr uint32_t kReaderPlace = 0;
constexpr uint32_t kSecondPlace = 1;

// The sender's stream kind for a stream's second id.
int32_t StreamKind(int32_t secondId)
{
    return secondId == 1 ? 7 : (secondId == 2 ? 8 : 0);
}

bool ListHoldsStream(const InfoArchiveListDataPath1& list, int32_t firstId, int32_t secondId)
{
    for (int32_t k = 0; k < list.m_count; ++k)
        if (list.m_first_ids[k] == firstId && list.m_second_ids[k] == secondId)
            return true;
    return false;
}

} // namespace

HRESULT ObjectControlDataPath1::CreateCapturePathFromFormat1Real(void* p, int32_t count, HWND w3,
                                                                 InfoNeedInterface* format, uint8_t b1, uint8_t b2,
                                                                 uint8_t b3, uint8_t b4, int32_t w6, int32_t w7,
                                                                 uint8_t b5, uint8_t b6, void* w5, int32_t zero,
                                                                 int32_t processorMode, void* w9)
{
    if (!IsOnWorkerThread("ObjectControlDataPath1::CreateCapturePathFromFormat1Real"))
        return E_UNEXPECTED;
    if (p == nullptr || format == nullptr)
        return E_INVALIDARG;
    if (count < 1)
        return E_UNEXPECTED;
    DynamicBoundsObject<int32_t> made;
    try {
        if (FAILED(CreateRecipeFilters({"Intavo1.vdd"}, processorMode, made)))
            return E_FAIL;
        ObjectDataPath1* source = CreatedFilter(made, 0);
        HRESULT result = source->QueryInterfaceFunction(IID_IControlDriverDirectShow);
        if (result != S_OK)
            return result;
        result = CallFilter(source, IID_IControlDriverDirectShow, 0, {BufferParam(format)});
        if (FAILED(result)) {
            DynamicString text("ObjectControlDataPath1::CreateCapturePathFromFormat1Real::source refused ");
            text += format->m_name_device.GetString();
            LOG_TEXT(text.GetString());
        }
        else {
            result = CreatePathFromFormatGraph(p, count, format->m_id_camera, w3, source, zero, true, b1, b2, b3, b4,
                                               w6, w7, b5, b6, w5, nullptr, processorMode, w9);
        }
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

// Filters made before a failure stay in the table.
HRESULT ObjectControlDataPath1::CreateLocalVideoCameraReal(InfoDriverForMixerDataPath1* settings, LPARAM l)
{
    if (!IsOnWorkerThread("ObjectControlDataPath1::CreateLocalVideoCameraReal"))
        return E_UNEXPECTED;
    HRESULT result = E_FAIL;
    try {
        LOG_TEXT("ObjectControlDataPath1::CreateLocalVideoCameraReal::begin");
        result = CreateLocalVideoCameraPath(settings, reinterpret_cast<void*>(l));
    }
    catch (...) {
        LogExceptionAt(__FILE__, __LINE__);
        result = E_FAIL;
    }
    LOG_TEXT("ObjectControlDataPath1::CreateLocalVideoCameraReal::end");
    return result;
}

HRESULT ObjectControlDataPath1::CreateLocalVideoCameraPath(InfoDriverForMixerDataPath1* settings, void* clients)
{
    if (settings == nullptr)
        return E_INVALIDARG;
    DynamicBoundsObject<int32_t> made;
    if (FAILED(CreateRecipeFilters({"Marrisk1.vdd", "Parvex.vdd"}, settings->processorMode, made)))
        return E_FAIL;
    ObjectDataPath1* reader = CreatedFilter(made, kReaderPlace);
    ObjectDataPath1* codec = CreatedFilter(made, kSecondPlace);
    const auto* codecs = static_cast<const InfoCodecListDataPath1*>(settings->codecList);
    if (codecs != nullptr && AnswersInterface(codec, IID_IFilter_GeneralCompress)) {
        if (codecs->m_count < 1 || codecs->m_count > static_cast<int32_t>(InfoCodecListDataPath1::kMaxCodecs))
            return E_UNEXPECTED;
        GiveCodecList(codec, *codecs);
    }
    HRESULT result = reader->QueryInterfaceFunction(IID_IReadFromFileForWriteServer2);
    if (result != S_OK)
        return result;
    const GUID& read = IID_IReadFromFileForWriteServer2;
    CallFilter(reader, read, 12, {IntParam(m_client_handles.GetElement(0))});
    CallFilter(reader, read, 0, {IntParam(settings->cameraId), IntParam(1)});
    CallFilter(reader, read, 4, {TimeParam(settings->createdAt)});
    CallFilter(reader, read, 7, {IntParam(settings->intSettings[0])});
    CallFilter(reader, read, 9, {FloatParam(settings->floatSetting)});
    result = ConnectFilters(reader, 0, codec, 0);
    if (FAILED(result))
        return result;
    return CreateCapturePathFromDriverInfo(codec, 0, settings, clients, nullptr);
}

HRESULT ObjectControlDataPath1::CreateReaderToNetworkPath(int32_t firstId, int32_t secondId, SYSTEMTIME time,
                                                          int32_t setting, float floatSetting)
{
    if (!IsOnWorkerThread("ObjectControlDataPath1::CreateReaderToNetworkPath"))
        return E_UNEXPECTED;
    DynamicBoundsObject<int32_t> made;
    try {
        if (FAILED(CreateNamedFilters({"Marrisk1.vdd", "Ostrel2.vdd"}, made)))
            return E_FAIL;
        ObjectDataPath1* reader = CreatedFilter(made, kReaderPlace);
        ObjectDataPath1* sender = CreatedFilter(made, kSecondPlace);
        HRESULT result = E_FAIL;
        if (AnswersInterface(reader, IID_IReadFromFileForWriteServer2)) {
            const GUID& read = IID_IReadFromFileForWriteServer2;
            CallFilter(reader, read, 12, {IntParam(m_client_handles.GetElement(0))});
            CallFilter(reader, read, 0, {IntParam(firstId), IntParam(secondId)});
            CallFilter(reader, read, 4, {TimeParam(time)});
            CallFilter(reader, read, 7, {IntParam(setting)});
            CallFilter(reader, read, 9, {FloatParam(floatSetting)});
            if (AnswersInterface(sender, IID_IControlNetworkSend1)) {
                const GUID& send = IID_IControlNetworkSend1;
                CallFilter(sender, send, 2, {IntParam(firstId), IntParam(StreamKind(secondId))});
                CallFilter(sender, send, 7, {IntParam(m_client_handles.GetElement(1))});
                CallFilter(sender, send, 8, {IntParam(m_network_connect_handle), BoolParam(false)});
            }
            result = ConnectFilters(reader, 0, sender, 0);
        }
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

HRESULT ObjectControlDataPath1::RefreshPathForNetworkArhiveReal(void* archiveList)
{
    if (!IsOnWorkerThread("ObjectControlDataPath1::RefreshPathForNetworkArhiveReal"))
        return E_UNEXPECTED;
    const auto* list = static_cast<const InfoArchiveListDataPath1*>(archiveList);
    if (list == nullptr)
        return E_INVALIDARG;
    // A count the record cannot hold would read past its tables.
    if (list->m_count < 0 || list->m_count > static_cast<int32_t>(InfoArchiveListDataPath1::kMaxStreams))
        return E_UNEXPECTED;
    try {
        HRESULT result = S_OK;
        if (list->m_flags & InfoArchiveListDataPath1::kRebuildPaths)
            result = RebuildReaderToNetworkPaths(*list);
        ListParamsDataPath1 params;
        params.SetNumberParams(1);
        if (list->m_flags & InfoArchiveListDataPath1::kSendByteSetting) {
            params.m_params.GetElement(0).SetInt(list->m_byte_setting);
            result = CallInterfaceFunctionForAllObjects(IID_IReadFromFileForWriteServer2, 7, &params);
        }
        if (list->m_flags & InfoArchiveListDataPath1::kSendTime) {
            params.m_params.GetElement(0).SetSystemTime(list->m_time);
            result = CallInterfaceFunctionForAllObjects(IID_IReadFromFileForWriteServer2, 4, &params);
        }
        if (list->m_flags & InfoArchiveListDataPath1::kSendFloatSetting) {
            params.m_params.GetElement(0).SetFloat(list->m_float_setting);
            result = CallInterfaceFunctionForAllObjects(IID_IReadFromFileForWriteServer2, 9, &params);
        }
        return result;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

// Readers of streams no longer listed go with everything behind them; listed streams that no
// reader plays get a new path.
HRESULT ObjectControlDataPath1::RebuildReaderToNetworkPaths(const InfoArchiveListDataPath1& list)
{
    m_reader_first_ids.Fill(0);
    m_reader_second_ids.Fill(0);
    MemoryBlockClass<ObjectDataPath1*> readers;
    HRESULT result = GetAllFiltersWithInterfaceReal(IID_IReadFromFileForWriteServer2, &readers);
    if (FAILED(result))
        return result;
    const uint32_t count = readers.GetSize() < kMaxFilters ? readers.GetSize() : kMaxFilters;
    for (uint32_t k = 0; k < count; ++k) {
        int32_t& first = m_reader_first_ids.GetElement(k);
        int32_t& second = m_reader_second_ids.GetElement(k);
        ObjectDataPath1* reader = *readers.GetPointerFromOffset(k);
        const bool reported =
            reader != nullptr && reader->QueryInterfaceFunction(IID_IReadFromFileForWriteServer2) >= 0 &&
            SUCCEEDED(CallFilter(reader, IID_IReadFromFileForWriteServer2, 13,
                                 {IntPointerParam(&first), IntPointerParam(&second)}));
        if (!reported) {
            first = -1;
            second = -1;
        }
        if (reader != nullptr && !ListHoldsStream(list, first, second)) {
            result = DeleteAllFiltersFromThisReal(reader);
            *readers.GetPointerFromOffset(k) = nullptr;
        }
    }
    for (int32_t stream = 0; stream < list.m_count; ++stream) {
        bool played = false;
        for (uint32_t k = 0; k < count && !played; ++k)
            played = *readers.GetPointerFromOffset(k) != nullptr &&
                     m_reader_first_ids.GetElement(k) == list.m_first_ids[stream] &&
                     m_reader_second_ids.GetElement(k) == list.m_second_ids[stream];
        if (!played)
            result = CreateReaderToNetworkPath(list.m_first_ids[stream], list.m_second_ids[stream], list.m_time,
                                               list.m_byte_setting, list.m_float_setting);
    }
    return result;
}
