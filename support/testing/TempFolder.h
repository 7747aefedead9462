// A fresh folder under the temporary folder for one test, removed with everything in it afterwards.
#pragma once

#include <windows.h>

#include <string>

class TempFolder
{
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // Full path without a trailing backslash.
    const std::string& Path() const { return m_path; }
    // Path of an entry inside the folder.
    std::string operator/(const std::string& name) const { return m_path + "\\" + name; }

    void WriteFile(const std::string& name, const std::string& content) const;
    std::string ReadFile(const std::string& name) const;
    void MakeFolder(const std::string& name) const;

private:
    std::string m_path;
};
