// The capture path from a source's format record, the local video camera and the reader-to-network
// paths of an archive list, on the test plug-in kit.
#include "CapturePathTestSupport.h"

#include "need_interface.h"

#include "LogCapture.h"

#include <gtest/gtest.h>

namespace {

class ArchivePathTest : public CapturePathTest
{
protected:
    ArchivePathTest() { m_list.m_flags = InfoArchiveListDataPath1::kRebuildPaths; }

    void SetStreams(std::vector<std::pair<int32_t, int32_t>> streams)
    {
        m_list.m_count = static_cast<int32_t>(streams.size());
        for (size_t k = 0; k < streams.size(); ++k) {
            m_list.m_first_ids[k] = streams[k].first;
            m_list.m_second_ids[k] = streams[k].second;
        }
    }
    size_t CountLines(const std::string& file, const std::string& start) const
    {
        return Journal(file).LinesStartingWith(start).size();
    }
    uint32_t CountFilters()
    {
        DynamicBoundsObject<int32_t> ids;
        m_controller.GetAllIDObjectsFromFilters(&ids);
        return ids.GetCount();
    }

    TestControlDataPath1 m_controller{m_folder.Path()};
    InfoArchiveListDataPath1 m_list = {};
};

} // namespace

TEST_F(ArchivePathTest, StreamsGetAReaderAndASenderOfTheirKind)
{
    SetStreams({{5, 1}, {6, 2}, {7, 5}});
    ASSERT_EQ(m_controller.SetHandleClientForComServer(1, 66), S_OK);
    ASSERT_EQ(m_controller.RefreshPathForNetworkArhive(&m_list), S_OK);
    EXPECT_EQ(Calls("Ostrel2.vdd", "IID_IControlNetworkSend1", 2),
              (std::vector<std::string>{"[0x1:5] [0x1:7]", "[0x1:6] [0x1:8]", "[0x1:7] [0x1:0]"}));
    EXPECT_EQ(Calls("Ostrel2.vdd", "IID_IControlNetworkSend1", 7).at(0), "[0x1:66]");
    EXPECT_EQ(Calls("Ostrel2.vdd", "IID_IControlNetworkSend1", 8).at(0), "[0x1:4294967295] [0x4:0]");
    EXPECT_EQ(Methods("Marrisk1.vdd", "IID_IReadFromFileForWriteServer2"),
              (std::vector<int>{12, 0, 4, 7, 9, 12, 0, 4, 7, 9, 12, 0, 4, 7, 9}));
    EXPECT_EQ(Calls("Marrisk1.vdd", "IID_IReadFromFileForWriteServer2", 0).at(1), "[0x1:6] [0x1:2]");
    for (int32_t reader : {0, 2, 4})
        EXPECT_EQ(OutputPeer(m_controller, reader, 0), m_controller.FilterAt(reader + 1)) << reader;
}

TEST_F(ArchivePathTest, RefreshingTheSameListTwiceBuildsOnceAndADroppedStreamLosesItsPath)
{
    SetStreams({{5, 1}, {6, 2}, {7, 5}});
    ASSERT_EQ(m_controller.RefreshPathForNetworkArhive(&m_list), S_OK);
    ASSERT_EQ(m_controller.RefreshPathForNetworkArhive(&m_list), S_OK);
    EXPECT_EQ(CountLines("Marrisk1.vdd", "InitInfoFilter"), 3u);
    EXPECT_EQ(Calls("Marrisk1.vdd", "IID_IReadFromFileForWriteServer2", 13).size(), 3u);
    EXPECT_EQ(CountFilters(), 6u);

    SetStreams({{5, 1}, {7, 5}, {8, 1}});
    ASSERT_EQ(m_controller.RefreshPathForNetworkArhive(&m_list), S_OK);
    EXPECT_EQ(CountLines("Marrisk1.vdd", "FreeInfoFilter"), 1u);
    EXPECT_EQ(CountLines("Ostrel2.vdd", "FreeInfoFilter"), 1u) << "everything behind the reader goes with it";
    EXPECT_EQ(Calls("Marrisk1.vdd", "IID_IReadFromFileForWriteServer2", 0).back(), "[0x1:8] [0x1:1]");
    EXPECT_EQ(CountFilters(), 6u);
}

