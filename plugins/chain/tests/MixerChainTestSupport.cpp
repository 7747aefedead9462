#include "MixerChainTestSupport.h"

#include "GraphObjectTestSupport.h"
#include "TestAviWriter.h"

#include "MessageForObjectsDataPath1.h"

#include <cstdio>

ParamSetter Int(int32_t value)
{
    return [value](InfoParamDataPath1& param) { param.SetInt(value); };
}

ParamSetter Bool(bool value)
{
    return [value](InfoParamDataPath1& param) { param.SetBool(value); };
}

ParamSetter Float(float value)
{
    return [value](InfoParamDataPath1& param) { param.SetFloat(value); };
}

ParamSetter Rect(int32_t left, int32_t top, int32_t right, int32_t bottom)
{
    return [=](InfoParamDataPath1& param) { param.SetRect(RECT{left, top, right, bottom}); };
}

ParamSetter Pointer(void* pointer)
{
    return [pointer](InfoParamDataPath1& param) { param.SetPointer(pointer, 0, false); };
}

ParamSetter Window(HWND window)
{
    return [window](InfoParamDataPath1& param) { param.SetWindow(window); };
}

namespace {

constexpr int kSourceFrames = 8;

} // namespace

void MixerChainTest::BuildPath()
{
    m_window = std::make_unique<TestClientWindow>();
    m_controller = std::make_unique<TestControlDataPath1>(ProgramFolderPath());
    m_controller->m_route_hook = [this](ObjectDataPath1* filter, InfoDataBufferPath1*, ObjectAllocatorBufferDataPath1*,
                                        ListEventsDataPath1*) {
        std::lock_guard<std::mutex> lock(m_routed_lock);
        ++m_routed[filter];
    };
    // The recipe goes on past the output's answer to its null record.
    ASSERT_EQ(S_OK, m_controller->CreateMixerDataPathForTundrel(m_window->Handle(), 0, 4));
    ASSERT_EQ(S_OK, m_controller->SetExternWindow(m_window->Handle()));
    m_reader = std::make_unique<VirtualCameraReader>();
    ASSERT_TRUE(m_reader->IsRunning());
    ASSERT_EQ(m_reader->Command("open 0"), "ok");
    ASSERT_EQ(m_reader->Command("largest 1920 1080"), "ok");
    // The outside driver's kind, as the application sets it.
    ASSERT_EQ(S_OK, Call(kMixer, IID_MixerDataTundrel, 2, {Int(1), Int(kPlexamoDriverStandard)}));
}

void MixerChainTest::TearDownPath()
{
    if (m_controller) {
        m_controller->Stop();
        m_controller->DeleteAllGraph();
    }
    m_controller.reset();
    m_reader.reset();
    m_window.reset();
}

HRESULT MixerChainTest::Call(int32_t index, const GUID& iid, int32_t method, const std::vector<ParamSetter>& setters)
{
    ListParamsDataPath1 params;
    params.SetNumberParams(static_cast<uint32_t>(setters.size()));
    for (uint32_t k = 0; k < setters.size(); ++k)
        setters[k](params.m_params.GetElement(k));
    return m_controller->CallInterfaceFunctionForIDObject(index, 0, iid, method, &params);
}

void MixerChainTest::AddSource(int32_t slot, int32_t order, int width, int height, bool mirrored)
{
    std::vector<std::vector<uint8_t>> pictures;
    for (int frame = 0; frame < kSourceFrames; ++frame)
        pictures.push_back(MakeChainPicture(width, height, frame, mirrored));
    const std::string path = m_files / ("source" + std::to_string(slot) + ".avi");
    const TestAviFormat format = {TestFourcc('Y', 'U', 'Y', '2'), 16, width, height};
    ASSERT_TRUE(WriteTestAvi(std::wstring(path.begin(), path.end()), format, 25, pictures));
    InfoNeedInterface source = MakeFileSource(path);
    source.m_id_camera = 10 + slot;
    ASSERT_EQ(S_OK, m_controller->AddDriverToMixerDataPathForTundrel(&source, 0, slot, 4));
    const SourceFilters filters = FiltersOfSource(order);
    ASSERT_EQ(m_controller->FilterAt(filters.source), m_controller->MixerInput(static_cast<uint32_t>(slot)));
    ASSERT_GE(Call(filters.source, IID_IControlDriverDirectShow, 3, {Float(100.0f)}), 0);
    // Corrections off: the correction filter only splits the frame into planes and copies.
    ASSERT_EQ(S_OK, Call(filters.correction, IID_IControlCorrectVideoData, 0, {Bool(false)}));
    ASSERT_EQ(S_OK, Call(kMixer, IID_MixerDataTundrel, 0, {Int(slot), Bool(true)}));
    ASSERT_GE(m_controller->Run(), 0);
}

bool MixerChainTest::WaitForReaderFrame(int width, int height, VirtualCameraFrameReport* report)
{
    VirtualCameraFrameReport last;
    const bool came = WaitUntil(
        [&] {
            last = m_reader->Read(false);
            if (last.flag == 1 && last.width == width && last.height == height)
                return true;
            // A frame of another size is taken, so that the mixer writes the next one.
            if (last.flag == 1)
                m_reader->Read(true);
            return false;
        },
        30000);
    if (report != nullptr)
        *report = last;
    return came;
}

Yuv MixerChainTest::ReaderPixel(int x, int y)
{
    Yuv pixel = {-1, -1, -1};
    const std::string answer = m_reader->Command("pixel " + std::to_string(x) + " " + std::to_string(y));
    std::sscanf(answer.c_str(), "ok %d %d %d", &pixel.y, &pixel.u, &pixel.v);
    return pixel;
}

bool MixerChainTest::WaitForFrameAt(int32_t index, int count)
{
    ObjectDataPath1* filter = m_controller->FilterAt(index);
    return WaitUntil([&] { return RoutedFrames(filter) >= count; }, 30000);
}

int MixerChainTest::RoutedFrames(ObjectDataPath1* filter)
{
    std::lock_guard<std::mutex> lock(m_routed_lock);
    const auto found = m_routed.find(filter);
    return found == m_routed.end() ? 0 : found->second;
}

void MixerChainTest::ForgetRoutedFrames()
{
    std::lock_guard<std::mutex> lock(m_routed_lock);
    m_routed.clear();
}

bool MixerChainTest::CollectClientEvents(const std::function<void(const InfoEventDataFrame1&)>& look,
                                         const std::function<bool()>& done, DWORD timeoutMs)
{
    const ULONGLONG end = GetTickCount64() + timeoutMs;
    MSG message;
    while (!done() && GetTickCount64() < end) {
        if (!m_window->WaitForEither(ObjectControlDataPath1::GetEventMessageId(0),
                                     ObjectControlDataPath1::GetEventMessageId(1), &message, 20))
            continue;
        ListEventsDataPath1 fetched;
        m_controller->GetSincEvents(&fetched);
        m_controller->GetAsincEvents(&fetched);
        for (uint32_t k = 0; k < fetched.GetCount(); ++k) {
            if (fetched.GetElement(k).m_event != nullptr)
                look(*fetched.GetElement(k).m_event);
            delete fetched.GetElement(k).m_event;
        }
    }
    return done();
}
