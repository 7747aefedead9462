#include "GraphTestSupport.h"

#include "Sinkwell1Interfaces.h"

#include "ObjectDataPath1_InfoDataBufferPath1.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

const char kPairName[] = "Korvane Test Camera";
const char kSinkName[] = "QuillmarkSinkwell1";
const char kNullRendererName[] = "Null Renderer";

CLSID ClassOf(IBaseFilter* filter)
{
    CLSID classId = CLSID_NULL;
    if (filter != nullptr)
        filter->GetClassID(&classId);
    return classId;
}

// The class ids of the devices named kPairName, in the order the device enumerator lists them.
std::vector<CLSID> PairInEnumerationOrder()
{
    std::vector<CLSID> order;
    for (int32_t ordinal = 0;; ++ordinal) {
        SmartComPointer<IBaseFilter> filter;
        if (FAILED(FindDeviceFilterByFriendlyName(CLSID_VideoInputDeviceCategory, kPairName, ordinal,
                                                  filter.ReceiveSlot())))
            return order;
        order.push_back(ClassOf(filter.Get()));
    }
}

bool IsDeadEnd(IBaseFilter* filter)
{
    SmartComPointer<ISinkwellSampleExchange> exchange;
    return HasConnectedPin(filter, kDirectionOutputGraph) == S_FALSE &&
           FAILED(filter->QueryInterface(IID_ISinkwellSampleExchange, exchange.ReceiveVoidSlot()));
}

// A file source connected intelligently to the named filter of the legacy filter category.
struct FileChain
{
    explicit FileChain(const char* fileName, const char* targetName)
        : path(WriteSmallAvi(fileName))
    {
        EXPECT_EQ(AddSourceFilterForFile(graph.Get(), source.ReceiveSlot(), "Test name file filter", path.c_str()), S_OK);
        EXPECT_EQ(AddFilterByFriendlyName(graph.Get(), target.ReceiveSlot(), targetName, CLSID_LegacyAmFilterCategory, 0),
                  S_OK);
        connected = ConnectFilters(graph.Get(), source.Get(), target.Get(), nullptr, nullptr, false);
    }
    ~FileChain()
    {
        target.ReleasePointer("target.ReleasePointer::1");
        source.ReleasePointer("source.ReleasePointer::1");
        DeleteFileA(path.c_str());
    }

    std::string path;
    TestGraph graph;
    SmartComPointer<IBaseFilter> source;
    SmartComPointer<IBaseFilter> target;
    HRESULT connected = E_FAIL;
};

std::vector<std::string> NamesOf(const ListFiltersGraph& list)
{
    std::vector<std::string> names;
    for (uint32_t k = 0; k < list.GetCount(); ++k)
        names.push_back(NameOf(list.GetElement(k).Get()));
    return names;
}

} // namespace

TEST(GraphFunction, OrdinalsTellApartDevicesThatShareAFriendlyName)
{
    const std::vector<CLSID> order = PairInEnumerationOrder();
    ASSERT_EQ(order.size(), 2u);
    EXPECT_FALSE(IsEqualCLSID(order[0], order[1]));
    for (const CLSID& classId : order)
        EXPECT_TRUE(IsEqualCLSID(classId, CLSID_TestCaptureDeviceFirst) || IsEqualCLSID(classId, CLSID_TestCaptureDeviceSecond));

    TestGraph graph;
    for (int32_t ordinal = 0; ordinal < 2; ++ordinal) {
        SmartComPointer<IBaseFilter> added;
        ASSERT_EQ(AddFilterByFriendlyName(graph.Get(), added.ReceiveSlot(), kPairName, CLSID_VideoInputDeviceCategory,
                                          ordinal),
                  S_OK);
        EXPECT_TRUE(IsEqualCLSID(ClassOf(added.Get()), order[static_cast<size_t>(ordinal)])) << ordinal;
    }
    IBaseFilter* none = reinterpret_cast<IBaseFilter*>(1);
    EXPECT_EQ(FindDeviceFilterByFriendlyName(CLSID_VideoInputDeviceCategory, kPairName, 2, &none), E_FAIL);
    EXPECT_EQ(none, nullptr);
    EXPECT_EQ(AddFilterByFriendlyName(graph.Get(), &none, kPairName, CLSID_VideoInputDeviceCategory, -1), E_UNEXPECTED);

    SmartComPointer<IBaseFilter> solo;
    ASSERT_EQ(FindDeviceFilterByFriendlyName(CLSID_VideoInputDeviceCategory, "Korvane Test Camera Solo", 0,
                                             solo.ReceiveSlot()),
              S_OK);
    EXPECT_TRUE(IsEqualCLSID(ClassOf(solo.Get()), CLSID_TestCaptureDeviceSolo));
}

