// Capture paths: the reader of a path description and the recipe of one capture format, on the
// test plug-in kit under the names the recipe loads.
#include "CapturePathTestSupport.h"

#include "LogCapture.h"

#include <gtest/gtest.h>

namespace {

// Sees every capture format the reader hands to the recipe, then lets the recipe build it.
class RecordingControlDataPath1 : public TestControlDataPath1
{
public:
    using TestControlDataPath1::TestControlDataPath1;
    ~RecordingControlDataPath1() override { Shutdown(); }

    struct Call
    {
        ObjectDataPath1* upstream;
        int32_t output;
        InfoDriverForMixerDataPath1 settings;
        int32_t formatCameraId;
        void* clients;
        void* codecFormats;
    };

    HRESULT CreateCapturePathFromDriverInfo(ObjectDataPath1* upstream, int32_t output,
                                            InfoDriverForMixerDataPath1* settings, void* clients,
                                            void* codecFormats) override
    {
        m_calls.push_back({upstream, output, *settings, settings->format ? settings->format->cameraId : -99, clients,
                           codecFormats});
        return m_build ? TestControlDataPath1::CreateCapturePathFromDriverInfo(upstream, output, settings, clients,
                                                                               codecFormats)
                       : S_OK;
    }

    std::vector<Call> m_calls;
    bool m_build = false;
};

class FormatGraphReaderTest : public CapturePathTest
{
protected:
    // Reads the graph from the node on the worker, below a fresh source filter.
    HRESULT Read(int32_t startId, int32_t options = 0)
    {
        std::vector<int32_t> made;
        EXPECT_EQ(m_controller.MakeFilters({"Intavo1.vdd"}, &made), S_OK);
        m_source = made.at(0);
        return m_controller.RunOnWorker([&] {
            return m_controller.CreatePathFromFormatGraph(m_graph.Data(), m_graph.Count(), startId, nullptr,
                                                          m_controller.FilterAt(m_source), options, options == 0, 1, 0,
                                                          1, 0, 7, 8, 1, 0, &m_clients, &m_formats, 4, &m_codecs);
        });
    }

    RecordingControlDataPath1 m_controller{m_folder.Path()};
    FormatGraphNodes m_graph;
    int32_t m_source = -1;
    int m_clients = 0;
    int m_formats = 0;
    int m_codecs = 0;
};

} // namespace

TEST_F(FormatGraphReaderTest, FollowsTheFirstOutputCountLinksAndHandsOnTheOptions)
{
    const int32_t start = m_graph.Add(TypeNodeCaptureDevice);
    for (int32_t cameraId : {11, 12, 13})
        m_graph.Link(start, m_graph.AddFormat(cameraId, L"Door"));
    m_graph.Node(start).outputCount = 2;
    ASSERT_EQ(Read(start), S_OK);
    ASSERT_EQ(m_controller.m_calls.size(), 2u);
    for (int k = 0; k < 2; ++k) {
        const RecordingControlDataPath1::Call& call = m_controller.m_calls[k];
        const InfoDriverForMixerDataPath1& settings = call.settings;
        EXPECT_EQ(call.upstream, m_controller.FilterAt(m_source));
        EXPECT_EQ(call.output, k) << "the link's position";
        EXPECT_EQ(settings.cameraId, 11 + k);
        EXPECT_EQ(call.formatCameraId, 11 + k);
        EXPECT_STREQ(settings.name.GetString(), "Door");
        EXPECT_EQ(std::vector<int>(settings.outputModes, settings.outputModes + 4), (std::vector<int>{1, 0, 1, 0}));
        EXPECT_EQ(std::vector<int>(settings.intSettings, settings.intSettings + 3), (std::vector<int>{0, 7, 8}));
        EXPECT_EQ(settings.spareFlags[0], 1);
        EXPECT_EQ(settings.spareFlags[1], 0);
        EXPECT_EQ(settings.processorMode, 4);
        EXPECT_EQ(settings.codecList, &m_codecs);
        EXPECT_EQ(call.clients, &m_clients);
        EXPECT_EQ(call.codecFormats, &m_formats);
        EXPECT_EQ(settings.firstStreamEnabled + settings.secondStreamEnabled + settings.networkSendEnabled, 3);
        EXPECT_EQ(settings.detectorEnabled, 1);
        EXPECT_EQ(settings.cameraSubId, 1);
        EXPECT_EQ(settings.outputOptionFlag, 1);
    }

    m_controller.m_calls.clear();
    m_graph.Node(start).enabled = 1;
    m_graph.Node(m_graph.Node(start).outputs[0]).enabled = 0;
    ASSERT_EQ(Read(start, 3), S_OK);
    ASSERT_EQ(m_controller.m_calls.size(), 1u) << "a disabled node is passed over";
    EXPECT_EQ(m_controller.m_calls[0].output, 3) << "the output argument without link positions";
}

