// The detector as the host drives it: "Motiscan4.vdd" loaded from the program's folder, one
// instance record, calls through the exports, and the events of the last transform.
#pragma once

#include "Motiscan4.h"
#include "TestPluginExports.h"
#include "TestVideoFrames.h"

#include "MessageForObjectsDataPath1.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

class MotiscanFixture : public testing::Test
{
protected:
    void SetUp() override
    {
        m_module = LoadLibraryA("Motiscan4.vdd");
        ASSERT_NE(m_module, nullptr);
        m_exports.emplace(m_module);
        ASSERT_EQ(m_exports->init(&m_record, 1), S_OK);
    }

    void TearDown() override
    {
        ClearEvents();
        if (m_record.m_in_use) {
            EXPECT_EQ(m_exports->free(&m_record), S_OK);
        }
        FreeLibrary(m_module);
    }

    Motiscan4State& State() { return *static_cast<Motiscan4State*>(m_record.m_state); }

    HRESULT Call(const GUID& iid, int32_t index, ListParamsDataPath1& params)
    {
        return m_exports->call(CallInterfaceFunctionRecord{iid, index, &params, &m_record});
    }

    // A detector call with up to two parameters, set by the caller on the list.
    template <class SetParams>
    HRESULT Detector(int32_t index, SetParams set)
    {
        m_params.SetNumberParams(2);
        set(m_params.m_params.GetElement(0), m_params.m_params.GetElement(1));
        return Call(IID_IControlVideoDetector, index, m_params);
    }

    HRESULT LoadSettings(StructFormatGraph1& settings, uint32_t size = sizeof(StructFormatGraph1))
    {
        return Detector(6, [&](InfoParamDataPath1& p0, InfoParamDataPath1& p1) {
            p0.SetPointer(&settings, 0, false);
            p1.SetUInt(size);
        });
    }

    HRESULT SetMode(uint32_t mode)
    {
        m_params.SetNumberParams(1);
        m_params.m_params.GetElement(0).SetInt(static_cast<int32_t>(mode));
        return Call(IID_IControlOptimProcessor, 1, m_params);
    }

    // Transforms the frame as the host does; the events it raised are kept until the next one.
    HRESULT Transform(InfoDataBufferPath1& frame)
    {
        ClearEvents();
        return m_exports->transform(&frame, sizeof(InfoDataBufferPath1), nullptr, 0, &m_record, &m_events, 0);
    }

    HRESULT TransformNew(TestFrameFormat format, int width, int height, const TestFrameLuma& luma, int32_t number = 0)
    {
        InfoDataBufferPath1 frame;
        EXPECT_EQ(MakeTestFrame(frame, format, width, height, luma, number), S_OK);
        return Transform(frame);
    }

    std::vector<InfoEventDataFrame1*> EventsOfType(TypeEventDataFrame1 type)
    {
        std::vector<InfoEventDataFrame1*> found;
        for (uint32_t i = 0; i < m_events.GetCount(); ++i)
            if (m_events.GetElement(i).m_event->GetTypeEvent() == type)
                found.push_back(m_events.GetElement(i).m_event);
        return found;
    }

    template <class Event>
    Event* OnlyEvent(TypeEventDataFrame1 type)
    {
        const std::vector<InfoEventDataFrame1*> found = EventsOfType(type);
        EXPECT_EQ(found.size(), 1u) << "events of type " << type;
        return found.size() == 1 ? static_cast<Event*>(found[0]) : nullptr;
    }

    void ClearEvents()
    {
        for (uint32_t i = 0; i < m_events.GetCount(); ++i)
            delete m_events.GetElement(i).m_event;
        m_events.SetSize(0);
    }

    HMODULE m_module = nullptr;
    InfoFilterObjectDataPath1 m_record;
    ListParamsDataPath1 m_params;
    ListEventsDataPath1 m_events;
    std::optional<TestPluginExports> m_exports;
};
