// The status strip: up to four skins split into a top and a bottom part, a status text, a slowly
// scrolling texture and a glow that follows the pointer; optionally a drag handle that moves its
// parent window. Text, skins and settings arrive as entries of property table 0; it has no
// operations of its own. Belongs to the thread that calls CreateObject, as every widget.
#pragma once

#include "BaseUserInterface.h"

#include <cstdint>

class StatusObjectUserInterface2 : public BaseUserInterface
{
public:
    static constexpr uint32_t TimerPeriod = 80;
    // Entries of property table 0.
    static constexpr uint32_t FieldFirstSkin = 0;
    static constexpr uint32_t SkinCount = 4;
    static constexpr uint32_t FieldText = 4;
    static constexpr uint32_t FieldTopShare = 5;
    static constexpr uint32_t FieldStyle = 6;
    // Style word: the picture pipeline, the scroll kind of pipeline 3, the radial centre.
    static constexpr uint32_t PipelineMask = 0xF;
    static constexpr uint32_t PipelineSplit = 1;
    static constexpr uint32_t PipelineWhole = 3;
    static constexpr uint32_t ScrollMask = 0xF0;
    static constexpr uint32_t ScrollWithTrails = 0x10;
    static constexpr uint32_t ScrollPlain = 0x20;
    static constexpr uint32_t CentreOnWidget = 0x100;
    static constexpr float DefaultTopShare = 0.85f;
    static constexpr float FallbackTopShare = 0.75f;
    static constexpr uint32_t TextCapacity = 4096;
    static constexpr int32_t FinalBuffer = 16;

    StatusObjectUserInterface2(const char* objectName, HINSTANCE module, uint32_t style, uint8_t dragParent);
    ~StatusObjectUserInterface2() override;

    HRESULT OnSizeWindow(HWND window, WPARAM wParam, LPARAM lParam, uint64_t time) override;
    HRESULT OnMouseButton(HWND window, UINT message, WPARAM wParam, LPARAM lParam, uint64_t time,
                          bool synthetic) override;
    HRESULT OnMouseMove(HWND window, WPARAM wParam, LPARAM lParam, uint64_t time) override;
    HRESULT SetupGeneralCycle(uint32_t flags) override;
    HRESULT OnGeneralInfoChanged() override;
    HRESULT RebuildObject() override;

    // The drawing callbacks of the two pipelines (A: the split one and the text, B: the whole one).
    static HRESULT FunctStatusCycleA(BaseUserInterface* widget, uintptr_t context, int32_t slot, int32_t run,
                                     uint32_t timeLow, uint32_t timeHigh);
    static HRESULT FunctStatusCycleB(BaseUserInterface* widget, uintptr_t context, int32_t slot, int32_t run,
                                     uint32_t timeLow, uint32_t timeHigh);

    // What differs between the two callbacks.
    struct CycleVariant;

protected:
    enum Context : uintptr_t
    {
        ContextText = 0,
        ContextLevels = 1,
        ContextScroll = 2,
        ContextGlow = 3,
        ContextCentre = 4,
    };

    HRESULT RunCycleStep(const CycleVariant& variant, uintptr_t context, int32_t slot, uint64_t now);
    HRESULT DrawText(InfoGeneralBufferForUserInterface2& destination);
    HRESULT ScrollTexture(const CycleVariant& variant, InfoGeneralBufferForUserInterface2& destination, uint64_t now);
    HRESULT StepGlow(const CycleVariant& variant, int32_t slot, uint64_t now);
    HRESULT PlaceCentre(const CycleVariant& variant, int32_t slot, const InfoGeneralBufferForUserInterface2& destination);
    void FillPipeline();
    void FillSlot(uint32_t slot, uint32_t operation, int32_t source, int32_t destination,
                  ActionCallbackUserInterface2 callback = nullptr, uintptr_t context = 0);
    void UpdateSplit();
    void SizeBuffers();
    void SetSplitRowCounts();
    uint32_t Pipeline() const { return m_mode & PipelineMask; }
    HWND DraggedWindow() const;
    POINT PointerOnParent(HWND parent, LPARAM lParam) const;

    int32_t m_split_top = 0;
    int32_t m_split_bottom = 0;
    StaticString<TextCapacity> m_status_text;
    int32_t m_glow_counter = 20;
    int64_t m_last_scroll_time = 0;
    uint32_t m_mode = 0;
    int16_t* m_trail_rows[3] = {};
    int32_t m_trail_rows_size = 0;
    uint8_t m_drag_parent = 0;
    int32_t m_drag_x = 0;
    int32_t m_drag_y = 0;
    // The core keeps no centre point; the radial effect takes it from here.
    int32_t m_centre_x = 0;
    int32_t m_centre_y = 0;
};
