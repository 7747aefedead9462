// Showing the last frame: compose it on the composition surface, draw the outline, the caption
// lines and the status captions with GDI, and blit the whole to the window on the screen.
#include "VideoRendererObjectDx7.h"

#include "DirectDrawSurfaceFunct.h"

#include "ObjectDataPath1_InfoDataBufferPath1.h"

#include "CatchAllLog.h"
#include "FunctWorkWithHWND.h"

#include <cstdio>

namespace {

constexpr int kCaptionFirstTop = 15;
constexpr int kCaptionLineStep = 15;
constexpr int kCaptionLeft = 10;
constexpr int kCaptionWidth = 600;
constexpr int kCaptionHeight = 25;
constexpr int kNarrowestReadableCaption = 101;
constexpr int kStatusBands = 7;
constexpr UINT kStatusFormat = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
constexpr COLORREF kOutlineColour = 0xDCDCFF;
constexpr int kOutlinePenWidth = 1;
constexpr double kOutlineScale = 65535.0;

RECT CaptionLineRect(int slot)
{
    const int top = kCaptionFirstTop + slot * kCaptionLineStep;
    return RECT{kCaptionLeft, top, kCaptionLeft + kCaptionWidth, top + kCaptionHeight};
}

int ScaleOutlineCoordinate(uint16_t fraction, DWORD size)
{
    const int value = static_cast<int>(static_cast<double>(size) * fraction / kOutlineScale);
    const int limit = static_cast<int>(size);
    return value < 0 ? 0 : (value > limit ? limit : value);
}

} // namespace

HRESULT VideoRendererObjectDx7::RestoreDrawSurfaces(uint8_t* needsInit)
{
    for (IDirectDrawSurface7* surface : {m_source, m_back}) {
        if (surface == nullptr || m_clipper == nullptr)
            continue;
        if (surface->IsLost() == DDERR_SURFACELOST) {
            const HRESULT result = surface->Restore();
            if (result == DDERR_WRONGMODE) {
                *needsInit = 1;
                return result;
            }
            FillSurfaceByLocking(surface, nullptr, 0, 0);
        }
        if (m_clear_pending != 0)
            FillSurfaceGrey(surface);
    }
    m_clear_pending = 0;
    return S_OK;
}

HRESULT VideoRendererObjectDx7::ComposeFrame()
{
    if (m_back == nullptr)
        return S_OK;
    IDirectDrawSurface7* picture = m_source;
    if (m_rgb_surfaces != 0) {
        CheckConvertSurface();
        picture = m_convert;
    }
    // Nothing uploaded yet: an empty grey picture, which is no failure.
    if (picture == nullptr)
        return FillSurfaceGrey(m_back);
    const RECT source = {m_source_x, m_source_y, m_source_x + m_source_width, m_source_y + m_source_height};
    const HRESULT result = CopyBlit(m_back, nullptr, picture, &source);
    if (FAILED(result)) {
        m_status_flags |= RenderStatusDrawFailed;
        FillSurfaceGrey(m_back);
    }
    return result;
}

void VideoRendererObjectDx7::DrawCaption(HDC dc, const char* text, RECT rect, COLORREF colour, UINT format) const
{
    SetBkMode(dc, m_caption_flags[2] != 0 ? TRANSPARENT : OPAQUE);
    SetBkColor(dc, m_caption_background);
    SetTextColor(dc, colour);
    if (rect.right - rect.left < kNarrowestReadableCaption)
        text = "...";
    DrawTextA(dc, text, -1, &rect, format);
}

void VideoRendererObjectDx7::DrawCaptionLines(HDC dc, const InfoDataBufferPath1& display)
{
    const COLORREF colour = RGB(m_caption_colour[0], m_caption_colour[1], m_caption_colour[2]);
    const auto& parameters = display.m_info.m_params;
    char line[512];
    int slot = 0;
    if (m_caption_flags[3] != 0) {
        std::snprintf(line, sizeof(line), "%s [%d]", m_caption_texts[3].GetString(), m_channel);
        DrawCaption(dc, line, CaptionLineRect(slot++), colour, 0);
    }
    if (m_caption_flags[4] != 0) {
        for (uint32_t k = 0; k < 2; ++k)
            if (parameters.GetElement(k).GetInt() > 0)
                m_statistics[k] = parameters.GetElement(k).GetInt();
        std::snprintf(line, sizeof(line), "[%ld x%ld][%.2f] [%d][%d]", static_cast<long>(m_format.bmiHeader.biWidth),
                      static_cast<long>(m_format.bmiHeader.biHeight), static_cast<double>(m_frame_rate),
                      m_statistics[0], m_statistics[1]);
        DrawCaption(dc, line, CaptionLineRect(slot++), colour, 0);
    }
    const InfoParamDataPath1& timeParameter = parameters.GetElement(2);
    if (timeParameter.m_type == TypeParamSystemTime) {
        const SYSTEMTIME time = timeParameter.GetSystemTime();
        std::snprintf(line, sizeof(line), "%u:%u:%u-%u:%u:%u", time.wYear, time.wMonth, time.wDay, time.wHour,
                      time.wMinute, time.wSecond);
        DrawCaption(dc, line, CaptionLineRect(slot++), colour, 0);
    }
    for (uint32_t index = 5; index <= 8; ++index)
        if (m_caption_flags[index] != 0)
            DrawCaption(dc, m_caption_texts[index].GetString(), CaptionLineRect(slot++), colour, 0);
}

