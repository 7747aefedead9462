// A top-down 32-bit picture with a memory context drawing into it, for tests of GDI drawings.
#pragma once

#include "g_managment_mem.h"

#include <windows.h>

#include <cstdint>

class Canvas
{
public:
    Canvas(int width, int height, COLORREF fill = RGB(255, 255, 255)) : m_width(width)
    {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        m_context = CreateCompatibleDC(nullptr);
        m_bitmap = CreateDIBSection(m_context, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&m_pixels), nullptr, 0);
        m_previous = SelectObject(m_context, m_bitmap);
        AutoGDIObject brush(CreateSolidBrush(fill));
        const RECT all = {0, 0, width, height};
        FillRect(m_context, &all, static_cast<HBRUSH>(brush.Get()));
    }
    ~Canvas()
    {
        SelectObject(m_context, m_previous);
        DeleteObject(m_bitmap);
        DeleteDC(m_context);
    }
    HDC Context() const { return m_context; }
    uint32_t Pixel(int x, int y) const
    {
        GdiFlush();
        return m_pixels[y * m_width + x] & 0xFFFFFF;
    }

private:
    int m_width;
    HDC m_context = nullptr;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_previous = nullptr;
    uint32_t* m_pixels = nullptr;
};