TEST(GraphFunction, NoMatchOrAnEmptyCategoryGivesFailureAndNoFilter)
{
    // {1D1E6A8B-0F6E-4C55-9A2E-5D1B8E3C7A90}: a category nobody registered in.
    const GUID emptyCategory = {0x1d1e6a8b, 0x0f6e, 0x4c55, {0x9a, 0x2e, 0x5d, 0x1b, 0x8e, 0x3c, 0x7a, 0x90}};
    struct Case
    {
        const GUID* category;
        const char* name;
    };
    const Case cases[] = {{&CLSID_VideoInputDeviceCategory, "No such camera"}, {&emptyCategory, kPairName}};
    TestGraph graph;
    for (const Case& c : cases) {
        IBaseFilter* filter = reinterpret_cast<IBaseFilter*>(1);
        EXPECT_EQ(FindDeviceFilterByFriendlyName(*c.category, c.name, 0, &filter), E_FAIL) << c.name;
        EXPECT_EQ(filter, nullptr);
        filter = reinterpret_cast<IBaseFilter*>(1);
        EXPECT_EQ(AddFilterByFriendlyName(graph.Get(), &filter, c.name, *c.category, 0), E_FAIL) << c.name;
        EXPECT_EQ(filter, nullptr);
    }
    EXPECT_TRUE(graph.FilterNames().empty());
}

TEST(GraphFunction, FiltersOfOneNameGetTheNameThenTheNameWithACounter)
{
    TestGraph graph;
    for (const char* expected : {"Null Renderer", "Null Renderer0", "Null Renderer1"}) {
        SmartComPointer<IBaseFilter> added;
        ASSERT_EQ(AddFilterByFriendlyName(graph.Get(), added.ReceiveSlot(), kNullRendererName,
                                          CLSID_LegacyAmFilterCategory, 0),
                  S_OK);
        EXPECT_EQ(NameOf(added.Get()), expected);
    }
}

TEST(GraphFunction, AFileConnectedIntelligentlyIntoTheSinkKeepsItsChainWhenPruned)
{
    FileChain chain("sink", kSinkName);
    ASSERT_EQ(chain.connected, S_OK);
    const size_t before = chain.graph.FilterNames().size();
    ASSERT_GE(before, 3u) << "source, splitter, sink";
    EXPECT_EQ(RemoveDeadEndFilters(chain.graph.Get(), chain.source.Get(), &IsDeadEnd), S_OK);
    EXPECT_EQ(chain.graph.FilterNames().size(), before);
    EXPECT_EQ(HasConnectedPin(chain.target.Get(), kDirectionInputGraph), S_OK);

    ListFiltersGraph heads;
    ASSERT_EQ(GetHeadFilters(chain.graph.Get(), heads, kDirectionInputGraph), S_OK);
    EXPECT_EQ(NamesOf(heads), std::vector<std::string>{"Test name file filter"});
    ASSERT_EQ(GetHeadFilters(chain.graph.Get(), heads, kDirectionOutputGraph), S_OK);
    EXPECT_EQ(NamesOf(heads), std::vector<std::string>{kSinkName});
    EXPECT_EQ(GetHeadFilters(chain.graph.Get(), heads, 2), E_FAIL);
    EXPECT_EQ(heads.GetCount(), 0u);

    ListFiltersGraph sinks;
    EXPECT_EQ(GetFiltersWithInterface(chain.graph.Get(), sinks, IID_ISinkwellSampleExchange), S_FALSE);
    EXPECT_EQ(NamesOf(sinks), std::vector<std::string>{kSinkName});
}

TEST(GraphFunction, PruningTakesOutEveryFilterOfAChainThatEndsBesideTheSink)
{
    // File source, splitter, Null Renderer: a chain of two filters without the sink.
    FileChain chain("dead_end", "AVI Splitter");
    ASSERT_EQ(chain.connected, S_OK);
    SmartComPointer<IBaseFilter> renderer;
    ASSERT_EQ(AddFilterByFriendlyName(chain.graph.Get(), renderer.ReceiveSlot(), kNullRendererName,
                                      CLSID_LegacyAmFilterCategory, 0),
              S_OK);
    ASSERT_EQ(ConnectFilters(chain.graph.Get(), chain.target.Get(), renderer.Get(), nullptr, nullptr, true), S_OK);
    ASSERT_EQ(chain.graph.FilterNames().size(), 3u);
    EXPECT_EQ(RemoveDeadEndFilters(chain.graph.Get(), chain.source.Get(), &IsDeadEnd), S_OK);
    EXPECT_EQ(chain.graph.FilterNames(), std::vector<std::wstring>{L"Test name file filter"});
    EXPECT_EQ(RemoveDeadEndFilters(chain.graph.Get(), nullptr, &IsDeadEnd), S_FALSE);
    EXPECT_EQ(RemoveDeadEndFilters(chain.graph.Get(), chain.source.Get(), nullptr), S_FALSE);
}

