#include "TestFilterJournal.h"

#include <cstdio>
#include <cstring>
#include <mutex>

namespace {

std::mutex g_journal_lock;
std::string g_journal;

} // namespace

void AddJournalLine(const std::string& line)
{
    std::lock_guard<std::mutex> lock(g_journal_lock);
    g_journal += line;
    g_journal += '\n';
}

std::string FormatResult(HRESULT result)
{
    char text[16];
    std::snprintf(text, sizeof(text), "0x%08lX", static_cast<unsigned long>(result));
    return text;
}

// The whole journal, cut to the buffer; answers the size it needs, terminator included.
extern "C" __declspec(dllexport) uint32_t WINAPI ReadTestJournal(char* buffer, uint32_t size)
{
    std::lock_guard<std::mutex> lock(g_journal_lock);
    const uint32_t needed = static_cast<uint32_t>(g_journal.size() + 1);
    if (buffer != nullptr && size > 0) {
        const uint32_t length = needed <= size ? needed - 1 : size - 1;
        std::memcpy(buffer, g_journal.data(), length);
        buffer[length] = 0;
    }
    return needed;
}

extern "C" __declspec(dllexport) void WINAPI ClearTestJournal()
{
    std::lock_guard<std::mutex> lock(g_journal_lock);
    g_journal.clear();
}
