#include "struct_format_graph1.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <memory>
#include <cwchar>
#include <limits>

namespace {

const float kNaN = std::numeric_limits<float>::quiet_NaN();

} // namespace

TEST(FormatGraph, ResetWritesTheDefaults)
{
    StructFormatGraph1 record;
    record.kind = 5;
    record.cameraId = 9;
    ASSERT_EQ(record.Reset(StructFormatGraph1::kKindMixer), S_OK);
    EXPECT_EQ(record.kind, 2);
    EXPECT_EQ(record.cameraId, 0);
    EXPECT_STREQ(record.objectName.GetString(), L"enter name object");
    EXPECT_STREQ(record.m_capture.m_codec_name.GetString(), L"Codexa5.vvd");
    EXPECT_STREQ(record.m_capture.m_detector_name.GetString(), L"D.U.R.M.I.X.VideoDetector4");
    EXPECT_EQ(record.m_capture.m_rates[2][4], 50.0f);
    EXPECT_EQ(record.m_capture.m_formats[1][3].m_limit, 1500);
    EXPECT_EQ(record.m_capture.m_bounds[0].m_upper1, 60.0f);
    EXPECT_EQ(record.m_capture.m_levels[5], 13.0f);
    EXPECT_EQ(record.m_value2, 8);
    EXPECT_EQ(record.m_mixer.m_value3, 1.0f);
    EXPECT_EQ(record.schedule[0], 0x10);
    EXPECT_EQ(record.schedule[167], 0x10);
    EXPECT_EQ(record.m_flags2[1], 1);
}

TEST(FormatGraph, ValidateClampsTheSchedule)
{
    struct Case
    {
        uint8_t in;
        uint8_t out;
    };
    const Case cases[] = {{0x2F, 0x22}, {0x00, 0x10}, {0xF4, 0x34}, {0x10, 0x10}, {0x34, 0x34}, {0x25, 0x22}};
    StructFormatGraph1 record;
    for (const Case& c : cases) {
        record.schedule[100] = c.in;
        record.Validate();
        EXPECT_EQ(record.schedule[100], c.out) << std::hex << int(c.in);
    }
}

TEST(FormatGraph, ValidateMakesEveryKindButMixerACapturePath)
{
    for (int32_t kind : {0, 7, -1, 1}) {
        StructFormatGraph1 record;
        record.kind = kind;
        record.m_capture.m_rates[0][0] = 75.0f;
        record.Validate();
        EXPECT_EQ(record.kind, 1) << kind;
        EXPECT_EQ(record.m_capture.m_rates[0][0], 60.0f) << kind;
    }
    StructFormatGraph1 mixer(StructFormatGraph1::kKindMixer);
    EXPECT_EQ(mixer.kind, 2);
}

TEST(FormatGraph, ValidateClampsRatesLevelsAndFormats)
{
    struct Case
    {
        float in;
        float out;
    };
    const Case rates[] = {{0.5f, 1.0f}, {75.0f, 60.0f}, {kNaN, 1.0f}, {30.0f, 30.0f}};
    for (const Case& c : rates) {
        StructFormatGraph1 record;
        record.m_capture.m_rates[1][2] = c.in;
        record.Validate();
        EXPECT_EQ(record.m_capture.m_rates[1][2], c.out) << c.in;
    }

    StructFormatGraph1 record;
    const float levels[6] = {-5.0f, 150.0f, kNaN, 40.0f, 2.0f, 0.0f};
    std::copy(levels, levels + 6, record.m_capture.m_levels);
    record.m_capture.m_formats[2][1].m_count = 0;
    record.m_capture.m_formats[2][1].m_limit = 9999;
    record.m_mixer.m_value2 = kNaN;
    record.Validate();
    const float expected[6] = {0.0f, 100.0f, 0.0f, 40.0f, 1.0f, 1.0f};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(record.m_capture.m_levels[i], expected[i]) << i;
    EXPECT_EQ(record.m_capture.m_formats[2][1].m_count, 1);
    EXPECT_EQ(record.m_capture.m_formats[2][1].m_limit, 2500);
    EXPECT_EQ(record.m_mixer.m_value2, 0.0f);
}

TEST(FormatGraph, ValidateClampsDetectionBounds)
{
    struct Case
    {
        float lower;
        float upper;
        float lowerOut;
        float upperOut;
    };
    const Case cases[] = {
        {80.0f, 70.0f, 70.0f, 70.0f}, {10.0f, 150.0f, 10.0f, 100.0f}, {-3.0f, 50.0f, 0.0f, 50.0f},
        {20.0f, -8.0f, 0.0f, 0.0f},   {kNaN, kNaN, 2.0f, 60.0f},
    };
    for (const Case& c : cases) {
        InfoVideoDetectBounds bounds;
        bounds.m_lower1 = c.lower;
        bounds.m_upper1 = c.upper;
        bounds.Validate();
        EXPECT_EQ(bounds.m_lower1, c.lowerOut) << c.lower << " " << c.upper;
        EXPECT_EQ(bounds.m_upper1, c.upperOut) << c.lower << " " << c.upper;
    }
}

