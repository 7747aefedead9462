// Values as display and log text (error codes, paths, dates, spans, versions, media types) and
// calendar arithmetic on SYSTEMTIME values. Spans are 64-bit counts of 100-ns units.
#pragma once

#include "KestrelDebugFunct.h"

#include <cstdint>

// The system's text for an error code (of the module's message table when a module is given).
HRESULT GetTextFromErrorCode(DWORD code, DynamicString& text, HMODULE module = nullptr);

// Folder and file name joined with one backslash between them; an empty folder gives the name.
HRESULT CreateFullPathFromFolder(DynamicString& path, const char* folder, const char* name);
// Folder (with its trailing backslash) and last name of a path; one trailing backslash is skipped.
HRESULT SplitFullPathToFolderAndName(const DynamicString& path, DynamicString& folder, DynamicString& name);

// The four bytes of a value, most significant first, as "a.b.c.d".
HRESULT ConvertDwordToDottedText(uint32_t value, DynamicString& text);

// "2008/7/5 [ 9:3:7 ]"
HRESULT ConvertSystemTimeToText(const SYSTEMTIME* time, DynamicString& text);
// "2008_7_5_[_9_3_7_]"
HRESULT ConvertSystemTimeToFileNameText(const SYSTEMTIME* time, DynamicString& text);
// "2008:7:5-9:3:7"
HRESULT ConvertSystemTimeToShortText(const SYSTEMTIME* time, DynamicString& text);
// "hours:minutes:seconds"
HRESULT ConvertTimeSpanToHMSText(uint32_t spanLow, uint32_t spanHigh, DynamicString& text);
// "days:hours:minutes:seconds"
HRESULT ConvertTimeSpanToText(uint32_t spanLow, uint32_t spanHigh, DynamicString& text);
// "<operating system> : file ver.H.L : prod ver.H.L :"
HRESULT ConvertFileVersionInfoToText(const VS_FIXEDFILEINFO* info, DynamicString& text);

// "<major type text><-><subtype text>"; an unknown GUID takes its table's not-found text.
HRESULT ConvertMediaTypeToText(DynamicString& text, const GUID& majorType, const GUID& subtype);
// 0 and the subtype's text, or 1 and an empty text.
HRESULT ConvertMediaSubtypeToText(const GUID& subtype, DynamicString& text);
// 0 and the GUID of the subtype with exactly this text, or 1.
HRESULT ConvertTextToMediaSubtype(const char* text, GUID* subtype);

// a - b in 100-ns units; 0 when a time cannot be converted.
int64_t GetSystemTimeDifference(const SYSTEMTIME* a, const SYSTEMTIME* b);
// Minutes since 1601; 0 when the time cannot be converted.
uint32_t ConvertSystemTimeToMinutes(const SYSTEMTIME* time);
// |a - b| in 10-ms units, at most 0xFFFFFFFF.
uint32_t GetSystemTimeDistanceIn10ms(const SYSTEMTIME* a, const SYSTEMTIME* b);
// 1 when a is later, -1 when earlier, 0 when equal or not comparable.
int CompareSystemTime(const SYSTEMTIME* a, const SYSTEMTIME* b);
// Length of the common part of [start1, end1] and [start2, end2] in 100-ns units;
// 0xFFFFFFFF8000FFFF when an interval ends before it starts.
int64_t GetTimeIntervalsOverlap(const SYSTEMTIME* start1, const SYSTEMTIME* end1, const SYSTEMTIME* start2,
                                const SYSTEMTIME* end2);
HRESULT AddTimeToSystemTime(SYSTEMTIME* time, int64_t span);
