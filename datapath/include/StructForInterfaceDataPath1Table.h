// The process-wide table of the plug-in interfaces, against which every interface call is checked
// before it leaves the host.
#pragma once

#include "StructForInterfaceDataPath1.h"

#include "KestrelDebugFunct.h"
#include "StaticAndDynamicBoundsObject.h"

#include <windows.h>

#include <cstdint>

struct InfoMethodInterfaceDataPath1
{
    // The count is the method's parameter count; the records carry the expected type codes.
    ListParamsDataPath1 m_params;
    StaticString<128> m_name;
};

struct InfoInterfaceDataPath1
{
    GUID m_iid = GUID_NULL;
    int32_t m_count_methods = 0;
    StaticBoundsObject<InfoMethodInterfaceDataPath1, 32> m_methods;
    StaticString<64> m_name = "Unknown";
};

struct StructForInterfaceDataPath1
{
    bool m_filled = false;
    int32_t m_count_interfaces = 0;
    StaticBoundsObject<InfoInterfaceDataPath1, 64> m_interfaces;
};

// Filled once at start-up, before any data path exists; read-only afterwards.
extern StructForInterfaceDataPath1 g_struct_for_interface_data_path1;

HRESULT FillStructForInterfaceDataPath1();
// 0 when the call matches the table; E_UNEXPECTED or E_FAIL (with a log line) when not.
HRESULT CheckParamsForCallFunction(GUID iid, int32_t indexMethod, const ListParamsDataPath1* params);
