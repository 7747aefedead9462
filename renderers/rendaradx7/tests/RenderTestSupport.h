// Frames, output windows and pictures for the render object's tests and benchmark.
#pragma once

#include "SwordBuffers.h"

#include <windows.h>
#include <strmif.h>
#include <amvideo.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

// A YUY2 frame of one luma value (chroma 128) in guarded memory: reading past it faults.
class Yuy2Frame
{
public:
    Yuy2Frame(int32_t width, int32_t height, BYTE luma);

    const BYTE* Data() const { return m_data->Bytes(); }
    BYTE* Data() { return m_data->Bytes(); }
    int32_t Size() const { return static_cast<int32_t>(m_data->Size()); }
    const VIDEOINFOHEADER* Header() const { return &m_header; }
    void SetLuma(int32_t x, int32_t y, BYTE luma);

private:
    std::unique_ptr<GuardedBuffer> m_data;
    VIDEOINFOHEADER m_header;
    int32_t m_width;
};

// A top-level popup that calls onPaint from WM_PAINT, as the output window does. Test programs run
// in parallel on one display: only a window whose pixels are read from the screen is shown.
class RenderTestWindow
{
public:
    RenderTestWindow(int x, int y, int width, int height, std::function<void()> onPaint, bool visible = true);
    ~RenderTestWindow();
    RenderTestWindow(const RenderTestWindow&) = delete;
    RenderTestWindow& operator=(const RenderTestWindow&) = delete;

    HWND Handle() const { return m_window; }
    // Paints now, through WM_PAINT.
    void Repaint() const;
    void Resize(int width, int height) const;

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HWND m_window = nullptr;
    std::function<void()> m_on_paint;
};

// Pixels as 0x00RRGGBB.
class Picture
{
public:
    Picture(int32_t width, int32_t height) : m_width(width), m_height(height), m_pixels(static_cast<size_t>(width) * height) {}

    bool operator==(const Picture& other) const = default;
    int32_t Width() const { return m_width; }
    int32_t Height() const { return m_height; }
    uint32_t& At(int32_t x, int32_t y) { return m_pixels[static_cast<size_t>(y) * m_width + x]; }
    uint32_t At(int32_t x, int32_t y) const { return m_pixels[static_cast<size_t>(y) * m_width + x]; }
    // Pixels of the colour in rows [top, bottom) and columns [left, right).
    int Count(uint32_t colour, int32_t left, int32_t top, int32_t right, int32_t bottom) const;
    int CountRows(uint32_t colour, int32_t top, int32_t bottom) const { return Count(colour, 0, top, m_width, bottom); }
    // Columns of the first and last pixel of the colour in the rows, or -1, -1.
    std::pair<int32_t, int32_t> ColumnSpan(uint32_t colour, int32_t top, int32_t bottom) const;

private:
    int32_t m_width, m_height;
    std::vector<uint32_t> m_pixels;
};

inline constexpr uint32_t Rgb(uint32_t red, uint32_t green, uint32_t blue) { return red << 16 | green << 8 | blue; }

// The window's client area as it is on the screen.
Picture CaptureClientArea(HWND window);
// Captures the client area until the picture passes the check and stays the same over one more
// paint, handling the thread's messages and repainting the window in between; returns the last
// capture. Gives up after half a minute.
Picture WaitForScreen(HWND window, const std::function<bool(const Picture&)>& check);
