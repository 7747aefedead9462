#include "TempFolder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace {

// Deletes the folder's content and the folder, clearing read-only marks on the way.
void RemoveTree(const std::string& folder)
{
    WIN32_FIND_DATAA entry = {};
    const HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &entry);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = entry.cFileName;
            if (name == "." || name == "..")
                continue;
            const std::string path = folder + "\\" + name;
            SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(path);
            else
                DeleteFileA(path.c_str());
        } while (FindNextFileA(search, &entry));
        FindClose(search);
    }
    RemoveDirectoryA(folder.c_str());
}

} // namespace

TempFolder::TempFolder()
{
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    static int serial = 0;
    m_path = std::string(temp) + "korvane_files_" + std::to_string(GetCurrentProcessId()) + "_"
             + std::to_string(++serial);
    RemoveTree(m_path);
    EXPECT_TRUE(CreateDirectoryA(m_path.c_str(), nullptr)) << m_path;
}

TempFolder::~TempFolder()
{
    RemoveTree(m_path);
}

void TempFolder::WriteFile(const std::string& name, const std::string& content) const
{
    std::ofstream file(*this / name, std::ios::binary | std::ios::trunc);
    file << content;
    EXPECT_TRUE(file.good()) << name;
}

std::string TempFolder::ReadFile(const std::string& name) const
{
    std::ifstream file(*this / name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

void TempFolder::MakeFolder(const std::string& name) const
{
    EXPECT_TRUE(CreateDirectoryA((*this / name).c_str(), nullptr)) << name;
}
