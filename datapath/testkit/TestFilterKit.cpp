#include "TestFilterKit.h"

#include <atomic>
#include <sstream>
#include <stdexcept>

namespace {

std::string BinFolder()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path);
    return folder.substr(0, folder.find_last_of('\\'));
}

template <class Function>
Function Export(HMODULE module, const char* name)
{
    auto function = reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
    if (function == nullptr)
        throw std::runtime_error(std::string("test plug-in lacks ") + name);
    return function;
}

} // namespace

TestFilterFolder::TestFilterFolder()
{
    static std::atomic<int> counter{0};
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    m_path = std::string(temp) + "korvane-filters-" + std::to_string(GetCurrentProcessId()) + "-" +
             std::to_string(++counter);
    CreateDirectoryA(m_path.c_str(), nullptr);
}

TestFilterFolder::~TestFilterFolder()
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((m_path + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            DeleteFileA((m_path + "\\" + found.cFileName).c_str());
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(m_path.c_str());
}

std::string TestFilterFolder::Install(const std::string& name) const
{
    return Copy("TestFilterDataPath1.vdd", name);
}

std::string TestFilterFolder::InstallDelivered(const std::string& name) const
{
    return Copy(name.c_str(), name);
}

std::string TestFilterFolder::InstallMissingExport(const std::string& name) const
{
    return Copy("TestFilterMissingExport.vdd", name);
}

std::string TestFilterFolder::Copy(const char* kitFile, const std::string& name) const
{
    const std::string target = m_path + "\\" + name;
    if (!CopyFileA((BinFolder() + "\\" + kitFile).c_str(), target.c_str(), FALSE))
        throw std::runtime_error("cannot copy " + std::string(kitFile));
    return target;
}

TestFilterJournal::TestFilterJournal(const std::string& path) : m_module(LoadLibraryA(path.c_str()))
{
    if (m_module == nullptr)
        throw std::runtime_error("cannot load " + path);
}

TestFilterJournal::~TestFilterJournal()
{
    FreeLibrary(m_module);
}

std::vector<std::string> TestFilterJournal::Lines() const
{
    auto read = Export<uint32_t(WINAPI*)(char*, uint32_t)>(m_module, "ReadTestJournal");
    std::string text(read(nullptr, 0), '\0');
    read(text.data(), static_cast<uint32_t>(text.size()));
    text.pop_back();
    std::vector<std::string> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);)
        lines.push_back(line);
    return lines;
}

std::vector<std::string> TestFilterJournal::LinesStartingWith(const std::string& text) const
{
    std::vector<std::string> lines;
    for (const std::string& line : Lines())
        if (line.compare(0, text.size(), text) == 0)
            lines.push_back(line);
    return lines;
}

void TestFilterJournal::Clear() const
{
    Export<void(WINAPI*)()>(m_module, "ClearTestJournal")();
}

void TestFilterJournal::SetCallResult(const GUID& iid, int32_t indexMethod, HRESULT result) const
{
    Export<void(WINAPI*)(const GUID*, int32_t, HRESULT)>(m_module, "SetTestCallResult")(&iid, indexMethod, result);
}

void TestFilterJournal::SetQueryResult(const GUID& iid, HRESULT result) const
{
    Export<void(WINAPI*)(const GUID*, HRESULT)>(m_module, "SetTestQueryResult")(&iid, result);
}

void TestFilterJournal::SetTransformResult(HRESULT result) const
{
    Export<void(WINAPI*)(HRESULT)>(m_module, "SetTestTransformResult")(result);
}

uint64_t TestFilterJournal::ReadClock() const
{
    return Export<uint64_t(WINAPI*)()>(m_module, "ReadTestClock")();
}