// Validate must keep the texts that Reset fills in: it only forces their termination.
TEST(FormatGraph, ValidateKeepsTextsAndTerminatesThem)
{
    StructFormatGraph1 record;
    record.objectName = L"Front door";
    record.m_names[3].m_text = L"entry";
    record.m_mixer.m_name1 = L"Vidriva";
    wmemset(record.m_capture.m_codec_name.GetString(), L'x', TextFormatGraph1::GetMaxSizeBuffer());
    ASSERT_EQ(record.Validate(), S_OK);
    EXPECT_STREQ(record.objectName.GetString(), L"Front door");
    EXPECT_STREQ(record.m_names[3].m_text.GetString(), L"entry");
    EXPECT_STREQ(record.m_mixer.m_name1.GetString(), L"Vidriva");
    EXPECT_STREQ(record.m_capture.m_detector_name.GetString(), L"D.U.R.M.I.X.VideoDetector4");
    EXPECT_EQ(record.m_capture.m_codec_name.GetLenString(), TextFormatGraph1::GetMaxSizeBuffer() - 1);
}

// ---- Format-graph nodes ---------------------------------------------------------------------

namespace {

template <class Value>
Value ReadAt(const InfoNodeFormatGraph1& node, size_t payloadOffset)
{
    Value value;
    std::memcpy(&value, node.m_payload + payloadOffset, sizeof(value));
    return value;
}

} // namespace

TEST(FormatGraphNode, ResetGivesEveryKindItsPayloadSizeAndEmptyLinks)
{
    struct Case
    {
        int32_t kind;
        int32_t payloadSize;
    };
    const Case cases[] = {{3, 600}, {4, 2324}, {5, 712}, {6, 10652}, {7, 0}};
    auto node = std::make_unique<InfoNodeFormatGraph1>();
    for (const Case& c : cases) {
        std::memset(static_cast<void*>(node.get()), 0x5A, sizeof(*node));
        ASSERT_EQ(node->Reset(c.kind, 12), S_OK);
        EXPECT_EQ(node->kind, c.kind);
        EXPECT_EQ(node->id, 12);
        EXPECT_EQ(node->payloadSize, c.payloadSize) << c.kind;
        EXPECT_EQ(node->inputCount, 0);
        EXPECT_EQ(node->outputCount, 0);
        EXPECT_EQ(node->enabled, 1);
        for (uint32_t k = 0; k < InfoNodeFormatGraph1::kMaxLinks; ++k) {
            EXPECT_EQ(node->inputs[k], -1);
            EXPECT_EQ(node->outputs[k], -1);
        }
        EXPECT_EQ(node->m_payload[InfoNodeFormatGraph1::kPayloadCapacity - 1], 0) << c.kind;
    }
}

TEST(FormatGraphNode, ResetWritesThePayloadDefaultsAtTheirPlaces)
{
    auto node = std::make_unique<InfoNodeFormatGraph1>();
    node->Reset(TypeNodeComputer, 1);
    const auto name = ReadAt<std::array<wchar_t, 14>>(*node, 0);
    EXPECT_STREQ(name.data(), L"enter name pc");
    const auto address = ReadAt<std::array<uint8_t, 4>>(*node, 584);
    EXPECT_EQ(address, (std::array<uint8_t, 4>{1, 0, 0, 127}));

    node->Reset(TypeNodeCaptureDevice, 2);
    EXPECT_EQ(ReadAt<int32_t>(*node, 0), 1);
    EXPECT_EQ(ReadAt<int32_t>(*node, 588), 16);
    EXPECT_EQ(ReadAt<BITMAPINFOHEADER>(*node, 592).biSize, 72u);
    EXPECT_EQ(ReadAt<BITMAPINFOHEADER>(*node, 592).biSizeImage, 442368u);
    EXPECT_EQ(ReadAt<GUID>(*node, 632).Data1, MAKEFOURCC('Y', 'U', 'Y', '2'));
    EXPECT_EQ(ReadAt<int32_t>(*node, 652), 50);
    EXPECT_EQ(ReadAt<uint16_t>(*node, 676), 1);
    EXPECT_EQ(ReadAt<uint32_t>(*node, 680), 44100u);
    EXPECT_EQ(ReadAt<uint16_t>(*node, 690), 16);
    EXPECT_EQ(ReadAt<uint8_t>(*node, 708), 1);

    node->Reset(TypeNodeFilter, 3);
    EXPECT_EQ(ReadAt<wchar_t>(*node, 0), 0);

    node->Reset(TypeNodeCaptureFormat, 4);
    auto format = std::make_unique<StructFormatGraph1>();
    node->ReadPayload(*format);
    EXPECT_EQ(format->kind, 1);
    EXPECT_STREQ(format->objectName.GetString(), L"enter name object");
}

TEST(FormatGraphNode, CheckClampsCountsAndClearsAnUnknownKind)
{
    struct Case
    {
        int32_t inputs;
        int32_t outputs;
        int32_t inputsOut;
        int32_t outputsOut;
    };
    const Case cases[] = {{-5, 99, 0, 64}, {64, 0, 64, 0}, {3, -1, 3, 0}};
    auto node = std::make_unique<InfoNodeFormatGraph1>();
    for (const Case& c : cases) {
        node->Reset(TypeNodeCaptureDevice, 7);
        node->inputCount = c.inputs;
        node->outputCount = c.outputs;
        node->payloadSize = 3;
        ASSERT_EQ(node->Check(), S_OK);
        EXPECT_EQ(node->inputCount, c.inputsOut);
        EXPECT_EQ(node->outputCount, c.outputsOut);
        EXPECT_EQ(node->payloadSize, 712);
        EXPECT_EQ(node->id, 7);
    }
    for (int32_t kind : {0, 1, 2, 7, -3}) {
        node->Reset(TypeNodeComputer, 8);
        node->kind = kind;
        node->Check();
        const auto* bytes = reinterpret_cast<const uint8_t*>(node.get());
        EXPECT_EQ(std::count(bytes, bytes + sizeof(*node), 0), static_cast<long>(sizeof(*node))) << kind;
    }
}
