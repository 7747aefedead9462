// Test side of the test plug-in kit: a temporary plug-in folder holding copies of the test
// plug-in under the names the recipes load, and the call journal of one copy.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

class TestFilterFolder
{
public:
    TestFilterFolder();
    // Removes the copies and the folder; every copy must be unloaded by then.
    ~TestFilterFolder();
    TestFilterFolder(const TestFilterFolder&) = delete;
    TestFilterFolder& operator=(const TestFilterFolder&) = delete;

    // Copies the test plug-in under the name ("Tonalis1.vdd", "FailInit.vdd", ...); its full path.
    std::string Install(const std::string& name) const;
    // Copies a delivered plug-in of the binary folder under its own name, in place of the stand-in.
    std::string InstallDelivered(const std::string& name) const;
    // Copies the plug-in that lacks QueryInterfaceFunction under the name; its full path.
    std::string InstallMissingExport(const std::string& name) const;
    // Full path without a trailing backslash.
    const std::string& Path() const { return m_path; }

private:
    std::string Copy(const char* kitFile, const std::string& name) const;

    std::string m_path;
};

// Keeps one plug-in copy loaded while it lives, so its journal outlives the host's unload.
class TestFilterJournal
{
public:
    explicit TestFilterJournal(const std::string& path);
    ~TestFilterJournal();
    TestFilterJournal(const TestFilterJournal&) = delete;
    TestFilterJournal& operator=(const TestFilterJournal&) = delete;

    std::vector<std::string> Lines() const;
    // The lines that begin with the text.
    std::vector<std::string> LinesStartingWith(const std::string& text) const;
    void Clear() const;
    // The test plug-in only: a call's or a query's answer in place of its own, and the transform's answer.
    void SetCallResult(const GUID& iid, int32_t indexMethod, HRESULT result) const;
    void SetQueryResult(const GUID& iid, HRESULT result) const;
    void SetTransformResult(HRESULT result) const;
    // A reading of the plug-in's own time server.
    uint64_t ReadClock() const;
    HMODULE Module() const { return m_module; }

private:
    HMODULE m_module;
};
