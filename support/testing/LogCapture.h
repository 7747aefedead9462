// Collects the log lines written while it lives, for tests that check what was logged.
#pragma once

#include <mutex>
#include <string>
#include <vector>

class LogCapture
{
public:
    LogCapture();
    ~LogCapture();
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    std::vector<std::string> Lines() const;
    // Whether any captured line contains the text.
    bool Contains(const std::string& text) const;
    void Clear();

private:
    static void Receive(const char* line, void* context);

    mutable std::mutex m_lock;
    std::vector<std::string> m_lines;
};
