// A widget that shows a date and time as seven scales stacked one above the other (year, month,
// day, hour, minute, second, hundredths). Each scale is drawn with GDI into a general buffer of its
// own and added into the picture buffer at its row.
#pragma once

#include "BaseUserInterface.h"

#include <cstdint>

// One scale: its range, the value shown and how it is drawn.
struct InfoTimeControlElement
{
    // The low byte of the style.
    static constexpr uint32_t KindTickMarks = 1;
    static constexpr uint32_t KindNoDrawing = 2;

    uint8_t m_enabled = 0;
    uint8_t m_mark = 0;
    uint8_t m_reserved = 0;
    uint32_t m_style = 257;
    int32_t m_minimum = 1;
    int32_t m_maximum = 10;
    int32_t m_value = 5;
};

using TimeFieldListUserInterface2 = DynamicBoundsObject<InfoTimeControlElement>;

struct InfoMessageForXXXUpdateTimeControlObject : GeneralParentForMessageStruct
{
    InfoMessageForXXXUpdateTimeControlObject()
        : GeneralParentForMessageStruct("InfoMessageForXXXUpdateTimeControlObject")
    {
    }

    int32_t m_reserved[2] = {};
    const TimeFieldListUserInterface2* m_list = nullptr;
    int32_t m_count = 0;
};

class TimeControl1ObjectUserInterface2 : public BaseUserInterface
{
public:
    static constexpr int32_t FieldCount = 7;
    enum Field : int32_t
    {
        FieldYear = 0,
        FieldMonth,
        FieldDay,
        FieldHour,
        FieldMinute,
        FieldSecond,
        FieldHundredths,
    };
    // General buffers: the scale of field f is FirstFieldBuffer + f; all are added into PictureBuffer.
    static constexpr int32_t FirstFieldBuffer = 7;
    static constexpr int32_t PictureBuffer = 80;
    // What the drawing of one scale receives; its size word is DrawingTag.
    struct FieldDrawing
    {
        TimeControl1ObjectUserInterface2* m_widget = nullptr;
        int32_t m_field = 0;
    };
    static constexpr int DrawingTag = 8;

    TimeControl1ObjectUserInterface2(const ElementListUserInterface2& elements, int32_t count, uint32_t styleFlags,
                                     const char* objectName, HINSTANCE module);
    ~TimeControl1ObjectUserInterface2() override;

    // Sends the list to the widget's thread, where it changes nothing yet. 0x8000FFFF for no list
    // or no count (nothing is sent).
    HRESULT UpdatePropertyListTimes(const TimeFieldListUserInterface2* list, int32_t count);

    const InfoTimeControlElement& GetField(int32_t field) const { return m_time_fields.GetElement(field); }
    int32_t GetRowHeight() const { return m_row_height; }

    HRESULT CompliteStandartMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, bool* handled) override;
    HRESULT OnSizeWindow(HWND window, WPARAM wParam, LPARAM lParam, uint64_t time) override;
    HRESULT OnMouseButton(HWND window, UINT message, WPARAM wParam, LPARAM lParam, uint64_t time,
                          bool synthetic) override;
    HRESULT OnMouseMove(HWND window, WPARAM wParam, LPARAM lParam, uint64_t time) override;
    HRESULT SetupGeneralCycle(uint32_t flags) override;
    HRESULT OnGeneralInfoChanged() override;
    HRESULT OnElementInfoChanged() override;
    HRESULT RebuildObject() override;
    int32_t GetIndexElementFromPoint(int32_t x, int32_t y) override;

    // The scale of one field (record: FieldDrawing, size word DrawingTag): the value as text, then,
    // for a scale with tick marks, grey marks spread over the whole width.
    static HRESULT FunctDrawTimeFieldToHDC(HDC context, int width, int height, void* record, int tag);

private:
    // Callback of the picture slot: run 10 f draws field f, run 10 f + 9 adds it into the picture.
    static HRESULT DrawFieldsAction(BaseUserInterface* widget, uintptr_t context, int32_t slot, int32_t run,
                                    uint32_t timeLow, uint32_t timeHigh);
    HRESULT DrawField(int32_t field);
    void ComposeField(int32_t field);
    // Whether any scale or the picture changed since the picture was last composed.
    bool AnyFieldChanged() const;
    void UpdateLayout();
    HRESULT UpdatePropertyListTimesReal(const TimeFieldListUserInterface2* list, int32_t count);

protected:
    StaticBoundsObject<InfoTimeControlElement, FieldCount> m_time_fields;
    int32_t m_scale_margin = 10;
    float m_height_share = 0.8f;
    int32_t m_scale_length = 300;
    uint8_t m_layout_valid = 0;
    int32_t m_doubled_margin = 20;
    int32_t m_row_height = 0;

private:
    ObjectWindowMessage1 m_time_messages;
};
