// A minimal in-process COM server for registration tests: one class whose factory creates nothing.
#pragma once

#include <windows.h>

// {6D3C1A52-8E47-4F0B-9A21-5B7E4C9D0F13}
inline constexpr CLSID CLSID_KorvaneTestComServer = {
    0x6d3c1a52, 0x8e47, 0x4f0b, {0x9a, 0x21, 0x5b, 0x7e, 0x4c, 0x9d, 0x0f, 0x13}};

inline constexpr char kTestComServerKey[] = "CLSID\\{6D3C1A52-8E47-4F0B-9A21-5B7E4C9D0F13}";
inline constexpr char kTestComServerFile[] = "support_test_com_server.dll";
