// The correction filter in a real path of the data-path controller, between test plug-ins in the
// places of the source and the detector.
#include "ControllerTestSupport.h"
#include "TestVideoFrames.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

std::string BinFolder()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    const std::string folder(path);
    return folder.substr(0, folder.find_last_of('\\'));
}

} // namespace

TEST(TonalisPath, ProcessedFramesReachTheNextFilterWithTheirPlanes)
{
    TestFilterFolder folder;
    folder.Install("Intavo1.vdd");
    folder.Install("Motiscan4.vdd");
    ASSERT_TRUE(CopyFileA((BinFolder() + "\\Tonalis1.vdd").c_str(), (folder.Path() + "\\Tonalis1.vdd").c_str(), FALSE));
    TestFilterJournal detector(folder.Path() + "\\Motiscan4.vdd");
    auto controller = std::make_unique<TestControlDataPath1>(folder.Path());
    std::vector<int32_t> made;
    ASSERT_EQ(controller->MakeFilters({"Intavo1.vdd", "Tonalis1.vdd", "Motiscan4.vdd"}, &made), S_OK);
    ASSERT_EQ(controller->Link(made[0], 0, made[1], 0), S_OK);
    ASSERT_EQ(controller->Link(made[1], 0, made[2], 0), S_OK);
    ObjectDataPath1* correction = controller->FilterAt(made[1]);
    ObjectDataPath1* next = controller->FilterAt(made[2]);

    // The test source hands over empty planes; the correction filter gets a picture instead.
    std::vector<std::vector<int32_t>> slotsSeen;
    std::vector<int16_t> samplesSeen;
    controller->m_route_hook = [&](ObjectDataPath1* filter, InfoDataBufferPath1* frame, ObjectAllocatorBufferDataPath1*,
                                   ListEventsDataPath1*) {
        if (filter == correction)
            MakeTestFrame(*frame, TestFrameFormat::Yuy2, 64, 32, UniformLuma(90), frame->m_number_frame);
        if (filter != next)
            return;
        std::vector<int32_t> slots;
        for (uint32_t k = 0; k < InfoDataBufferPath1::kNumberChildren; ++k)
            slots.push_back(frame->m_index_child.GetElement(k));
        slotsSeen.push_back(slots);
        if (InfoDataBufferPath1* small = GetFrameChildPlane(*frame, FrameChildSlot::Luma(3)))
            samplesSeen.push_back(PlaneSample(*small, 7, 3));
    };
    ASSERT_GE(controller->PumpTicks(3), 0);
    controller->m_route_hook = nullptr;

    EXPECT_EQ(detector.LinesStartingWith("TransformFilter").size(), 3u);
    ASSERT_EQ(slotsSeen.size(), 3u);
    const std::vector<int32_t> yuy2Slots = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, -1, -1};
    for (const auto& slots : slotsSeen)
        EXPECT_EQ(slots, yuy2Slots);
    // The default brightness adds 30 to the flat picture; the temporal blend, whose two terms are
    // each truncated, then takes up to two levels off the still picture.
    ASSERT_EQ(samplesSeen.size(), 3u);
    EXPECT_EQ(samplesSeen[0], 120);
    for (const int16_t sample : samplesSeen) {
        EXPECT_GE(sample, 118);
        EXPECT_LE(sample, 120);
    }
    controller.reset();
}
