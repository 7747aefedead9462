#include "LogCapture.h"

#include "KestrelDebugFunct.h"

LogCapture::LogCapture()
{
    SetKestrelLogHook(&LogCapture::Receive, this);
}

LogCapture::~LogCapture()
{
    SetKestrelLogHook(nullptr, nullptr);
}

void LogCapture::Receive(const char* line, void* context)
{
    auto* self = static_cast<LogCapture*>(context);
    std::lock_guard<std::mutex> guard(self->m_lock);
    self->m_lines.emplace_back(line);
}

std::vector<std::string> LogCapture::Lines() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_lines;
}

bool LogCapture::Contains(const std::string& text) const
{
    std::lock_guard<std::mutex> guard(m_lock);
    for (const std::string& line : m_lines)
        if (line.find(text) != std::string::npos)
            return true;
    return false;
}

void LogCapture::Clear()
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_lines.clear();
}
