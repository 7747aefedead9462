#include "ObjectConvertFormatGraph1.h"
#include "need_interface.h"

#include "MediaSubtypeGuids.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

using Graph = ObjectConvertFormatGraph1;

// A format graph in the task heap, built node by node as the editing pages build one.
class FormatGraphBuffer
{
public:
    ~FormatGraphBuffer() { SAFE_TASK_FREE(&m_buffer); }

    int32_t Add(int32_t kind)
    {
        auto node = std::make_unique<InfoNodeFormatGraph1>();
        node->Reset(kind, 0);
        return Graph::AddNode(&m_buffer, &m_size, node.get());
    }
    // A node with the id, as a graph read from a file carries it.
    void AddWithId(int32_t kind, int32_t id)
    {
        auto node = std::make_unique<InfoNodeFormatGraph1>();
        node->Reset(kind, id);
        ASSERT_EQ(Graph::AppendNode(&m_buffer, &m_size, node.get()), S_OK);
    }
    int32_t AddBelow(int32_t parent, int32_t kind)
    {
        const int32_t id = Add(kind);
        EXPECT_EQ(Link(parent, id), S_OK);
        return id;
    }
    HRESULT Link(int32_t from, int32_t to, int32_t outputSlot = -1, int32_t inputSlot = -1)
    {
        return Graph::LinkNodes(m_buffer, m_size, from, to, outputSlot, inputSlot);
    }
    InfoNodeFormatGraph1* Find(int32_t id) { return Graph::FindNodeByID(m_buffer, m_size, id); }

    template <class Payload>
    void Update(int32_t id, void (*change)(Payload&))
    {
        auto payload = std::make_unique<Payload>();
        Find(id)->ReadPayload(*payload);
        change(*payload);
        Find(id)->WritePayload(*payload);
    }
    void SetCameraId(int32_t id, int32_t cameraId)
    {
        auto format = std::make_unique<StructFormatGraph1>();
        Find(id)->ReadPayload(*format);
        format->cameraId = cameraId;
        Find(id)->WritePayload(*format);
    }
    int32_t CameraId(int32_t id)
    {
        auto format = std::make_unique<StructFormatGraph1>();
        Find(id)->ReadPayload(*format);
        return format->cameraId;
    }

    uint8_t* m_buffer = nullptr;
    uint32_t m_size = 0;
};

std::vector<int32_t> OutputsOf(const InfoNodeFormatGraph1& node)
{
    return std::vector<int32_t>(node.outputs, node.outputs + 4);
}

} // namespace

TEST(ConvertFormatGraph, MissingBufferSizeOrNodeAnswerAsAgreed)
{
    FormatGraphBuffer graph;
    int32_t ids[3] = {};
    EXPECT_EQ(Graph::FindNodeByID(nullptr, 0, 1), nullptr);
    EXPECT_EQ(Graph::GetFreeIds(nullptr, 100, ids, 3), E_INVALIDARG);
    graph.Add(TypeNodeComputer);
    EXPECT_EQ(Graph::GetFreeIds(graph.m_buffer, 0, ids, 3), E_UNEXPECTED);
    EXPECT_EQ(Graph::GetFreeIds(graph.m_buffer, graph.m_size, nullptr, 3), E_INVALIDARG);
    EXPECT_EQ(Graph::FindNodeByID(graph.m_buffer, graph.m_size, 2), nullptr);
    EXPECT_EQ(Graph::UnlinkNodes(graph.m_buffer, graph.m_size, 1, 2), E_FAIL);
    EXPECT_EQ(graph.Link(1, 2), E_UNEXPECTED);
    EXPECT_EQ(Graph::AddNode(nullptr, nullptr, nullptr), -1);
}

TEST(ConvertFormatGraph, FreeIdsSkipTheIdsInUse)
{
    FormatGraphBuffer graph;
    for (int32_t id : {1, 2, 4})
        graph.AddWithId(TypeNodeFilter, id);
    int32_t ids[3] = {};
    ASSERT_EQ(Graph::GetFreeIds(graph.m_buffer, graph.m_size, ids, 3), S_OK);
    EXPECT_EQ(std::vector<int32_t>(ids, ids + 3), (std::vector<int32_t>{3, 5, 6}));
    EXPECT_EQ(graph.Add(TypeNodeFilter), 3);
    EXPECT_EQ(graph.m_size, 4 * sizeof(InfoNodeFormatGraph1));
}