void VideoRendererObjectDx7::DrawStatusCaptions(HDC dc) const
{
    struct StatusCaption
    {
        bool shown;
        const char* text;
        int band;
        bool alternateColour;
    };
    const uint32_t status = m_status_flags;
    const StatusCaption captions[] = {
        {(status & RenderStatusNoAccess) != 0 && (m_display_mode & kRenderDisplayKeepPicture) == 0, "access denied", 3,
         true},
        {(status & RenderStatusLostSignal) != 0, "lost signal", 4, true},
        {(status & RenderStatusDrawFailed) != 0, "directdraw failed", 5, false},
        {(status & RenderStatusBadFormat) != 0, "invalidate format", 6, false},
    };
    for (const StatusCaption& caption : captions) {
        if (!caption.shown)
            continue;
        const COLORREF colour = caption.alternateColour && m_alternate_colours != 0 ? m_caption_colours[3]
                                                                                     : m_caption_colours[0];
        // Bands of the output rectangle's size, placed on the composition surface, which is the
        // client area: the rectangle's position is where the window is, not where the picture is.
        const RECT band = {0, m_output_height * caption.band / kStatusBands, m_output_width,
                           m_output_height * (caption.band + 1) / kStatusBands};
        DrawCaption(dc, caption.text, band, colour, kStatusFormat);
    }
}

void VideoRendererObjectDx7::DrawOutline(HDC dc, const DDSURFACEDESC2& back) const
{
    POINT points[kRenderOutlinePoints];
    for (uint32_t k = 0; k < kRenderOutlinePoints; ++k)
        points[k] = POINT{ScaleOutlineCoordinate(m_outline_points[k].m_x, back.dwWidth),
                          ScaleOutlineCoordinate(m_outline_points[k].m_y, back.dwHeight)};
    HPEN pen = CreatePen(PS_SOLID, kOutlinePenWidth, kOutlineColour);
    if (pen == nullptr)
        return;
    HGDIOBJ previous = SelectObject(dc, pen);
    Polyline(dc, points, kRenderOutlinePoints);
    SelectObject(dc, previous);
    DeleteObject(pen);
}

bool VideoRendererObjectDx7::HasOverlays() const
{
    const uint32_t shownStatus = RenderStatusLostSignal | RenderStatusDrawFailed | RenderStatusBadFormat |
                                 ((m_display_mode & kRenderDisplayKeepPicture) == 0 ? RenderStatusNoAccess : 0u);
    return (m_outline != 0 && m_outline_hidden == 0) || m_caption_flags[0] != 0 || (m_status_flags & shownStatus) != 0;
}

HRESULT VideoRendererObjectDx7::DrawOverlays(const InfoDataBufferPath1& display)
{
    // The surface's device context is costly: taken only when there is something to draw.
    if (m_back == nullptr || !HasOverlays())
        return S_OK;
    DDSURFACEDESC2 back;
    HRESULT result = DescribeSurface(m_back, back);
    if (FAILED(result))
        return result;
    HDC dc = nullptr;
    result = m_back->GetDC(&dc);
    if (FAILED(result))
        return result;
    if (m_outline != 0 && m_outline_hidden == 0)
        DrawOutline(dc, back);
    if (m_caption_flags[0] != 0)
        DrawCaptionLines(dc, display);
    DrawStatusCaptions(dc);
    m_back->ReleaseDC(dc);
    return S_OK;
}

HRESULT VideoRendererObjectDx7::Present(const RECT& screen)
{
    if (m_back == nullptr)
        return ColourFillBlit(m_primary, nullptr, kGreyFillColour);
    return CopyBlit(m_primary, &screen, m_back, nullptr);
}

HRESULT VideoRendererObjectDx7::DrawFrame(InfoDataBufferPath1* display, uint8_t* needsInit)
{
    try {
        if (display == nullptr)
            return E_FAIL;
        const RECT screen = GetClientRectOnScreen(m_window);
        if (m_primary == nullptr)
            return E_UNEXPECTED;
        uint8_t ignoredFlag = 0;
        if (needsInit == nullptr)
            needsInit = &ignoredFlag;
        *needsInit = 0;
        HRESULT result = RestoreIfLost(m_primary);
        if (result == DDERR_WRONGMODE) {
            *needsInit = 1;
            return result;
        }
        result = RestoreDrawSurfaces(needsInit);
        if (FAILED(result))
            return result;
        if (m_clipper != nullptr)
            m_clipper->SetHWnd(0, m_window);
        m_status_flags &= ~static_cast<uint32_t>(RenderStatusDrawFailed);
        ComposeFrame();
        DrawOverlays(*display);
        return Present(screen);
    }
    CATCH_ALL_RETURN(E_FAIL)
}
