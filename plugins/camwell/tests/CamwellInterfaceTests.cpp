// The camera filter's identity, points and interface methods, called through its exports.
#include "CamwellFixture.h"

#include "BaseClassObjectDataPath1.h"

#include "MediaSubtypeGuids.h"

#include <cstring>
#include <string>

using namespace media_guids;

TEST_F(CamwellTest, IdentityPointsAndInterfaces)
{
    EXPECT_STREQ(m_record.m_text_id.GetString(), "Camwell1");
    EXPECT_EQ(m_record.m_version, 1.17f);
    EXPECT_STREQ(static_cast<InfoFilterStateDataPath1*>(m_record.m_state)->m_name.GetString(), "CAMWELL_FILTER1");
    const ListConnectionPointsDataPath1& points = m_record.m_points;
    ASSERT_EQ(points.m_count_inputs, 1u);
    EXPECT_STREQ(points.m_inputs.GetElement(0).m_name.GetString(), "DataInput1");
    EXPECT_EQ(points.m_inputs.GetElement(0).m_type, 256);
    EXPECT_TRUE(points.m_inputs.GetElement(0).m_valid);
    ASSERT_EQ(points.m_count_outputs, 3u);
    const char* const names[] = {"CompressDataOutput1", "SpecialCompressDataOutput2", "ViewDataOutput3"};
    for (uint32_t i = 0; i < 3; ++i) {
        const InfoConnectionPointDataPath1& output = points.m_outputs.GetElement(i);
        EXPECT_STREQ(output.m_name.GetString(), names[i]);
        EXPECT_EQ(output.m_type, 257);
        EXPECT_FALSE(output.m_valid) << "the transform sets the flags per frame";
    }

    DynamicString name;
    float version = 0.0f;
    ASSERT_EQ(m_name(&name, &version), S_OK);
    EXPECT_STREQ(name.GetString(), "Camwell1");

    for (const GUID* iid : {&IID_IControlRateData, &IID_IInfoCamera, &IID_IControlCoderVideoData,
                            &IID_IControlOptimProcessor, &IID_IGrabberFrames})
        EXPECT_EQ(m_query(*iid), S_OK);
    EXPECT_EQ(m_query(IID_IControlVideoDetector), S_FALSE);
    EXPECT_EQ(Call(IID_IControlVideoDetector, 0), E_FAIL);

    EXPECT_EQ(Call(IID_IControlOptimProcessor, 0, 1), S_OK);
    EXPECT_EQ(m_params.m_params.GetElement(0).GetInt(), 15);
}

TEST_F(CamwellTest, SecondInitKeepsTheState)
{
    void* state = m_record.m_state;
    EXPECT_EQ(m_init(&m_record, 1), S_OK);
    EXPECT_EQ(m_record.m_state, state);
}

TEST_F(CamwellTest, RateControlRows)
{
    struct Case
    {
        uint32_t row;
        bool givesPointers;
        HRESULT expected;
    };
    const Case cases[] = {{0, true, S_OK}, {2, true, S_OK}, {3, true, E_UNEXPECTED}, {0xFFFFFFFF, true, E_UNEXPECTED},
                          {1, false, E_INVALIDARG}};
    for (const Case& c : cases) {
        const HRESULT result = Call(IID_IControlRateData, 0, 6, [&](ListParamsDataPath1& p) {
            static uint8_t blocks[96];
            static float rates[5] = {1, 1, 1, 1, 0};
            p.m_params.GetElement(0).SetUInt(c.row);
            p.m_params.GetElement(1).SetPointer(c.givesPointers ? blocks : nullptr, 96, false);
            p.m_params.GetElement(2).SetFloatPointer(c.givesPointers ? rates : nullptr, 20, false);
        });
        EXPECT_EQ(result, c.expected) << c.row;
    }
    EXPECT_EQ(Call(IID_IControlRateData, 9), S_OK) << "an index the interface does not serve";
}

TEST_F(CamwellTest, RowZeroSetsTheViewLimiter)
{
    auto frame = MakeVideoFrame(MEDIASUBTYPE_YUY2, 16, 4, 2, 0x40);
    ASSERT_EQ(Transform(*frame), S_OK);
    EXPECT_TRUE(Outputs()[2]) << "view rate 0: every frame";

    // One frame in 1000 seconds: the limiter holds the next frames back.
    ASSERT_EQ(SetRateRow(0, {1, 1, 1, 1, 0.001f}), S_OK);
    for (int i = 0; i < 3; ++i) {
        ASSERT_EQ(Transform(*frame), S_OK);
        EXPECT_FALSE(Outputs()[2]);
    }
    ASSERT_EQ(SetRateRow(1, {1, 1, 1, 1, 0}), S_OK);
    ASSERT_EQ(Transform(*frame), S_OK);
    EXPECT_FALSE(Outputs()[2]) << "only row 0 sets the view rate";
}

