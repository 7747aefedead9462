// A known picture drawn into a device context, to try the drawing-to-planes path.
#include "OptimFunctionUnifProcessSWORD.h"

#include "CatchAllLog.h"

HRESULT FunctConvertRGB32toR16G16B16Format(HDC context, int right, int bottom)
{
    if (context == nullptr)
        return E_INVALIDARG;
    if (right <= 0 || bottom <= 0)
        return E_UNEXPECTED;
    try {
        RECT whole = {0, 0, right, bottom};
        FillRect(context, &whole, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        RECT inset = {20, 20, right - 20, bottom - 20};
        HBRUSH green = CreateSolidBrush(RGB(0, 255, 0));
        if (green != nullptr) {
            FillRect(context, &inset, green);
            DeleteObject(green);
        }
        const COLORREF previousColour = SetTextColor(context, RGB(255, 0, 0));
        const int previousMode = SetBkMode(context, TRANSPARENT);
        HGDIOBJ previousFont = SelectObject(context, GetStockObject(DEFAULT_GUI_FONT));
        DrawTextA(context, "COMPLEX TEST DRAWING", -1, &inset, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        SelectObject(context, previousFont);
        SetBkMode(context, previousMode);
        SetTextColor(context, previousColour);
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}