TEST_F(ArchivePathTest, SettingsFlagsReachEveryReader)
{
    SetStreams({{5, 1}, {6, 2}});
    ASSERT_EQ(m_controller.RefreshPathForNetworkArhive(&m_list), S_OK);
    Journal("Marrisk1.vdd").Clear();
    m_list.m_flags = InfoArchiveListDataPath1::kSendByteSetting | InfoArchiveListDataPath1::kSendTime |
                     InfoArchiveListDataPath1::kSendFloatSetting;
    m_list.m_byte_setting = 3;
    ASSERT_EQ(m_controller.RefreshPathForNetworkArhive(&m_list), S_OK);
    EXPECT_EQ(Methods("Marrisk1.vdd", "IID_IReadFromFileForWriteServer2"), (std::vector<int>{7, 7, 4, 4, 9, 9}));
    EXPECT_EQ(Calls("Marrisk1.vdd", "IID_IReadFromFileForWriteServer2", 7).at(0), "[0x1:3]");
}

// Mend: a list that claims more streams than it holds is refused before anything is done.
TEST_F(ArchivePathTest, AListOfMoreThan512StreamsIsRefused)
{
    m_list.m_count = 513;
    EXPECT_EQ(m_controller.RefreshPathForNetworkArhive(&m_list), E_UNEXPECTED);
    EXPECT_EQ(CountLines("Marrisk1.vdd", "InitInfoFilter"), 0u);
    EXPECT_EQ(m_controller.RefreshPathForNetworkArhive(nullptr), E_INVALIDARG);
}

TEST(ArchivePathWithoutSender, AMissingSenderPlugInFailsThePathAndLeavesNothing)
{
    TestFilterFolder folder;
    folder.Install("Marrisk1.vdd");
    TestControlDataPath1 controller(folder.Path());
    InfoArchiveListDataPath1 list = {};
    list.m_flags = InfoArchiveListDataPath1::kRebuildPaths;
    list.m_count = 1;
    list.m_first_ids[0] = 5;
    list.m_second_ids[0] = 1;
    EXPECT_EQ(controller.RefreshPathForNetworkArhive(&list), E_FAIL);
    DynamicBoundsObject<int32_t> ids;
    controller.GetAllIDObjectsFromFilters(&ids);
    EXPECT_EQ(ids.GetCount(), 0u);
}

TEST_F(ArchivePathTest, TheThreeNetworkOperationsAnswerZeroAndDoNothing)
{
    InfoNeedInterface record;
    int nodes = 0;
    EXPECT_EQ(m_controller.CreateNetworkCapturePathFromFormat1(&nodes, 1, nullptr, &record, 0, 0, 0, 0, 0, 0, 0, 0,
                                                               nullptr, 1, nullptr),
              S_OK);
    EXPECT_EQ(m_controller.CreateNetworkDataPathForReciveArhive(0, 0), S_OK);
    EXPECT_EQ(m_controller.CreateReciveDataPathForReciverServer(1, 2, 3, 4, 5, 6), S_OK);
    EXPECT_EQ(CountFilters(), 0u);
}

// ---- Capture path from a format record ------------------------------------------------------------

TEST_F(ArchivePathTest, CaptureFromAFormatRecordGivesTheSourceItsRecordAndReadsOnFromItsNode)
{
    FormatGraphNodes graph;
    const int32_t device = graph.Add(TypeNodeCaptureDevice);
    graph.Link(device, graph.AddFormat(31, L"Hall"));
    InfoNeedInterface record;
    record.m_id_camera = device;
    ASSERT_EQ(m_controller.CreateCapturePathFromFormat1(graph.Data(), graph.Count(), nullptr, &record, 0, 0, 0, 0, 0,
                                                        0, 0, 0, nullptr, 4, nullptr),
              S_OK);
    EXPECT_EQ(Calls("Intavo1.vdd", "IID_IControlDriverDirectShow", 0), (std::vector<std::string>{"[0x1000005:ptr]"}));
    EXPECT_EQ(Calls("Intavo1.vdd", "IID_IControlOptimProcessor", 1), (std::vector<std::string>{"[0x1:4]"}));
    EXPECT_EQ(Calls("Camwell1.vdd", "IID_IInfoCamera", 2).at(0), "[0x1:31] [0x1:1]");
    EXPECT_TRUE(FileNameEndsWith(OutputPeer(m_controller, 0, 0), "Tonalis1.vdd"));
}

TEST_F(ArchivePathTest, CaptureFromAFormatRecordRefusesACountOfZeroBeforeLoading)
{
    InfoNeedInterface record;
    int nodes = 0;
    const HRESULT answer = m_controller.RunOnWorker([&] {
        return m_controller.CreateCapturePathFromFormat1Real(&nodes, 0, nullptr, &record, 0, 0, 0, 0, 0, 0, 0, 0,
                                                             nullptr, 0, 1, nullptr);
    });
    EXPECT_EQ(answer, E_UNEXPECTED);
    EXPECT_EQ(CountLines("Intavo1.vdd", "InitInfoFilter"), 0u);
}

