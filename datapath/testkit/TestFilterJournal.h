// The call journal of the test plug-ins: one line per export call, read by the tests through the
// exports ReadTestJournal and ClearTestJournal of the plug-in file.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

void AddJournalLine(const std::string& line);
std::string FormatResult(HRESULT result);

extern "C" __declspec(dllexport) uint32_t WINAPI ReadTestJournal(char* buffer, uint32_t size);
extern "C" __declspec(dllexport) void WINAPI ClearTestJournal();
