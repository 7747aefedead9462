// Small drawing helpers: a checked alpha blend, a vertical colour gradient and rectangle clamps.
#include "FunctWorkWithHDC.h"

#include <algorithm>
#include <cstring>

bool AlphaBlendWithCheck(HDC destination, int x, int y, int width, int height, HDC source, int sourceX,
                         int sourceY, int sourceWidth, int sourceHeight, DWORD blendFunction, const char* label)
{
    try {
        if (destination == nullptr || source == nullptr)
            return false;
        if ((width != sourceWidth || height != sourceHeight) && label != nullptr)
            LOG_TEXT(label);
        BLENDFUNCTION blend;
        static_assert(sizeof(blend) == sizeof(blendFunction), "the blend function is one 32-bit word");
        std::memcpy(&blend, &blendFunction, sizeof(blend));
        if (blend.SourceConstantAlpha == 0)
            return true;
        AlphaBlend(destination, x, y, width, height, source, sourceX, sourceY, sourceWidth, sourceHeight, blend);
        return true;
    }
    CATCH_ALL_RETURN(false)
}

namespace {

struct Channels
{
    float red, green, blue;
};

Channels Split(COLORREF colour)
{
    return {static_cast<float>(GetRValue(colour)), static_cast<float>(GetGValue(colour)),
            static_cast<float>(GetBValue(colour))};
}

// The running value truncated; past the end colour it stays at the channel's limit.
BYTE Saturate(float value)
{
    return static_cast<BYTE>(std::clamp(static_cast<int>(value), 0, 255));
}

void DrawRow(HDC context, int penWidth, int left, int right, int row, const Channels& colour)
{
    HPEN pen = CreatePen(PS_SOLID, penWidth, RGB(Saturate(colour.red), Saturate(colour.green), Saturate(colour.blue)));
    if (pen == nullptr)
        return;
    HGDIOBJ previous = SelectObject(context, pen);
    MoveToEx(context, left, row, nullptr);
    LineTo(context, right, row);
    SelectObject(context, previous);
    DeleteObject(pen);
}

} // namespace

HRESULT DrawVerticalGradientToHDC(HDC context, int penWidth, const RECT* rect, COLORREF start, COLORREF end,
                                  bool gradient)
{
    try {
        if (context == nullptr || rect == nullptr)
            return S_OK;
        if (!gradient) {
            FillRect(context, rect, static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH)));
            return S_OK;
        }
        if (rect->top == rect->bottom)
            return S_OK;
        const Channels from = Split(start), to = Split(end);
        const float rows = static_cast<float>(rect->bottom - rect->top);
        const Channels step{(to.red - from.red) / rows, (to.green - from.green) / rows, (to.blue - from.blue) / rows};
        Channels running = from;
        for (int row = rect->top; row <= rect->bottom; ++row) {
            running.red += step.red;
            running.green += step.green;
            running.blue += step.blue;
            DrawRow(context, penWidth, rect->left, rect->right, row, running);
        }
        return S_OK;
    }
    CATCH_ALL_RETURN(S_OK)
}

void CorrectRectMinSize(RectPositionSize* rect)
{
    if (rect == nullptr)
        return;
    for (int32_t* value : {&rect->x, &rect->y, &rect->width, &rect->height})
        *value = std::max(*value, 0);
    rect->width = std::max(rect->width, 10);
    rect->height = std::max(rect->height, 10);
}

void CorrectRectMinExtent(RECT* rect)
{
    if (rect == nullptr)
        return;
    for (LONG* value : {&rect->left, &rect->top, &rect->right, &rect->bottom})
        *value = std::max<LONG>(*value, 0);
    if (rect->bottom - rect->top < 10)
        rect->bottom = rect->top + 10;
    if (rect->right - rect->left < 10)
        rect->right = rect->left + 10;
}