TEST_F(FormatGraphReaderTest, BuildsFilterNodesAndDropsTheBranchOfOneThatCannotLoad)
{
    LogCapture log;
    const int32_t start = m_graph.Add(TypeNodeCaptureDevice);
    const int32_t filter = m_graph.AddFilter(L"Tonalis1.vdd");
    m_graph.Link(start, filter);
    m_graph.Link(filter, m_graph.AddFormat(21, L"Yard"));
    m_graph.Link(start, m_graph.AddFilter(L"Missing1.vdd"));
    EXPECT_EQ(Read(start), E_FAIL) << "the last creation failed";
    EXPECT_TRUE(log.Contains("end dump error filters"));
    EXPECT_EQ(Journal("Tonalis1.vdd").LinesStartingWith("InitInfoFilter").size(), 1u);
    ASSERT_EQ(m_controller.m_calls.size(), 1u);
    ObjectDataPath1* correction = m_controller.m_calls[0].upstream;
    EXPECT_EQ(m_controller.m_calls[0].output, 0);
    EXPECT_EQ(m_controller.m_calls[0].settings.cameraId, 21);
    EXPECT_EQ(OutputPeer(m_controller, m_source, 0), correction) << "linked at the link's position";
}

TEST_F(FormatGraphReaderTest, RefusesBadArgumentsAnUnknownStartAndACycle)
{
    const int32_t start = m_graph.Add(TypeNodeCaptureDevice);
    const int32_t a = m_graph.AddFilter(L"Tonalis1.vdd");
    const int32_t b = m_graph.AddFilter(L"Tonalis1.vdd");
    m_graph.Link(start, a);
    m_graph.Link(a, b);
    m_graph.Link(b, a);
    std::vector<int32_t> made;
    ASSERT_EQ(m_controller.MakeFilters({"Intavo1.vdd"}, &made), S_OK);
    const HRESULT answers[3] = {E_INVALIDARG, E_UNEXPECTED, E_FAIL};
    const int32_t counts[3] = {1, 0, 3};
    for (int k = 0; k < 3; ++k)
        EXPECT_EQ(m_controller.RunOnWorker([&] {
            return m_controller.CreatePathFromFormatGraph(k == 0 ? nullptr : m_graph.Data(), counts[k], 99, nullptr,
                                                          m_controller.FilterAt(made[0]), 0, true, 0, 0, 0, 0, 0, 0,
                                                          0, 0, nullptr, nullptr, 1, nullptr);
        }),
                  answers[k])
            << k;
    EXPECT_EQ(Read(start), E_FAIL) << "a cycle in the links";
}

// ---- The recipe of one capture format -------------------------------------------------------------

namespace {

class CaptureRecipeTest : public CapturePathTest
{
protected:
    CaptureRecipeTest()
    {
        m_format.cameraId = 42;
        m_settings.name = "Door";
        m_settings.cameraId = 42;
        m_settings.cameraSubId = 1;
        m_settings.firstStreamEnabled = 1;
        m_settings.secondStreamEnabled = 1;
        m_settings.networkSendEnabled = 1;
        m_settings.processorMode = 4;
        m_settings.outputModes[0] = 1;
        m_settings.format = &m_format;
    }

    HRESULT Build(void* clients = nullptr)
    {
        std::vector<int32_t> made;
        EXPECT_EQ(m_controller.MakeFilters({"Intavo1.vdd"}, &made), S_OK);
        m_source = made.at(0);
        return m_controller.RunOnWorker([&] {
            return m_controller.CreateCapturePathFromDriverInfo(m_controller.FilterAt(m_source), 0, &m_settings,
                                                                clients, nullptr);
        });
    }

    TestControlDataPath1 m_controller{m_folder.Path()};
    StructFormatGraph1 m_format;
    InfoDriverForMixerDataPath1 m_settings;
    int32_t m_source = -1;
};

} // namespace

