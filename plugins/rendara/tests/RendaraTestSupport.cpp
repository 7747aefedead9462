#include "RendaraTestSupport.h"

#include "FrameChildPlanes.h"

ParamSetter Int(int32_t value)
{
    return [value](InfoParamDataPath1& param) { param.SetInt(value); };
}

ParamSetter UInt(uint32_t value)
{
    return [value](InfoParamDataPath1& param) { param.SetUInt(value); };
}

ParamSetter Bool(bool value)
{
    return [value](InfoParamDataPath1& param) { param.SetBool(value); };
}

ParamSetter Pointer(const void* pointer)
{
    return [pointer](InfoParamDataPath1& param) { param.SetPointer(const_cast<void*>(pointer), 0, false); };
}

ParamSetter Text(const char* text)
{
    return [text](InfoParamDataPath1& param) { param.SetTextPointer(const_cast<char*>(text), 0, false); };
}

ParamSetter Window(HWND window)
{
    return [window](InfoParamDataPath1& param) { param.SetWindow(window); };
}

ParamSetter Rect(int32_t x, int32_t y, int32_t width, int32_t height)
{
    return [=](InfoParamDataPath1& param) { param.SetRect(RECT{x, y, width, height}); };
}

ParamSetter Out()
{
    return [](InfoParamDataPath1& param) { param.SetPointer(nullptr, 0, true); };
}

void PumpMessages()
{
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

void RendaraFixture::SetUp()
{
    m_module = LoadLibraryA("RendaraGeneral.vdd");
    ASSERT_NE(m_module, nullptr);
    m_exports.emplace(m_module);
    ASSERT_EQ(m_exports->init(&m_record, 1), S_OK);
}

void RendaraFixture::TearDown()
{
    if (m_record.m_in_use) {
        EXPECT_EQ(m_exports->free(&m_record), S_OK);
    }
    PumpMessages();
    FreeLibrary(m_module);
}

HRESULT RendaraFixture::Call(const GUID& iid, int32_t method, const std::vector<ParamSetter>& setters)
{
    m_params.SetNumberParams(static_cast<uint32_t>(setters.size()));
    for (uint32_t k = 0; k < setters.size(); ++k)
        setters[k](m_params.m_params.GetElement(k));
    return m_exports->call(CallInterfaceFunctionRecord{iid, method, &m_params, &m_record});
}

void RendaraFixture::ShowAt(int x, int y, int width, int height)
{
    ASSERT_EQ(VideoOutput(5, {Rect(x, y, width, height)}), S_OK);
    ASSERT_EQ(VideoOutput(3, {Bool(true)}), S_OK);
    PumpMessages();
    RECT client = {};
    GetClientRect(OutputWindow(), &client);
    ASSERT_EQ(client.right, width);
    ASSERT_EQ(client.bottom, height);
}

HRESULT RendaraFixture::Transform(InfoDataBufferPath1& frame, ListEventsDataPath1* events)
{
    return m_exports->transform(&frame, sizeof(InfoDataBufferPath1), nullptr, 0, &m_record, events, 0);
}

void DeleteEvents(ListEventsDataPath1& events)
{
    for (uint32_t i = 0; i < events.GetCount(); ++i)
        delete events.GetElement(i).m_event;
    events.SetSize(0);
}

std::vector<const InfoEventDataFrame1*> EventsOfType(const ListEventsDataPath1& events, TypeEventDataFrame1 type)
{
    std::vector<const InfoEventDataFrame1*> found;
    for (uint32_t i = 0; i < events.GetCount(); ++i) {
        const InfoEventDataFrame1* event = events.GetElement(i).m_event;
        if (event != nullptr && event->m_type == type)
            found.push_back(event);
    }
    return found;
}

void MakeColouredFrame(InfoDataBufferPath1& frame, int width, int height, const TestFrameLuma& luma)
{
    ASSERT_EQ(MakeTestFrame(frame, TestFrameFormat::Yuy2, width, height, luma), S_OK);
    for (int level = 0; level < FrameChildSlot::kLevels; ++level) {
        InfoDataBufferPath1* chroma = GetFrameChildPlane(frame, FrameChildSlot::Chroma(level));
        ASSERT_NE(chroma, nullptr);
        for (int y = 0; y < chroma->m_info.m_bih.biHeight; ++y) {
            auto* row = reinterpret_cast<SWORD*>(chroma->m_data + chroma->m_offset_data + y * chroma->m_stride);
            for (int x = 0; x < chroma->m_info.m_bih.biWidth; ++x)
                row[x] = static_cast<SWORD>(x % 2 == 0 ? 40 + x % 160 : 220 - y % 160);
        }
    }
}