TEST_F(CamwellTest, CameraTextHandOut)
{
    EXPECT_EQ(Call(IID_IInfoCamera, 0, 2, [](ListParamsDataPath1& p) {
                  static char text[] = "TEST";
                  p.m_params.GetElement(0).SetPointer(text, 5, false);
                  p.m_params.GetElement(1).SetUInt(0);
              }),
              E_UNEXPECTED)
        << "flag 0";
    ASSERT_EQ(Call(IID_IInfoCamera, 0, 2, [](ListParamsDataPath1& p) {
                  static char text[] = "TEST";
                  p.m_params.GetElement(0).SetPointer(text, 5, false);
                  p.m_params.GetElement(1).SetUInt(5);
              }),
              S_OK);

    struct Case
    {
        uint32_t size;
        bool copied;
    };
    // The text is copied only when length + 1 is below the size: an exact fit is refused.
    for (const Case c : {Case{4, false}, Case{5, false}, Case{6, true}, Case{64, true}}) {
        char buffer[64];
        std::memset(buffer, '#', sizeof(buffer));
        uint32_t needed = 0;
        EXPECT_EQ(Call(IID_IInfoCamera, 1, 3, [&](ListParamsDataPath1& p) {
                      p.m_params.GetElement(0).SetPointer(buffer, c.size, true);
                      p.m_params.GetElement(1).SetUInt(c.size);
                      p.m_params.GetElement(2).SetUIntPointer(&needed, 4, true);
                  }),
                  S_OK);
        EXPECT_EQ(needed, 5u) << c.size;
        EXPECT_EQ(std::string(buffer, 5), c.copied ? std::string("TEST\0", 5) : std::string("#####")) << c.size;
    }
    uint32_t needed = 0;
    EXPECT_EQ(Call(IID_IInfoCamera, 1, 3, [&](ListParamsDataPath1& p) {
                  p.m_params.GetElement(2).SetUIntPointer(&needed, 4, true);
              }),
              4)
        << "without a buffer: the length";
    EXPECT_EQ(needed, 5u);
}

TEST_F(CamwellTest, CameraIdScheduleAndFlags)
{
    ASSERT_EQ(SetCameraId(77), S_OK);
    int32_t id = 0;
    EXPECT_EQ(Call(IID_IInfoCamera, 3, 1, [&](ListParamsDataPath1& p) {
                  p.m_params.GetElement(0).SetIntPointer(&id, 4, true);
              }),
              S_OK);
    EXPECT_EQ(id, 77);
    EXPECT_EQ(Call(IID_IInfoCamera, 3, 1), E_INVALIDARG);

    std::vector<uint8_t> schedule(168, 0x21);
    for (uint32_t size : {0u, 1u, 167u})
        EXPECT_EQ(Call(IID_IInfoCamera, 6, 2, [&](ListParamsDataPath1& p) {
                      p.m_params.GetElement(0).SetPointer(schedule.data(), size, false);
                      p.m_params.GetElement(1).SetUInt(size);
                  }),
                  E_UNEXPECTED)
            << size;
    EXPECT_EQ(SetSchedule(0x21), S_OK);
    EXPECT_EQ(Call(IID_IInfoCamera, 6, 2, [](ListParamsDataPath1& p) { p.m_params.GetElement(1).SetUInt(168); }),
              E_INVALIDARG);

    for (int32_t index : {4, 5, 7, 8})
        EXPECT_EQ(Call(IID_IInfoCamera, index, 1), S_OK) << index;
    for (int32_t index : {0, 1})
        EXPECT_EQ(CallOneBool(IID_IControlCoderVideoData, index, true), S_OK) << index;
}

TEST_F(CamwellTest, GrabberFlags)
{
    bool on = true;
    const auto askOn = [&](ListParamsDataPath1& p) { p.m_params.GetElement(0).SetBoolPointer(&on, 1, true); };
    ASSERT_EQ(Call(IID_IGrabberFrames, 2, 1, askOn), S_OK);
    EXPECT_FALSE(on);
    ASSERT_EQ(CallOneBool(IID_IGrabberFrames, 0, true), S_OK);
    ASSERT_EQ(Call(IID_IGrabberFrames, 2, 1, askOn), S_OK);
    EXPECT_TRUE(on);
    EXPECT_EQ(Call(IID_IGrabberFrames, 2, 1), E_INVALIDARG);
    EXPECT_EQ(Call(IID_IGrabberFrames, 4, 1), E_INVALIDARG) << "no file name";
    EXPECT_EQ(Call(IID_IGrabberFrames, 5, 2), E_INVALIDARG) << "no file name";
    EXPECT_EQ(Call(IID_IGrabberFrames, 6, 1), E_INVALIDARG);
}
