#include "TonalisTestSupport.h"

#include "MediaSubtypeGuids.h"

#include <cstring>

ParamSetter Int(int32_t value)
{
    return [value](InfoParamDataPath1& param) { param.SetInt(value); };
}

ParamSetter Float(float value)
{
    return [value](InfoParamDataPath1& param) { param.SetFloat(value); };
}

ParamSetter Pointer(const void* pointer)
{
    return [pointer](InfoParamDataPath1& param) { param.SetPointer(const_cast<void*>(pointer), 0, false); };
}

void TonalisFixture::SetUp()
{
    m_module = LoadLibraryA("Tonalis1.vdd");
    ASSERT_NE(m_module, nullptr);
    m_exports.emplace(m_module);
    ASSERT_EQ(m_exports->init(&m_record, 1), S_OK);
}

void TonalisFixture::TearDown()
{
    DeleteEvents(m_events);
    if (m_record.m_in_use) {
        EXPECT_EQ(m_exports->free(&m_record), S_OK);
    }
    FreeLibrary(m_module);
}

HRESULT TonalisFixture::Call(const GUID& iid, int32_t method, const std::vector<ParamSetter>& setters)
{
    m_params.SetNumberParams(static_cast<uint32_t>(setters.size()));
    for (uint32_t k = 0; k < setters.size(); ++k)
        setters[k](m_params.m_params.GetElement(k));
    return m_exports->call(CallInterfaceFunctionRecord{iid, method, &m_params, &m_record});
}

float TonalisFixture::GetValue(int32_t index)
{
    float value = -1000.0f;
    EXPECT_EQ(Correction(2, {Int(index), Pointer(&value)}), S_OK);
    return value;
}

HRESULT TonalisFixture::Transform(InfoDataBufferPath1& frame)
{
    DeleteEvents(m_events);
    return m_exports->transform(&frame, sizeof(InfoDataBufferPath1), nullptr, 0, &m_record, &m_events, 0);
}

std::vector<const InfoEventDataFrame1*> TonalisFixture::EventsOfType(TypeEventDataFrame1 type) const
{
    std::vector<const InfoEventDataFrame1*> found;
    for (uint32_t i = 0; i < m_events.GetCount(); ++i) {
        const InfoEventDataFrame1* event = m_events.GetElement(i).m_event;
        if (event != nullptr && event->m_type == type)
            found.push_back(event);
    }
    return found;
}

void DeleteEvents(ListEventsDataPath1& events)
{
    for (uint32_t i = 0; i < events.GetCount(); ++i)
        delete events.GetElement(i).m_event;
    events.SetSize(0);
}

void MakeRgb24Frame(InfoDataBufferPath1& frame, int width, int height)
{
    const int stride = 3 * width;
    const int size = stride * height;
    ASSERT_EQ(frame.AllocBufferForStandartTypeVideoData(size, width, height, stride, 0, size,
                                                        media_guids::MEDIASUBTYPE_RGB24, BI_RGB, 24),
              S_OK);
    frame.m_info.m_state = InfoCallInterfaceDataPath1::kStateFrame;
    std::memset(frame.m_data, 0xFF, static_cast<size_t>(frame.m_capacity));
}

std::vector<int32_t> ChildSlots(const InfoDataBufferPath1& frame)
{
    std::vector<int32_t> slots;
    for (uint32_t k = 0; k < InfoDataBufferPath1::kNumberChildren; ++k)
        slots.push_back(frame.m_index_child.GetElement(k));
    return slots;
}