TEST_F(CaptureRecipeTest, LoadsTheNineFiltersInOrderAndConfiguresEach)
{
    ASSERT_EQ(Build(), S_OK);
    const char* names[9] = {"Camwell1.vdd",  "RendaraGeneral.vdd", "Parvex.vdd",  "Parvex.vdd",  "Ostrel2.vdd",
                            "Ostrel2.vdd",   "Motiscan4.vdd",      "Pellow1.vdd", "Tonalis1.vdd"};
    for (int32_t k = 0; k < 9; ++k)
        EXPECT_TRUE(FileNameEndsWith(m_controller.FilterAt(m_source + 1 + k), names[k])) << k;

    EXPECT_EQ(Methods("RendaraGeneral.vdd", "IID_IVideoOutputRender1"),
              (std::vector<int>{28, 24, 23, 17, 11, 5, 16, 3, 15, 15, 15, 15, 15, 15, 4, 29}));
    const std::vector<std::string> items = Calls("RendaraGeneral.vdd", "IID_IVideoOutputRender1", 15);
    ASSERT_EQ(items.size(), 6u);
    EXPECT_EQ(items[3], "[0x3:3] [0x4:1] [0x4:0]");
    EXPECT_EQ(items[4], "[0x3:4] [0x4:0] [0x4:0]");
    EXPECT_EQ(items[5], "[0x3:2] [0x4:0] [0x4:1]");
    EXPECT_EQ(Calls("RendaraGeneral.vdd", "IID_IVideoOutputRender1", 11).at(0), "[0x3:3] [0x1000008:Door]");
    EXPECT_EQ(Methods("Camwell1.vdd", "IID_IInfoCamera"), (std::vector<int>{4, 8, 0, 2, 6, 7}));
    EXPECT_EQ(Calls("Camwell1.vdd", "IID_IGrabberFrames", 1).at(0), "[0x4:0]");
    EXPECT_EQ(Methods("Camwell1.vdd", "IID_IControlRateData"), (std::vector<int>{0, 0, 0}));
    EXPECT_EQ(Methods("Tonalis1.vdd", "IID_IControlCorrectVideoData"), (std::vector<int>{0, 5, 7, 9, 10, 11}));
    EXPECT_EQ(Calls("Parvex.vdd", "IID_IFilter_VideoCompress", 3), (std::vector<std::string>{"[0x1:1]", "[0x1:2]"}));
    EXPECT_EQ(Methods("Pellow1.vdd", "IID_IWriteInFileForWriteServer2"), (std::vector<int>{2, 0, 1}));
    EXPECT_EQ(Calls("Ostrel2.vdd", "IID_IControlNetworkSend1", 2),
              (std::vector<std::string>{"[0x1:42] [0x1:3]", "[0x1:42] [0x1:4]"}));
    EXPECT_EQ(Calls("Motiscan4.vdd", "IID_IControlVideoDetector", 6).at(0), "[0x1000005:ptr] [0x3:10652]");

    ObjectDataPath1* camera = m_controller.FilterAt(m_source + 1);
    EXPECT_EQ(OutputPeer(m_controller, m_source, 0), m_controller.FilterAt(m_source + 9));
    EXPECT_EQ(OutputPeer(m_controller, m_source + 7, 0), camera) << "detector to camera";
    EXPECT_EQ(OutputPeer(m_controller, m_source + 1, 2), m_controller.FilterAt(m_source + 2)) << "view to output";
    EXPECT_EQ(OutputPeer(m_controller, m_source + 5, 0), m_controller.FilterAt(m_source + 8)) << "sender to writer";
}

TEST_F(CaptureRecipeTest, TheSecondSubIdSendsOnChannelsFiveAndSixToTheClientsOfTheCamera)
{
    InfoNetworkClientsDataPath1 clients = {};
    clients.m_count_lists = 2;
    clients.m_lists[0] = {{7}, 1, 0x0A000001};
    clients.m_lists[1] = {{5, 42}, 2, 0x7F000001};
    clients.m_output_values[0] = 9;
    clients.m_output_values[1] = 10;
    m_settings.cameraSubId = 2;
    m_settings.format = nullptr;
    ASSERT_EQ(Build(&clients), S_OK);
    EXPECT_EQ(Calls("Ostrel2.vdd", "IID_IControlNetworkSend1", 2),
              (std::vector<std::string>{"[0x1:42] [0x1:5]", "[0x1:42] [0x1:6]"}));
    // 127.0.0.1 in network byte order is the bytes 127, 0, 0, 1.
    EXPECT_EQ(Calls("Ostrel2.vdd", "IID_IControlNetworkSend1", 4),
              (std::vector<std::string>{"[0x1:16777343] [0x1:0]", "[0x1:16777343] [0x1:0]"}));
    EXPECT_EQ(Calls("RendaraGeneral.vdd", "IID_IVideoOutputRender1", 27),
              (std::vector<std::string>{"[0x1:3] [0x1:9]", "[0x1:4] [0x1:10]"}));
}

