#include "CamwellFixture.h"

#include "MediaSubtypeGuids.h"

#include <cstring>

std::unique_ptr<InfoDataBufferPath1> MakeVideoFrame(const GUID& subtype, int32_t width, int32_t height,
                                                    int32_t bytesPerPixel, uint8_t fill)
{
    auto frame = std::make_unique<InfoDataBufferPath1>();
    const int32_t stride = width * bytesPerPixel;
    const int32_t size = stride * height;
    EXPECT_EQ(frame->AllocBufferForStandartTypeVideoData(size, width, height, stride, 0, size, subtype,
                                                         subtype.Data1, static_cast<unsigned short>(8 * bytesPerPixel)),
              S_OK);
    frame->m_info.m_state = InfoCallInterfaceDataPath1::kStateFrame;
    std::memset(frame->m_data, fill, static_cast<size_t>(size));
    return frame;
}

std::vector<uint8_t> FrameBytes(const InfoDataBufferPath1& frame)
{
    const uint8_t* start = frame.m_data + frame.m_offset_data;
    return std::vector<uint8_t>(start, start + frame.m_size_data);
}

namespace {

template <class Function>
Function Bind(HMODULE module, const char* name)
{
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

} // namespace

void CamwellTest::SetUp()
{
    m_module = LoadLibraryA("Camwell1.vdd");
    ASSERT_NE(m_module, nullptr);
    m_init = Bind<InitInfoFilterFunction>(m_module, "InitInfoFilter");
    m_free = Bind<FreeInfoFilterFunction>(m_module, "FreeInfoFilter");
    m_transform = Bind<TransformFilterFunction>(m_module, "TransformFilter");
    m_call = Bind<CallInterfaceFunctionFunction>(m_module, "CallInterfaceFunction");
    m_query = Bind<QueryInterfaceFunctionFunction>(m_module, "QueryInterfaceFunction");
    m_name = Bind<GetNameFilterFunction>(m_module, "GetNameFilter");
    m_points = Bind<GetConnectionPointsFunction>(m_module, "GetConnectionPoints");
    ASSERT_EQ(m_init(&m_record, 1), S_OK);
}

void CamwellTest::TearDown()
{
    ClearEvents();
    if (m_record.m_in_use) {
        EXPECT_EQ(m_free(&m_record), S_OK);
    }
    if (m_module != nullptr)
        FreeLibrary(m_module);
}

HRESULT CamwellTest::Call(const GUID& iid, int32_t index, uint32_t count, const ParamSetup& setup)
{
    m_params.SetNumberParams(count);
    if (setup)
        setup(m_params);
    return m_call(CallInterfaceFunctionRecord{iid, index, &m_params, &m_record});
}

HRESULT CamwellTest::CallOneBool(const GUID& iid, int32_t index, bool value)
{
    return Call(iid, index, 1, [value](ListParamsDataPath1& p) { p.m_params.GetElement(0).SetBool(value); });
}

HRESULT CamwellTest::SetRateRow(uint32_t row, const std::array<float, 5>& rates, bool output1Enabled)
{
    uint8_t blocks[96] = {};
    std::array<float, 5> copy = rates;
    return Call(IID_IControlRateData, 0, 6, [&](ListParamsDataPath1& p) {
        p.m_params.GetElement(0).SetUInt(row);
        p.m_params.GetElement(1).SetPointer(blocks, sizeof(blocks), false);
        p.m_params.GetElement(2).SetFloatPointer(copy.data(), sizeof(copy), false);
        p.m_params.GetElement(3).SetBool(false);
        p.m_params.GetElement(4).SetBool(output1Enabled);
        p.m_params.GetElement(5).SetBool(false);
    });
}

HRESULT CamwellTest::SetSchedule(uint8_t everyHour)
{
    std::vector<uint8_t> schedule(168, everyHour);
    return Call(IID_IInfoCamera, 6, 2, [&](ListParamsDataPath1& p) {
        p.m_params.GetElement(0).SetPointer(schedule.data(), 168, false);
        p.m_params.GetElement(1).SetUInt(168);
    });
}

HRESULT CamwellTest::SetCameraId(int32_t id)
{
    return Call(IID_IInfoCamera, 2, 2, [id](ListParamsDataPath1& p) {
        p.m_params.GetElement(0).SetInt(id);
        p.m_params.GetElement(1).SetInt(0);
    });
}

HRESULT CamwellTest::Transform(InfoDataBufferPath1& frame)
{
    return m_transform(&frame, sizeof(InfoDataBufferPath1), nullptr, 0, &m_record, &m_events, 0);
}

std::array<bool, 3> CamwellTest::Outputs() const
{
    std::array<bool, 3> flags{};
    for (uint32_t i = 0; i < 3; ++i)
        flags[i] = m_record.m_points.m_outputs.GetElement(i).m_valid;
    return flags;
}

void CamwellTest::AddDetectionEvent(int32_t cameraId)
{
    auto* event = new InfoEventDataFrame_ted1VideoDetectEvent();
    event->InitStruct(nullptr, nullptr, cameraId);
    ASSERT_EQ(AppendEventDataPath1(&m_events, event), S_OK);
}

int32_t CamwellTest::CountEvents(TypeEventDataFrame1 type) const
{
    int32_t count = 0;
    for (uint32_t i = 0; i < m_events.GetCount(); ++i)
        if (m_events.GetElement(i).m_event->GetTypeEvent() == type)
            ++count;
    return count;
}

void CamwellTest::ClearEvents()
{
    for (uint32_t i = 0; i < m_events.GetCount(); ++i)
        delete m_events.GetElement(i).m_event;
    m_events.FreeAll();
}
