#include "MixerTestSupport.h"

#include "MessageForObjectsDataPath1.h"
#include "StructForInterfaceDataPath1Table.h"

#include <gtest/gtest.h>

#include <cinttypes>
#include <cstdio>

// ---- The mixer --------------------------------------------------------------------------------

MixerFilter::MixerFilter() : m_proxy(GetModuleHandleA(nullptr), nullptr)
{
    FillStructForInterfaceDataPath1();
    m_proxy.LoadFilter("Blendora1.vdd");
}

MixerFilter::~MixerFilter()
{
    DeleteEvents(m_events);
}

InfoFilterStateBlendora1& MixerFilter::State()
{
    return *static_cast<InfoFilterStateBlendora1*>(m_proxy.GetInstanceRecord().m_state);
}

HRESULT MixerFilter::Call(const GUID& iid, int32_t method, ListParamsDataPath1& params)
{
    return m_proxy.CallInterfaceFunction(iid, method, &params);
}

HRESULT MixerFilter::EnableInput(int32_t input, bool enabled)
{
    ListParamsDataPath1 params;
    params.SetNumberParams(2);
    params.m_params.GetElement(0).SetInt(input);
    params.m_params.GetElement(1).SetBool(enabled);
    return Call(IID_MixerDataTundrel, 0, params);
}

HRESULT MixerFilter::SetLevel(int32_t which, float value)
{
    ListParamsDataPath1 params;
    params.SetNumberParams(2);
    params.m_params.GetElement(0).SetInt(which);
    params.m_params.GetElement(1).SetFloat(value);
    return Call(IID_MixerDataTundrel, 1, params);
}

HRESULT MixerFilter::SetOption(int32_t option, int32_t value)
{
    ListParamsDataPath1 params;
    params.SetNumberParams(2);
    params.m_params.GetElement(0).SetInt(option);
    params.m_params.GetElement(1).SetInt(value);
    return Call(IID_MixerDataTundrel, 2, params);
}

HRESULT MixerFilter::LoadRecord(int32_t kind, InfoBackgroundEffectForMixerFilter* record, int32_t size)
{
    ListParamsDataPath1 params;
    params.SetNumberParams(3);
    params.m_params.GetElement(0).SetInt(kind);
    params.m_params.GetElement(1).SetPointer(record, 0, false);
    params.m_params.GetElement(2).SetInt(size);
    return Call(IID_MixerDataTundrel, 3, params);
}

HRESULT MixerFilter::SetMode(uint32_t mode)
{
    ListParamsDataPath1 params;
    params.SetNumberParams(1);
    params.m_params.GetElement(0).SetInt(static_cast<int32_t>(mode));
    return Call(IID_IControlOptimProcessor, 1, params);
}

HRESULT MixerFilter::GetMode(int32_t* mode)
{
    ListParamsDataPath1 params;
    params.SetNumberParams(1);
    params.m_params.GetElement(0).SetPointer(nullptr, 0, false);
    const HRESULT result = Call(IID_IControlOptimProcessor, 2, params);
    *mode = params.m_params.GetElement(0).GetInt();
    return result;
}

HRESULT MixerFilter::Transform(InfoDataBufferPath1& frame, int32_t input)
{
    DeleteEvents(m_events);
    return TransformWithEvents(frame, input, m_events);
}

HRESULT MixerFilter::TransformWithEvents(InfoDataBufferPath1& frame, int32_t input, ListEventsDataPath1& events)
{
    return m_proxy.TransformFilter(&frame, sizeof(InfoDataBufferPath1), nullptr, 0, &events, input);
}

std::vector<int> MixerFilter::DriverStates() const
{
    std::vector<int> states;
    for (uint32_t i = 0; i < m_events.GetCount(); ++i) {
        const InfoEventDataFrame1* event = m_events.GetElement(i).m_event;
        if (event != nullptr && event->m_type == ted1ChangeStateExternalVideoDriverPlexemo)
            states.push_back(
                static_cast<const InfoEventDataFrame_ted1ChangeStateExternalVideoDriverPlexemo*>(event)->m_state);
    }
    return states;
}

void DeleteEvents(ListEventsDataPath1& events)
{
    for (uint32_t i = 0; i < events.GetCount(); ++i)
        delete events.GetElement(i).m_event;
    events.SetSize(0);
}

// ---- Frames -----------------------------------------------------------------------------------