TEST_F(CaptureRecipeTest, WithoutAFormatRecordNoScheduleRateOrCodecCall)
{
    m_settings.format = nullptr;
    ASSERT_EQ(Build(), S_OK);
    EXPECT_EQ(Methods("Camwell1.vdd", "IID_IInfoCamera"), (std::vector<int>{4, 8, 0, 2, 7}));
    EXPECT_EQ(Methods("Tonalis1.vdd", "IID_IControlCorrectVideoData"), (std::vector<int>{0}));
    EXPECT_EQ(Calls("Camwell1.vdd", "IID_IGrabberFrames", 1).at(0), "[0x4:1]");
    EXPECT_TRUE(Methods("Camwell1.vdd", "IID_IControlRateData").empty());
    EXPECT_TRUE(Calls("Parvex.vdd", "IID_IFilter_VideoCompress", 0).empty());
    EXPECT_EQ(Calls("Motiscan4.vdd", "IID_IControlVideoDetector", 6).at(0), "[0x1000005:null] [0x3:10652]");
}

TEST_F(CaptureRecipeTest, DisabledPartsAreDeletedLastAndTheDetectorOffLinksCorrectionToCamera)
{
    m_settings.firstStreamEnabled = 0;
    m_settings.secondStreamEnabled = 0;
    m_settings.networkSendEnabled = 0;
    m_settings.detectorEnabled = 0;
    ASSERT_EQ(Build(), S_OK);
    EXPECT_EQ(Journal("Parvex.vdd").LinesStartingWith("FreeInfoFilter").size(), 2u);
    EXPECT_EQ(Journal("Ostrel2.vdd").LinesStartingWith("FreeInfoFilter").size(), 2u);
    EXPECT_EQ(Journal("Pellow1.vdd").LinesStartingWith("FreeInfoFilter").size(), 1u);
    EXPECT_EQ(Journal("Motiscan4.vdd").LinesStartingWith("FreeInfoFilter").size(), 1u);
    EXPECT_EQ(Journal("Motiscan4.vdd").Lines().back().rfind("FreeInfoFilter", 0), 0u) << "after its configuration";
    EXPECT_EQ(OutputPeer(m_controller, m_source + 9, 0), m_controller.FilterAt(m_source + 1)) << "correction to camera";
    EXPECT_EQ(OutputPeer(m_controller, m_source + 1, 2), m_controller.FilterAt(m_source + 2));
}

// Mend: a codec list that claims more names than it holds is not given; the path is still built.
TEST_F(CaptureRecipeTest, CodecListsGoToBothCodecsAndAnOverfullOneIsSkipped)
{
    InfoCodecListDataPath1 codecs = {};
    codecs.m_count = 2;
    codecs.m_names[0] = "MJPG";
    codecs.m_names[1] = "H264";
    m_settings.codecList = &codecs;
    ASSERT_EQ(Build(), S_OK);
    EXPECT_EQ(Calls("Parvex.vdd", "IID_IFilter_GeneralCompress", 0),
              (std::vector<std::string>{"[0x1000005:ptr] [0x1000005:ptr] [0x3:2]",
                                        "[0x1000005:ptr] [0x1000005:ptr] [0x3:2]"}));
    EXPECT_EQ(Journal("Parvex.vdd").LinesStartingWith("CodecNames"),
              (std::vector<std::string>{"CodecNames MJPG,H264", "CodecNames MJPG,H264"}));
    EXPECT_EQ(Calls("Parvex.vdd", "IID_IFilter_GeneralCompress", 1),
              (std::vector<std::string>{"[0x1000008:Codexa5.vvd]", "[0x1000008:Codexa5.vvd]"}));

    LogCapture log;
    Journal("Parvex.vdd").Clear();
    codecs.m_count = 33;
    EXPECT_EQ(Build(), S_OK);
    EXPECT_TRUE(Calls("Parvex.vdd", "IID_IFilter_GeneralCompress", 0).empty());
    EXPECT_TRUE(log.Contains("codec list count out of range"));
}