TEST(GraphFunction, RemovalReleasesOnlyTheHoldersReference)
{
    TestGraph graph;
    SmartComPointer<IBaseFilter> holder;
    ASSERT_EQ(AddFilterByFriendlyName(graph.Get(), holder.ReceiveSlot(), kNullRendererName, CLSID_LegacyAmFilterCategory, 0),
              S_OK);
    IBaseFilter* other = holder.Get();
    other->AddRef();

    ASSERT_EQ(RemoveFilterFromGraph(graph.Get(), holder), S_OK);
    EXPECT_FALSE(holder);
    EXPECT_TRUE(graph.FilterNames().empty());
    // The other holder's reference is still good.
    FILTER_INFO info = {};
    ASSERT_EQ(other->QueryFilterInfo(&info), S_OK);
    EXPECT_EQ(info.pGraph, nullptr);
    EXPECT_EQ(other->Release(), 0u);
    EXPECT_EQ(RemoveFilterFromGraph(graph.Get(), holder), E_INVALIDARG);
}

TEST(GraphFunction, ConnectsTheLiveDevicePinDirectlyAndTheSinkReceivesItsCounterPattern)
{
    TestGraph graph;
    SmartComPointer<IBaseFilter> device;
    SmartComPointer<IBaseFilter> sink;
    ASSERT_EQ(AddFilterByFriendlyName(graph.Get(), device.ReceiveSlot(), "Korvane Test Camera Solo",
                                      CLSID_VideoInputDeviceCategory, 0),
              S_OK);
    ASSERT_EQ(AddFilterByFriendlyName(graph.Get(), sink.ReceiveSlot(), kSinkName, CLSID_LegacyAmFilterCategory, 0), S_OK);

    ListPinIdsGraph ids;
    ASSERT_EQ(GetPinIds(device.Get(), ids, kDirectionOutputGraph), S_OK);
    ASSERT_EQ(ids.GetCount(), 1u);
    EXPECT_EQ(ids.GetElement(0), kTestCaptureDevicePinId);
    ASSERT_EQ(GetPinIds(device.Get(), ids, kDirectionInputGraph), S_OK);
    EXPECT_EQ(ids.GetCount(), 0u);

    EXPECT_EQ(ConnectFilters(graph.Get(), device.Get(), sink.Get(), L"0", nullptr, true), E_FAIL) << "no pin 0";
    ASSERT_EQ(ConnectFilters(graph.Get(), device.Get(), sink.Get(), nullptr, nullptr, true), S_OK);
    SmartComPointer<IPin> peer;
    ASSERT_EQ(GetConnectedPin(device.Get(), kTestCaptureDevicePinId, peer.ReceiveSlot()), S_OK);
    EXPECT_EQ(IsPinConnected(peer.Get()), S_OK);
    // Both pins are taken: no further pair to try.
    EXPECT_EQ(ConnectFilters(graph.Get(), device.Get(), sink.Get(), nullptr, nullptr, true), E_FAIL);

    SmartComPointer<ISinkwellSampleExchange> exchange;
    ASSERT_EQ(sink->QueryInterface(IID_ISinkwellSampleExchange, exchange.ReceiveVoidSlot()), S_OK);
    ASSERT_EQ(exchange->SetFrameRate(200.0f), S_OK);
    SmartComPointer<IMediaControl> control;
    ASSERT_EQ(graph.Get()->QueryInterface(IID_IMediaControl, control.ReceiveVoidSlot()), S_OK);
    ASSERT_TRUE(SUCCEEDED(control->Run()));

    InfoDataBufferPath1 frame;
    const HANDLE never = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    for (int attempt = 0; attempt < 1000 && frame.IsNULLFrame() != S_OK; ++attempt) {
        exchange->GetData(&frame);
        WaitForSingleObject(never, 10);
    }
    CloseHandle(never);
    control->Stop();
    // YUY2 640x480, the device's first capability.
    ASSERT_EQ(frame.m_size_data, 640 * 480 * 2);
    const BYTE* bytes = frame.m_data + frame.m_offset_data;
    for (ULONG k = 1; k < 64; ++k)
        EXPECT_EQ(bytes[k], static_cast<BYTE>(bytes[0] + k)) << k;
}