namespace {

SWORD* Samples(InfoDataBufferPath1& plane)
{
    return reinterpret_cast<SWORD*>(plane.m_data + plane.m_offset_data);
}

// Each level and plane its own pattern, so that a wrong level or plane shows.
void PaintPlane(InfoDataBufferPath1& plane, int seed)
{
    const int width = plane.m_info.m_bih.biWidth;
    for (int y = 0; y < plane.m_info.m_bih.biHeight; ++y) {
        SWORD* row = reinterpret_cast<SWORD*>(reinterpret_cast<BYTE*>(Samples(plane)) + y * plane.m_stride);
        for (int x = 0; x < width; ++x)
            row[x] = static_cast<SWORD>((x * 7 + y * 3 + seed * 11) % 300 - 20);
    }
}

BYTE Saturate(SWORD value)
{
    return static_cast<BYTE>(value < 0 ? 0 : value > 255 ? 255 : value);
}

} // namespace

void MakePatternFrame(InfoDataBufferPath1& frame, int width, int height, TestFrameFormat format)
{
    ASSERT_EQ(MakeTestFrame(frame, format, width, height, UniformLuma(100)), S_OK);
    for (int slot = 0; slot < 2 * FrameChildSlot::kLevels; ++slot)
        if (InfoDataBufferPath1* plane = GetFrameChildPlane(frame, slot))
            PaintPlane(*plane, slot);
}

uint64_t ExpectedDriverDigest(InfoDataBufferPath1& frame, int level)
{
    InfoDataBufferPath1& luma = *GetFrameChildPlane(frame, FrameChildSlot::Luma(level));
    InfoDataBufferPath1* chroma = GetFrameChildPlane(frame, FrameChildSlot::Chroma(level));
    const int width = luma.m_info.m_bih.biWidth;
    const int height = luma.m_info.m_bih.biHeight;
    std::vector<BYTE> rows(static_cast<size_t>(2 * width * height));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const size_t at = static_cast<size_t>(y * 2 * width + 2 * x);
            rows[at] = Saturate(Samples(luma)[y * luma.m_stride / 2 + x]);
            rows[at + 1] = chroma != nullptr ? Saturate(Samples(*chroma)[y * chroma->m_stride / 2 + x]) : 128;
        }
    return DigestYuy2Rows(rows.data(), width, height, 2 * width);
}

// ---- The reader process -----------------------------------------------------------------------

namespace {

std::string ProgramFolder()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder = path;
    return folder.substr(0, folder.find_last_of('\\') + 1);
}

} // namespace

VirtualCameraReader::VirtualCameraReader()
{
    SECURITY_ATTRIBUTES inherit = {sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    HANDLE childInput = nullptr;
    HANDLE childOutput = nullptr;
    if (!CreatePipe(&childInput, &m_input, &inherit, 0))
        return;
    if (!CreatePipe(&m_output, &childOutput, &inherit, 0)) {
        CloseHandle(childInput);
        return;
    }
    SetHandleInformation(m_input, HANDLE_FLAG_INHERIT, 0);
    SetHandleInformation(m_output, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = childInput;
    startup.hStdOutput = childOutput;
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    const std::string program = ProgramFolder() + "virtual_camera_reader.exe";
    std::string commandLine = "\"" + program + "\" " + std::to_string(GetCurrentProcessId());
    PROCESS_INFORMATION process = {};
    if (CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                       &process)) {
        CloseHandle(process.hThread);
        m_process = process.hProcess;
    }
    CloseHandle(childInput);
    CloseHandle(childOutput);
}

VirtualCameraReader::~VirtualCameraReader()
{
    if (m_process != nullptr) {
        Command("exit");
        WaitForExit();
    }
    for (HANDLE handle : {m_input, m_output})
        if (handle != nullptr)
            CloseHandle(handle);
}

std::string VirtualCameraReader::Command(const std::string& line)
{
    const std::string text = line + "\n";
    DWORD written = 0;
    if (m_process == nullptr || !WriteFile(m_input, text.data(), static_cast<DWORD>(text.size()), &written, nullptr))
        return "error no reader";
    if (line == "exit")
        return "ok";
    std::string answer;
    char c = 0;
    DWORD read = 0;
    while (ReadFile(m_output, &c, 1, &read, nullptr) && read == 1 && c != '\n')
        answer += c;
    return answer;
}

VirtualCameraFrameReport VirtualCameraReader::Read(bool take)
{
    VirtualCameraFrameReport report;
    report.flag = -1;
    const std::string answer = Command(take ? "read" : "peek");
    if (std::sscanf(answer.c_str(), "ok %d %d %d %d %" SCNx64, &report.flag, &report.width, &report.height,
                    &report.stride, &report.digest) != 5)
        report.flag = -1;
    return report;
}

bool VirtualCameraReader::WaitForExit()
{
    if (m_process == nullptr)
        return true;
    const bool ended = WaitForSingleObject(m_process, 30000) == WAIT_OBJECT_0;
    CloseHandle(m_process);
    m_process = nullptr;
    return ended;
}
