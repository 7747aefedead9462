// The camera filter loaded from its file and driven through its exports, as the host drives it.
#pragma once

#include "InfoFilterObjectDataPath1.h"
#include "MessageForObjectsDataPath1.h"
#include "ObjectDataPath1_InfoDataBufferPath1.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

// A video frame of the subtype whose data are width x height pixels of the bytes per pixel,
// each byte the fill value.
std::unique_ptr<InfoDataBufferPath1> MakeVideoFrame(const GUID& subtype, int32_t width, int32_t height,
                                                    int32_t bytesPerPixel, uint8_t fill);
// The frame's data bytes.
std::vector<uint8_t> FrameBytes(const InfoDataBufferPath1& frame);

class CamwellTest : public testing::Test
{
protected:
    using ParamSetup = std::function<void(ListParamsDataPath1&)>;

    void SetUp() override;
    void TearDown() override;

    // One interface call on the instance with `count` parameters set by the setup.
    HRESULT Call(const GUID& iid, int32_t index, uint32_t count = 0, const ParamSetup& setup = {});
    HRESULT CallOneBool(const GUID& iid, int32_t index, bool value);

    // Stores rates and the three bytes of a row (blocks of zeros).
    HRESULT SetRateRow(uint32_t row, const std::array<float, 5>& rates, bool output1Enabled = false);
    HRESULT SetSchedule(uint8_t everyHour);
    HRESULT SetCameraId(int32_t id);

    // One transform of the frame with the events of `m_events`; the flags of the three outputs.
    HRESULT Transform(InfoDataBufferPath1& frame);
    std::array<bool, 3> Outputs() const;
    // Appends a detection event (type 1) of the camera to the next transform's list.
    void AddDetectionEvent(int32_t cameraId);
    // How many events of the type the last transforms appended.
    int32_t CountEvents(TypeEventDataFrame1 type) const;
    void ClearEvents();

    HMODULE m_module = nullptr;
    InfoFilterObjectDataPath1 m_record;
    ListParamsDataPath1 m_params;
    ListEventsDataPath1 m_events;
    InitInfoFilterFunction m_init = nullptr;
    FreeInfoFilterFunction m_free = nullptr;
    TransformFilterFunction m_transform = nullptr;
    CallInterfaceFunctionFunction m_call = nullptr;
    QueryInterfaceFunctionFunction m_query = nullptr;
    GetNameFilterFunction m_name = nullptr;
    GetConnectionPointsFunction m_points = nullptr;
};
