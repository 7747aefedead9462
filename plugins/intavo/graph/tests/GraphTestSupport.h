// Shared set-up of the graph layer tests: the test capture device registered in the test prefix
// (the sink filter is registered by the sink tests' environment), graphs, and small AVI files.
#pragma once

#include "ObjectControlGraphFunction.h"
#include "TestCaptureDeviceInterfaces.h"

#include "SmartComPointer.h"

#include <string>
#include <vector>

// A fresh filter graph, released with its filters when the holder goes.
class TestGraph
{
public:
    TestGraph();
    ~TestGraph();
    IGraphBuilder* Get() const { return m_graph.Get(); }
    // Names of the graph's filters, in enumeration order.
    std::vector<std::wstring> FilterNames() const;

private:
    SmartComPointer<IGraphBuilder> m_graph;
};

// An instance of one test device (class id), for configuring the device and reading its journal.
void OpenTestDevice(const CLSID& classId, SmartComPointer<ITestCaptureDevice>& device);
void RestoreTestDevice(const CLSID& classId);
std::string ReadTestDeviceJournal(ITestCaptureDevice* device);

// A short uncompressed YUY2 AVI under the temporary folder, named for the caller; removed by the caller.
std::string WriteSmallAvi(const char* name);
std::string NameOf(IBaseFilter* filter);