TEST(ConvertFormatGraph, LinksFillSlotsAndRefuseAFullSide)
{
    FormatGraphBuffer graph;
    const int32_t root = graph.Add(TypeNodeComputer);
    const int32_t a = graph.Add(TypeNodeCaptureDevice);
    const int32_t b = graph.Add(TypeNodeCaptureDevice);
    ASSERT_EQ(graph.Link(root, a, 2, 0), S_OK);
    ASSERT_EQ(graph.Link(root, b, -1, 0), S_OK);
    EXPECT_EQ(OutputsOf(*graph.Find(root)), (std::vector<int32_t>{b, -1, a, -1}));
    EXPECT_EQ(graph.Find(root)->outputCount, 2);
    EXPECT_EQ(graph.Find(a)->inputs[0], root);
    EXPECT_EQ(graph.Link(root, a, 64, 1), E_UNEXPECTED);
    EXPECT_EQ(graph.Link(root, a, 2, 1), E_UNEXPECTED) << "an occupied slot";

    for (uint32_t k = 2; k < InfoNodeFormatGraph1::kMaxLinks; ++k)
        graph.AddBelow(root, TypeNodeFilter);
    ASSERT_EQ(graph.Find(root)->outputCount, 64);
    const int32_t extra = graph.Add(TypeNodeFilter);
    EXPECT_EQ(graph.Link(root, extra, -1, 0), E_UNEXPECTED);
    EXPECT_EQ(graph.Find(extra)->inputs[0], -1);
}

TEST(ConvertFormatGraph, UnlinkAndDeleteClearBothSides)
{
    FormatGraphBuffer graph;
    const int32_t root = graph.Add(TypeNodeComputer);
    const int32_t device = graph.AddBelow(root, TypeNodeCaptureDevice);
    const int32_t format = graph.AddBelow(device, TypeNodeCaptureFormat);
    const int32_t other = graph.AddBelow(root, TypeNodeCaptureDevice);

    ASSERT_EQ(Graph::UnlinkNodes(graph.m_buffer, graph.m_size, root, other), S_OK);
    EXPECT_EQ(OutputsOf(*graph.Find(root)), (std::vector<int32_t>{device, -1, -1, -1}));
    EXPECT_EQ(graph.Find(root)->outputCount, 1);
    EXPECT_EQ(graph.Find(other)->inputCount, 0);
    EXPECT_EQ(graph.Find(other)->inputs[0], -1);

    ASSERT_EQ(Graph::DeleteNode(graph.m_buffer, graph.m_size, device), S_OK);
    EXPECT_EQ(graph.Find(device), nullptr);
    EXPECT_EQ(graph.Find(root)->outputs[0], -1);
    EXPECT_EQ(graph.Find(root)->outputCount, 0);
    EXPECT_EQ(graph.Find(format)->inputs[0], -1) << "a freed id must not stay linked";
    EXPECT_EQ(Graph::DeleteNode(graph.m_buffer, graph.m_size, device), E_FAIL);
}

TEST(ConvertFormatGraph, DeleteTreeTakesEveryDescendantAndSurvivesACycle)
{
    FormatGraphBuffer graph;
    const int32_t root = graph.Add(TypeNodeComputer);
    const int32_t device = graph.AddBelow(root, TypeNodeCaptureDevice);
    const int32_t filter = graph.AddBelow(device, TypeNodeFilter);
    const int32_t format1 = graph.AddBelow(filter, TypeNodeCaptureFormat);
    const int32_t format2 = graph.AddBelow(filter, TypeNodeCaptureFormat);
    const int32_t sibling = graph.AddBelow(root, TypeNodeCaptureDevice);

    ASSERT_EQ(Graph::DeleteNodeTree(graph.m_buffer, graph.m_size, device), S_OK);
    for (int32_t id : {device, filter, format1, format2})
        EXPECT_EQ(graph.Find(id), nullptr) << id;
    EXPECT_NE(graph.Find(sibling), nullptr);
    EXPECT_EQ(graph.Find(root)->outputCount, 1);

    const int32_t a = graph.AddBelow(sibling, TypeNodeFilter);
    const int32_t b = graph.AddBelow(a, TypeNodeFilter);
    ASSERT_EQ(graph.Link(b, a), S_OK);
    Graph::DeleteNodeTree(graph.m_buffer, graph.m_size, a);
    EXPECT_EQ(graph.Find(a), nullptr);
    EXPECT_EQ(graph.Find(b), nullptr);
}

