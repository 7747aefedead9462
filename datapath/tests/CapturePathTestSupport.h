// The capture-path tests' setting: every plug-in a capture, local-camera or archive recipe loads,
// installed from the test kit with its journal, and a format graph built node by node.
#pragma once

#include "CapturePathRecordsDataPath1.h"
#include "ControllerTestSupport.h"
#include "InfoDriverForMixerDataPath1.h"
#include "struct_format_graph1.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

class CapturePathTest : public ::testing::Test
{
protected:
    CapturePathTest()
    {
        for (const char* name : {"Intavo1.vdd", "Tonalis1.vdd", "Motiscan4.vdd", "Camwell1.vdd", "RendaraGeneral.vdd",
                                 "Parvex.vdd", "Ostrel2.vdd", "Pellow1.vdd", "Marrisk1.vdd"})
            m_journals[name] = std::make_unique<TestFilterJournal>(m_folder.Install(name));
    }

    const TestFilterJournal& Journal(const std::string& name) const { return *m_journals.at(name); }

    // The parameters of each call of the method, as the journal shows them ("[type:value] ...").
    std::vector<std::string> Calls(const std::string& file, const std::string& iid, int method) const
    {
        std::vector<std::string> calls;
        const std::string head = "CallInterfaceFunction " + iid + " method=" + std::to_string(method) + " ";
        for (const std::string& line : Journal(file).LinesStartingWith(head)) {
            const size_t params = line.find(" [");
            calls.push_back(params == std::string::npos ? "" : line.substr(params + 1));
        }
        return calls;
    }

    // The methods of the interface called, in order; the camera-id queries of the lookups left out.
    std::vector<int> Methods(const std::string& file, const std::string& iid) const
    {
        std::vector<int> methods;
        const std::string head = "CallInterfaceFunction " + iid + " method=";
        for (const std::string& line : Journal(file).LinesStartingWith(head)) {
            const int method = std::stoi(line.substr(head.size()));
            if (!(iid == "IID_IInfoCamera" && method == 3))
                methods.push_back(method);
        }
        return methods;
    }

    TestFilterFolder m_folder;
    std::map<std::string, std::unique_ptr<TestFilterJournal>> m_journals;
};

// The filter linked to an output of the filter at the table index (worker side).
inline ObjectDataPath1* OutputPeer(TestControlDataPath1& controller, int32_t index, uint32_t output)
{
    ObjectDataPath1* filter = controller.FilterAt(index);
    return filter == nullptr ? nullptr : filter->GetInstanceRecord().m_points.m_outputs.GetElement(output).m_peer;
}

inline bool FileNameEndsWith(const ObjectDataPath1* filter, const std::string& name)
{
    if (filter == nullptr)
        return false;
    const std::string path = filter->GetFileName().GetString();
    return path.size() >= name.size() && path.compare(path.size() - name.size(), name.size(), name) == 0;
}

// A path description: nodes with ids 1, 2, ... in one flat array, linked output to input.
class FormatGraphNodes
{
public:
    int32_t Add(int32_t kind)
    {
        m_nodes.emplace_back();
        const int32_t id = static_cast<int32_t>(m_nodes.size());
        m_nodes.back().Reset(kind, id);
        return id;
    }
    int32_t AddFilter(const wchar_t* fileName)
    {
        const int32_t id = Add(TypeNodeFilter);
        auto filter = std::make_unique<InfoFilterNodeFormatGraph1>();
        Node(id).ReadPayload(*filter);
        filter->m_file_name = fileName;
        Node(id).WritePayload(*filter);
        return id;
    }
    int32_t AddFormat(int32_t cameraId, const wchar_t* name)
    {
        const int32_t id = Add(TypeNodeCaptureFormat);
        auto format = std::make_unique<StructFormatGraph1>();
        format->cameraId = cameraId;
        format->objectName = name;
        Node(id).WritePayload(*format);
        return id;
    }
    void Link(int32_t from, int32_t to)
    {
        InfoNodeFormatGraph1& source = Node(from);
        source.outputs[source.outputCount++] = to;
        InfoNodeFormatGraph1& target = Node(to);
        target.inputs[target.inputCount++] = from;
    }
    InfoNodeFormatGraph1& Node(int32_t id) { return m_nodes.at(static_cast<size_t>(id - 1)); }
    void* Data() { return m_nodes.data(); }
    int32_t Count() const { return static_cast<int32_t>(m_nodes.size()); }

private:
    std::vector<InfoNodeFormatGraph1> m_nodes;
};
