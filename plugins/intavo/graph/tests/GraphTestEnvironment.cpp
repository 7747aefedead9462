#include "GraphTestSupport.h"

#include "TestAviWriter.h"

#include <gtest/gtest.h>

namespace {

HMODULE g_device_module = nullptr;

// Registers the test capture device in the test prefix for the whole run.
class TestDeviceEnvironment : public testing::Environment
{
public:
    void SetUp() override
    {
        g_device_module = LoadLibraryW(L"KorvaneTestCaptureDevice.dll");
        ASSERT_NE(g_device_module, nullptr);
        using Export = HRESULT(WINAPI*)();
        const auto registerServer =
            reinterpret_cast<Export>(reinterpret_cast<void*>(GetProcAddress(g_device_module, "DllRegisterServer")));
        ASSERT_NE(registerServer, nullptr);
        ASSERT_EQ(registerServer(), S_OK);
    }
    void TearDown() override
    {
        // The registration stays: the prefix belongs to this build's test run.
        FreeLibrary(g_device_module);
        g_device_module = nullptr;
    }
};

[[maybe_unused]] testing::Environment* const g_environment =
    testing::AddGlobalTestEnvironment(new TestDeviceEnvironment);

} // namespace

TestGraph::TestGraph()
{
    EXPECT_EQ(CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder,
                               m_graph.ReceiveVoidSlot()),
              S_OK);
}

TestGraph::~TestGraph()
{
    SmartComPointer<IMediaControl> control;
    if (m_graph && SUCCEEDED(m_graph->QueryInterface(IID_IMediaControl, control.ReceiveVoidSlot())))
        control->Stop();
}

std::vector<std::wstring> TestGraph::FilterNames() const
{
    std::vector<std::wstring> names;
    ListFiltersGraph filters;
    GetFiltersWithInterface(m_graph.Get(), filters, IID_IBaseFilter);
    for (uint32_t k = 0; k < filters.GetCount(); ++k) {
        FILTER_INFO info = {};
        filters.GetElement(k)->QueryFilterInfo(&info);
        if (info.pGraph != nullptr)
            info.pGraph->Release();
        names.emplace_back(info.achName);
    }
    return names;
}

void OpenTestDevice(const CLSID& classId, SmartComPointer<ITestCaptureDevice>& device)
{
    EXPECT_EQ(CoCreateInstance(classId, nullptr, CLSCTX_INPROC_SERVER, IID_ITestCaptureDevice,
                               device.ReceiveVoidSlot()),
              S_OK);
}

void RestoreTestDevice(const CLSID& classId)
{
    SmartComPointer<ITestCaptureDevice> device;
    OpenTestDevice(classId, device);
    if (device)
        device->RestoreDefaults();
}

std::string ReadTestDeviceJournal(ITestCaptureDevice* device)
{
    ULONG needed = 0;
    device->ReadJournal(nullptr, 0, &needed);
    std::string text(needed, '\0');
    device->ReadJournal(text.data(), needed, &needed);
    text.resize(needed > 0 ? needed - 1 : 0);
    return text;
}

std::string WriteSmallAvi(const char* name)
{
    char folder[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, folder);
    const std::string path = std::string(folder) + "korvane_graph_" + std::to_string(GetCurrentProcessId()) + "_" +
                             name + ".avi";
    const TestAviFormat format = {TestFourcc('Y', 'U', 'Y', '2'), 16, 64, 48};
    const std::vector<std::vector<uint8_t>> frames(3, std::vector<uint8_t>(TestAviFrameSize(format), 0x80));
    EXPECT_TRUE(WriteTestAvi(std::wstring(path.begin(), path.end()), format, 25, frames));
    return path;
}

std::string NameOf(IBaseFilter* filter)
{
    FILTER_INFO info = {};
    if (filter == nullptr || FAILED(filter->QueryFilterInfo(&info)))
        return std::string();
    if (info.pGraph != nullptr)
        info.pGraph->Release();
    char text[MAX_FILTER_NAME * 2] = {};
    WideCharToMultiByte(CP_ACP, 0, info.achName, -1, text, sizeof(text), nullptr, nullptr);
    return text;
}
