#include "InfoFilterStateRendara1.h"

#include "FunctWorkWithHWND.h"

#include <cstring>

InfoFilterStateRendara1::InfoFilterStateRendara1()
{
    try {
        m_name = "Rendara1_FILTER_DLL";
        m_render.m_file_name = "RendaraDx7.vdr";
        m_time.Initialize();
        m_kernels = SelectPackYuy2Kernels(m_optim.GetColumn());
        std::memset(&m_format, 0, sizeof(m_format));
        BITMAPINFOHEADER& header = m_format.bmiHeader;
        header.biSize = sizeof(BITMAPINFOHEADER);
        header.biWidth = 80;
        header.biHeight = 60;
        header.biPlanes = 1;
        header.biBitCount = 16;
        header.biCompression = MAKEFOURCC('Y', 'U', 'Y', '2');
        m_last_frame_time = m_time.GetTime();
    }
    CATCH_ALL_RETHROW()
}

InfoFilterStateRendara1::~InfoFilterStateRendara1()
{
    try {
        m_closing = 1;
        SafeDestroyWindow(m_window, "InfoFilterStateRendara1::~InfoFilterStateRendara1");
        SAFE_TASK_FREE(&m_scratch);
        m_scratch_capacity = 0;
    }
    CATCH_ALL_LOG()
}

HRESULT PackZoneMask(const uint16_t* grid, uint32_t gridBytes, uint32_t rowBytes, uint32_t rows, uint8_t* mask)
{
    constexpr uint32_t side = InfoFilterStateRendara1::kMaskSide;
    if (grid == nullptr || mask == nullptr)
        return E_INVALIDARG;
    if (gridBytes < side * side * sizeof(uint16_t) || rowBytes < side * sizeof(uint16_t) || rows < side)
        return E_UNEXPECTED;
    const uint32_t rowCells = rowBytes / sizeof(uint16_t);
    for (uint32_t row = 0; row < side; ++row)
        for (uint32_t byte = 0; byte < side / 8; ++byte) {
            uint8_t packed = 0;
            for (uint32_t bit = 0; bit < 8; ++bit)
                packed |= static_cast<uint8_t>(grid[row * rowCells + byte * 8 + bit] << bit);
            mask[row * (side / 8) + byte] = packed;
        }
    return S_OK;
}