TEST(ConvertFormatGraph, ReplaceKeepsTheParentsSlot)
{
    FormatGraphBuffer graph;
    const int32_t root = graph.Add(TypeNodeComputer);
    const int32_t first = graph.AddBelow(root, TypeNodeCaptureDevice);
    const int32_t device = graph.AddBelow(root, TypeNodeCaptureDevice);
    const int32_t old = graph.AddBelow(device, TypeNodeFilter);
    const int32_t below = graph.AddBelow(old, TypeNodeCaptureFormat);

    const int32_t format = Graph::ReplaceWithCaptureFormatNode(&graph.m_buffer, &graph.m_size, old);
    ASSERT_GT(format, 0);
    EXPECT_EQ(format, old) << "the lowest free id is given out again";
    EXPECT_EQ(graph.Find(below), nullptr);
    EXPECT_EQ(graph.Find(format)->kind, TypeNodeCaptureFormat);
    EXPECT_EQ(graph.Find(device)->outputs[0], format);
    EXPECT_EQ(graph.Find(format)->inputs[0], device);

    auto description = std::make_unique<InfoFilterNodeFormatGraph1>();
    std::memset(static_cast<void*>(description.get()), 0, sizeof(*description));
    description->m_file_name = L"Tonalis1.vdd";
    description->m_count_outputs = 3;
    const int32_t filter = Graph::ReplaceWithFilterNode(&graph.m_buffer, &graph.m_size, device, description.get());
    ASSERT_GT(filter, 0);
    DynamicBoundsObject<int32_t> formats;
    ASSERT_EQ(Graph::GetNodeIdsOfKind(graph.m_buffer, graph.m_size, TypeNodeCaptureFormat, &formats), S_OK);
    EXPECT_EQ(formats.GetCount(), 3u) << "the replaced device's format is gone, the filter's three are new";
    EXPECT_EQ(OutputsOf(*graph.Find(root))[0], first);
    EXPECT_EQ(OutputsOf(*graph.Find(root))[1], filter);
    const InfoNodeFormatGraph1* node = graph.Find(filter);
    EXPECT_EQ(node->kind, TypeNodeFilter);
    EXPECT_EQ(node->outputCount, 3);
    for (int k = 0; k < 3; ++k)
        EXPECT_EQ(graph.Find(node->outputs[k])->kind, TypeNodeCaptureFormat) << k;
    auto copied = std::make_unique<InfoFilterNodeFormatGraph1>();
    node->ReadPayload(*copied);
    EXPECT_STREQ(copied->m_file_name.GetString(), L"Tonalis1.vdd");

    EXPECT_EQ(Graph::ReplaceWithCaptureFormatNode(&graph.m_buffer, &graph.m_size, root), -1) << "no parent";
}

TEST(ConvertFormatGraph, NumberingGivesEveryCaptureFormatItsOwnCameraId)
{
    FormatGraphBuffer graph;
    std::vector<int32_t> formats;
    for (int32_t cameraId : {0, 5, 5, -1, 7}) {
        formats.push_back(graph.Add(TypeNodeCaptureFormat));
        graph.SetCameraId(formats.back(), cameraId);
    }
    graph.Find(formats[4])->inputCount = 90;
    DynamicBoundsObject<int32_t> ids;
    ids.Init(1, 4);
    ids.GetElement(0) = 7;
    int32_t counter = 1;
    ASSERT_EQ(Graph::NumberCaptureFormatNodes(graph.m_buffer, graph.m_size, &ids, &counter), S_OK);
    // 0 takes 1; the first 5 shares its id and takes 2, after which the second 5 is alone;
    // -1 takes 3; 7 is in the list already and takes 4.
    const std::vector<int32_t> expected = {1, 2, 5, 3, 4};
    ASSERT_EQ(ids.GetCount(), expected.size() + 1);
    for (uint32_t k = 0; k < expected.size(); ++k) {
        EXPECT_EQ(ids.GetElement(k + 1), expected[k]) << k;
        EXPECT_EQ(graph.CameraId(formats[k]), expected[k]) << k;
    }
    EXPECT_EQ(counter, 5);
    EXPECT_EQ(graph.Find(formats[4])->inputCount, 64) << "each node is checked first";
}

TEST(ConvertFormatGraph, ChainAndPathDisabled)
{
    FormatGraphBuffer graph;
    const int32_t root = graph.Add(TypeNodeComputer);
    const int32_t device = graph.AddBelow(root, TypeNodeCaptureDevice);
    const int32_t filter = graph.AddBelow(device, TypeNodeFilter);
    const int32_t format1 = graph.AddBelow(filter, TypeNodeCaptureFormat);
    const int32_t format2 = graph.AddBelow(filter, TypeNodeCaptureFormat);
    const int32_t leaf = graph.AddBelow(device, TypeNodeFilter);
    auto chain = [&](int32_t id) { return Graph::IsChainDisabled(graph.m_buffer, graph.m_size, id); };
    auto path = [&](int32_t id) { return Graph::IsPathDisabled(graph.m_buffer, graph.m_size, id); };

    EXPECT_EQ(chain(format1), 0);
    EXPECT_EQ(path(filter), 0);
    EXPECT_EQ(path(leaf), 0) << "a node without children";
    EXPECT_EQ(chain(99), 1);
    graph.Find(format1)->enabled = 0;
    EXPECT_EQ(chain(format1), 1);
    EXPECT_EQ(path(filter), 0) << "the second format is still on";
    graph.Find(format2)->payloadSize = 100;
    EXPECT_EQ(path(filter), 1);
    EXPECT_EQ(path(device), 0) << "the leaf filter answers 0";
    graph.Find(format2)->payloadSize = 10652;
    graph.Find(device)->enabled = 0;
    EXPECT_EQ(chain(format2), 1);
    EXPECT_EQ(path(root), 1);
}

