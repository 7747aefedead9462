// The captioned frames of a group box around widgets of a page: one frame per element description,
// side by side or one above the other. The inside of every frame is cut out of the window region,
// so the enclosed widgets' own windows show through.
#pragma once

#include "BaseUserInterface.h"

class GroupObjectUserInterface2 : public BaseUserInterface
{
public:
    // The low byte of the style is the layout; this bit rounds the frames' corners.
    static constexpr uint32_t LayoutOneAboveTheOther = 1;
    static constexpr uint32_t LayoutSideBySide = 2;
    static constexpr uint32_t StyleRoundCorners = 0x20000;
    // Element fields: the frame's size (a share of the free length up to 1, else pixels) and caption.
    static constexpr uint32_t FieldSize = 2;
    static constexpr uint32_t FieldCaption = 3;

    GroupObjectUserInterface2(const ElementListUserInterface2& elements, int32_t count, uint32_t styleFlags,
                              const char* objectName, HINSTANCE module);
    ~GroupObjectUserInterface2() override;

    HRESULT OnSizeWindow(HWND window, WPARAM wParam, LPARAM lParam, uint64_t time) override;
    HRESULT SetupGeneralCycle(uint32_t flags) override;
    HRESULT OnGeneralInfoChanged() override;
    HRESULT OnElementInfoChanged() override;
    HRESULT RebuildObject() override;
    int32_t GetIndexElementFromPoint(int32_t x, int32_t y) override;

private:
    // The frame drawing of action slot 14, run when general buffer 0 changed.
    static HRESULT DrawFramesAction(BaseUserInterface* widget, uintptr_t context, int32_t slot, int32_t run,
                                    uint32_t timeLow, uint32_t timeHigh);
    HRESULT DrawFrames();
    HRESULT UpdateWindowRegion(HWND window);
    float FrameSize(uint32_t element) const;
};
