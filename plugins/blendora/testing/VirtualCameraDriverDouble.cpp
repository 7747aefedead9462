#include "VirtualCameraDriverDouble.h"

#include <initializer_list>

uint64_t DigestYuy2Rows(const BYTE* data, int32_t width, int32_t height, int32_t stride)
{
    uint64_t digest = 14695981039346656037ull;
    for (int32_t y = 0; y < height; ++y) {
        const BYTE* row = data + static_cast<int64_t>(y) * stride;
        for (int32_t x = 0; x < 2 * width; ++x) {
            digest ^= row[x];
            digest *= 1099511628211ull;
        }
    }
    return digest;
}

HRESULT VirtualCameraDriverDouble::Open(int32_t kind, uint32_t createSize)
{
    Close();
    const PlexamoDriverObjectNames names = GetPlexamoDriverObjectNames(kind);
    if (names.mapping == nullptr)
        return E_INVALIDARG;
    m_mapping = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, createSize, names.mapping);
    // A section that already exists keeps its size: view only what the driver asked for.
    if (m_mapping != nullptr)
        m_view = static_cast<BYTE*>(MapViewOfFile(m_mapping, FILE_MAP_WRITE, 0, 0, createSize));
    m_mutex = CreateMutexA(nullptr, FALSE, names.mutex);
    m_size = createSize;
    if (m_view == nullptr || m_mutex == nullptr) {
        Close();
        return E_FAIL;
    }
    return S_OK;
}

void VirtualCameraDriverDouble::Close()
{
    if (m_view != nullptr)
        UnmapViewOfFile(m_view);
    m_view = nullptr;
    for (HANDLE* handle : {&m_mapping, &m_mutex}) {
        if (*handle != nullptr)
            CloseHandle(*handle);
        *handle = nullptr;
    }
    m_size = 0;
}

HRESULT VirtualCameraDriverDouble::Hold()
{
    if (m_mutex == nullptr)
        return E_UNEXPECTED;
    const DWORD wait = WaitForSingleObject(m_mutex, kWaitMilliseconds);
    return wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED ? S_OK : E_FAIL;
}

void VirtualCameraDriverDouble::Release()
{
    if (m_mutex != nullptr)
        ReleaseMutex(m_mutex);
}

HRESULT VirtualCameraDriverDouble::SetLargestSize(int32_t width, int32_t height)
{
    const HRESULT held = Hold();
    if (FAILED(held))
        return held;
    Header().m_largest_width = width;
    Header().m_largest_height = height;
    Release();
    return S_OK;
}

HRESULT VirtualCameraDriverDouble::ReadFrame(VirtualCameraFrameReport& report, bool take)
{
    const HRESULT held = Hold();
    if (FAILED(held))
        return held;
    InfoBetweenPlexamoDriverAndApplication& header = Header();
    report = {};
    report.flag = header.m_frame_ready;
    report.width = header.m_width;
    report.height = header.m_height;
    report.stride = header.m_stride;
    const int64_t bytes = static_cast<int64_t>(report.stride) * report.height + kPlexamoDataOffset;
    if (report.flag != 0 && report.width > 0 && report.height > 0 && report.stride >= 2 * report.width &&
        bytes <= m_size)
        report.digest = DigestYuy2Rows(m_view + kPlexamoDataOffset, report.width, report.height, report.stride);
    if (take)
        header.m_frame_ready = 0;
    Release();
    return S_OK;
}

HRESULT VirtualCameraDriverDouble::ReadPixel(int32_t x, int32_t y, int32_t yuv[3])
{
    const HRESULT held = Hold();
    if (FAILED(held))
        return held;
    const InfoBetweenPlexamoDriverAndApplication& header = Header();
    const int64_t bytes = static_cast<int64_t>(header.m_stride) * header.m_height + kPlexamoDataOffset;
    const bool inside = header.m_frame_ready != 0 && x >= 0 && y >= 0 && x < header.m_width &&
                        y < header.m_height && header.m_stride >= 2 * header.m_width && bytes <= m_size;
    if (inside) {
        const BYTE* pair = m_view + kPlexamoDataOffset + static_cast<int64_t>(y) * header.m_stride + 4 * (x / 2);
        yuv[0] = pair[2 * (x % 2)];
        yuv[1] = pair[1];
        yuv[2] = pair[3];
    }
    Release();
    return inside ? S_OK : E_INVALIDARG;
}