TEST_F(ArchivePathTest, ASourceThatRefusesTheRecordIsRemoved)
{
    LogCapture log;
    Journal("Intavo1.vdd").SetCallResult(IID_IControlDriverDirectShow, 0, E_FAIL);
    FormatGraphNodes graph;
    graph.Add(TypeNodeCaptureDevice);
    InfoNeedInterface record;
    record.m_name_device = "Porch camera";
    record.m_id_camera = 1;
    EXPECT_EQ(m_controller.CreateCapturePathFromFormat1(graph.Data(), 1, nullptr, &record, 0, 0, 0, 0, 0, 0, 0, 0,
                                                        nullptr, 1, nullptr),
              E_FAIL);
    Journal("Intavo1.vdd").SetCallResult(IID_IControlDriverDirectShow, 0, S_OK);
    EXPECT_TRUE(log.Contains("Porch camera"));
    EXPECT_EQ(CountLines("Intavo1.vdd", "FreeInfoFilter"), 1u);
    EXPECT_EQ(CountFilters(), 0u);
}

// ---- Local video camera ----------------------------------------------------------------------------

namespace {

class LocalCameraTest : public ArchivePathTest
{
protected:
    LocalCameraTest()
    {
        m_codecs.m_count = 2;
        m_codecs.m_names[0] = "MJPG";
        m_codecs.m_names[1] = "H264";
        m_settings.cameraId = 12;
        m_settings.intSettings[0] = 25;
        m_settings.codecList = &m_codecs;
    }

    InfoCodecListDataPath1 m_codecs = {};
    InfoDriverForMixerDataPath1 m_settings;
};

uint64_t TaskHeapInUse()
{
    uint64_t total = 0;
    SAFE_GET_INFO_HEAP(false, &total, nullptr);
    return total;
}

} // namespace

TEST_F(LocalCameraTest, TheReaderFeedsTheCodecAndTheCapturePathContinuesBehindIt)
{
    ASSERT_EQ(m_controller.CreateLocalVideoCamera(&m_settings, 0), S_OK);
    EXPECT_EQ(Journal("Parvex.vdd").LinesStartingWith("CodecNames").at(0), "CodecNames MJPG,H264");
    EXPECT_EQ(Methods("Marrisk1.vdd", "IID_IReadFromFileForWriteServer2"), (std::vector<int>{12, 0, 4, 7, 9}));
    EXPECT_EQ(Calls("Marrisk1.vdd", "IID_IReadFromFileForWriteServer2", 0).at(0), "[0x1:12] [0x1:1]");
    EXPECT_EQ(Calls("Marrisk1.vdd", "IID_IReadFromFileForWriteServer2", 7).at(0), "[0x1:25]");
    EXPECT_TRUE(FileNameEndsWith(OutputPeer(m_controller, 0, 0), "Parvex.vdd"));
    EXPECT_TRUE(FileNameEndsWith(OutputPeer(m_controller, 1, 0), "Tonalis1.vdd"));
}

// Mend: the codec names are copied for the call and freed after it.
TEST_F(LocalCameraTest, TheCodecNameCopiesAreFreedAfterTheCall)
{
    ASSERT_EQ(m_controller.CreateLocalVideoCamera(&m_settings, 0), S_OK);
    ASSERT_EQ(m_controller.DeleteAllGraph(), S_OK);
    const uint64_t before = TaskHeapInUse();
    ASSERT_EQ(m_controller.CreateLocalVideoCamera(&m_settings, 0), S_OK);
    ASSERT_EQ(m_controller.DeleteAllGraph(), S_OK);
    EXPECT_EQ(TaskHeapInUse(), before);
}

// Mend: more names than the list holds is refused as fewer than one is.
TEST_F(LocalCameraTest, ACodecCountOutsideOneTo32FailsAfterLoading)
{
    for (int32_t count : {0, 33}) {
        m_codecs.m_count = count;
        EXPECT_EQ(m_controller.CreateLocalVideoCamera(&m_settings, 0), E_UNEXPECTED) << count;
    }
    EXPECT_TRUE(Methods("Marrisk1.vdd", "IID_IReadFromFileForWriteServer2").empty());
    EXPECT_EQ(m_controller.CreateLocalVideoCamera(nullptr, 0), E_INVALIDARG);
}