namespace {

// The capture graph of a machine with five devices; the second sits behind the capture-card
// filter whose two outputs lead to an enabled and a disabled capture format.
class ConvertCaptureNodesTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        root = graph.Add(TypeNodeComputer);
        for (int k = 0; k < 5; ++k)
            devices.push_back(graph.AddBelow(root, TypeNodeCaptureDevice));
        graph.Update<InfoCaptureDeviceNodeFormatGraph1>(devices[0], [](InfoCaptureDeviceNodeFormatGraph1& device) {
            device.m_friendly_name = L"Front camera";
            device.m_frame_rate = 25;
            device.m_index_device = 1;
            device.m_value_carried2 = 77;
            device.m_bitmap_header.biWidth = 320;
        });
        const int32_t card = graph.AddBelow(devices[1], TypeNodeFilter);
        graph.Update<InfoFilterNodeFormatGraph1>(
            card, [](InfoFilterNodeFormatGraph1& filter) { filter.m_file_name = L"D.U.R.M.I.X.ConexantBT878"; });
        graph.AddBelow(card, TypeNodeCaptureFormat);
        graph.Find(graph.AddBelow(card, TypeNodeCaptureFormat))->enabled = 0;
        graph.Find(devices[2])->enabled = 0;
    }

    HRESULT Convert(int32_t maximum, uint32_t selection)
    {
        return Graph::ConvertCaptureNodes(graph.m_buffer, graph.m_size, records, &count, maximum, selection);
    }

    FormatGraphBuffer graph;
    int32_t root = 0;
    std::vector<int32_t> devices;
    InfoNeedInterface records[5];
    int32_t count = -1;
};

} // namespace

TEST_F(ConvertCaptureNodesTest, TakesAtMostTheMaximumInBufferOrder)
{
    ASSERT_EQ(Convert(2, Graph::kSelectEnabled), S_OK);
    ASSERT_EQ(count, 2);
    const InfoNeedInterface& front = records[0];
    EXPECT_STREQ(front.m_name_device.GetString(), "Front camera");
    EXPECT_EQ(front.m_id_camera, devices[0]);
    EXPECT_EQ(front.m_guid_category, media_guids::CLSID_VideoInputDeviceCategory);
    EXPECT_EQ(front.m_media_type.m_major_type, media_guids::MEDIATYPE_Video);
    EXPECT_EQ(front.m_media_type.m_subtype, media_guids::MEDIASUBTYPE_YUY2);
    EXPECT_EQ(front.m_media_type.m_format_type, media_guids::FORMAT_VideoInfo);
    EXPECT_EQ(front.m_media_type.m_bih.biWidth, 320);
    EXPECT_EQ(front.m_frame_rate, 25.0f);
    EXPECT_EQ(front.m_index_device, 1);
    EXPECT_EQ(front.m_value_from_node, 77);
    EXPECT_EQ(front.m_id_camera_from_node, 1);
    EXPECT_EQ(front.m_type_analog_video_standard, 16);
    EXPECT_EQ(front.m_enabled, 1);
    EXPECT_EQ(front.m_disabled, 1);
    EXPECT_EQ(front.m_guid_special.GetElement(0), GUID_NULL);

    const InfoNeedInterface& card = records[1];
    EXPECT_EQ(card.m_id_camera, devices[1]);
    EXPECT_EQ(card.m_guid_special.GetElement(0).Data1, 0x20869BA2u);
    EXPECT_EQ(card.m_table_flags.GetElement(0).GetElement(0), 1);
    EXPECT_EQ(card.m_table_flags.GetElement(0).GetElement(1), 0);
}

TEST_F(ConvertCaptureNodesTest, SelectionBitsChooseEnabledOrDisabledDevices)
{
    ASSERT_EQ(Convert(5, Graph::kSelectDisabled), S_OK);
    ASSERT_EQ(count, 1);
    EXPECT_EQ(records[0].m_id_camera, devices[2]);
    ASSERT_EQ(Convert(5, Graph::kSelectEnabled | Graph::kSelectDisabled), S_OK);
    EXPECT_EQ(count, 5);
    ASSERT_EQ(Convert(5, Graph::kSelectEnabled), S_OK);
    EXPECT_EQ(count, 4);
    EXPECT_EQ(records[2].m_id_camera, devices[3]);
    EXPECT_EQ(records[4].m_id_camera, 0) << "a place passed over is reset";
    EXPECT_EQ(Convert(0, Graph::kSelectEnabled), E_UNEXPECTED);
}
