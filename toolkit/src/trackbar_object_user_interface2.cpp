// The trackbar's layout, value mapping, mouse and keys.
#include "TrackbarObjectUserInterface2.h"

#include "CatchAllLog.h"
#include "DataWidgetDrawing.h"
#include "FunctWorkWithHWND.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

using Element = InfoElementUserInterface2;

constexpr int32_t CellLayers[] = {0, 16, 32, 48};
constexpr int32_t ThumbLayers[] = {64, 80};
constexpr int32_t OwnThumbPicture = 96;
constexpr int32_t ScaledThumbPicture = 112;
constexpr int32_t FirstSkin = 160;
constexpr int32_t SkinCount = 6;
constexpr int32_t MovedValueLayer = 176;
constexpr float DefaultThumbLength = 0.2f;
constexpr float DefaultThumbBreadth = 1.0f;
constexpr float PageStep = 10.0f;
constexpr float JumpStep = 1e8f;
constexpr WPARAM KeyEscape = 27;
constexpr WPARAM KeyEnter = 13;
constexpr WPARAM KeySpace = 32;

int32_t MouseX(LPARAM lParam)
{
    return LOWORD(lParam);
}

int32_t MouseY(LPARAM lParam)
{
    return HIWORD(lParam);
}

int32_t RoundToInt(double value)
{
    return static_cast<int32_t>(std::lround(value));
}

} // namespace

TrackbarObjectUserInterface2::TrackbarObjectUserInterface2(const ElementListUserInterface2& elements, int32_t count,
                                                           uint32_t styleFlags, const char* objectName,
                                                           HINSTANCE module)
try : BaseUserInterface(elements, count, styleFlags, objectName, module, 0, TimerPeriod) {
    m_pressed.Fill(0);
    m_window_class_name = "OJV::UserInterface2::TrackbarObjectUserInterface2::24.10.2006";
    // The trackbar toggles on release itself, where it knows whether the mouse moved.
    m_toggle_enabled = 0;
    m_finall_buffer_choice = FinalBuffer;
    m_property_tables.GetElement(0).GetElement(PropertyThumbLength).SetFloat(DefaultThumbLength);
    m_property_tables.GetElement(0).GetElement(PropertyThumbBreadth).SetFloat(DefaultThumbBreadth);
}
CATCH_ALL_RETHROW()

TrackbarObjectUserInterface2::~TrackbarObjectUserInterface2()
{
    try {
        FreeObject();
    }
    CATCH_ALL_LOG()
}

// ---- the sliders' fields ----

int32_t TrackbarObjectUserInterface2::SliderCount() const
{
    return std::clamp<int32_t>(m_element_count, 0, MaxElements);
}

bool TrackbarObjectUserInterface2::IsSlider(int32_t index) const
{
    return index >= 0 && index < SliderCount();
}

bool TrackbarObjectUserInterface2::IsVertical() const
{
    return (m_style_flags & 0xFF) != OrientationHorizontal;
}

TrackbarObjectUserInterface2::Range TrackbarObjectUserInterface2::SliderRange(int32_t index) const
{
    const Element& element = m_elements.GetElement(index);
    const float minimum = element.Field(FieldMinimum).m_value.m_float;
    const float maximum = element.Field(FieldMaximum).m_value.m_float;
    return {minimum, maximum > minimum ? maximum : minimum + 1.0f};
}

float TrackbarObjectUserInterface2::StoredMaximum(int32_t index) const
{
    return m_elements.GetElement(index).Field(FieldMaximum).m_value.m_float;
}

float TrackbarObjectUserInterface2::SliderValue(int32_t index) const
{
    return m_elements.GetElement(index).Field(FieldValue).m_value.m_float;
}

uint32_t TrackbarObjectUserInterface2::SliderState(int32_t index) const
{
    return m_elements.GetElement(index).GetStateWord();
}

int32_t TrackbarObjectUserInterface2::AxisLength() const
{
    return IsVertical() ? m_height : m_width;
}

int32_t TrackbarObjectUserInterface2::ThumbLength() const
{
    return IsVertical() ? m_thumb_height : m_thumb_width;
}

bool TrackbarObjectUserInterface2::ToggleCheckedState(uint32_t& state)
{
    if ((state & StateCheckable) == 0 || (state & StateDisabled) != 0)
        return false;
    state ^= StateChecked;
    return true;
}

std::string TrackbarObjectUserInterface2::FormatValueText(float value, float minimum, float defaultValue,
                                                          bool disabled)
{
    if (disabled)
        return {};
    std::string sign;
    long shown = std::lround(value);
    if (minimum < defaultValue) {
        shown = std::lround(value - defaultValue);
        sign = shown > 0 ? "+" : (shown < 0 ? "-" : "");
    }
    return sign + std::to_string(std::labs(shown)) + " ";
}

// ---- layout ----

HRESULT TrackbarObjectUserInterface2::ComputeSizes()
{
    const int32_t count = SliderCount();
    // A widget without sliders has no cell to divide its width or height into.
    if (count == 0)
        throw 2;
    const TypedValueListUserInterface2& properties = m_property_tables.GetElement(0);
    const float length = properties.GetElement(PropertyThumbLength).m_value.m_float;
    const float breadth = std::clamp(properties.GetElement(PropertyThumbBreadth).m_value.m_float, 0.1f, 1.0f);
    const auto along = [length](int32_t cell) { return length <= 1.0f ? RoundToInt(cell * length) : RoundToInt(length); };
    if (IsVertical()) {
        m_cell_height = m_height;
        m_cell_width = m_width / count;
        m_thumb_height = along(m_cell_height);
        m_thumb_width = RoundToInt(m_cell_width * breadth);
    } else {
        m_cell_height = m_height / count;
        m_cell_width = m_width;
        m_thumb_height = RoundToInt(m_cell_height * breadth);
        m_thumb_width = along(m_cell_width);
    }
    m_cell_width = std::clamp(m_cell_width, 1, std::max(m_width, 1));
    m_cell_height = std::clamp(m_cell_height, 1, std::max(m_height, 1));
    m_thumb_height = std::clamp(m_thumb_height, 1, m_cell_height);
    m_thumb_width = std::clamp(m_thumb_width, 1, m_cell_width);
    return S_OK;
}

HRESULT TrackbarObjectUserInterface2::OnSizeWindow(HWND, WPARAM, LPARAM, uint64_t)
{
    try {
        ComputeSizes();
        m_grab_offset = 0;
        m_current_slider = -1;
        const HRESULT placed = SetRectElements();
        const HRESULT rebuilt = RebuildObject();
        return FAILED(placed) ? placed : rebuilt;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT TrackbarObjectUserInterface2::SetRectElements()
{
    try {
        if (SliderCount() == 0)
            return E_FAIL;
        for (int32_t i = 0; i < SliderCount(); ++i) {
            const int32_t left = IsVertical() ? i * m_cell_width : 0;
            const int32_t top = IsVertical() ? 0 : i * m_cell_height;
            m_elements.GetElement(i).Field(Element::FieldRect).SetRect(left, top, std::max(m_cell_width, 1),
                                                                       std::max(m_cell_height, 1));
        }
        m_layout_width = m_width;
        m_layout_height = m_height;
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

// ---- value mapping ----

float TrackbarObjectUserInterface2::GetValueFromPoint(int32_t index, int32_t x, int32_t y)
{
    try {
        if (!IsSlider(index))
            return 0.0f;
        const uint32_t state = SliderState(index);
        if ((state & StateCheckable) != 0 && (state & StateChecked) != 0)
            return std::round(SliderValue(index));
        const Range range = SliderRange(index);
        const float thumb = static_cast<float>(ThumbLength());
        const float span = static_cast<float>(AxisLength()) - 2.0f * thumb;
        const float point = static_cast<float>((IsVertical() ? y : x) + m_grab_offset);
        // A thumb of half the slider or more leaves no span to move along.
        const float share = span > 0.0f ? std::clamp((point - thumb) / span, 0.0f, 1.0f) : 0.0f;
        const float fromMinimum = IsVertical() ? 1.0f - share : share;
        return std::round(fromMinimum * (range.m_maximum - range.m_minimum) + range.m_minimum);
    }
    CATCH_ALL_RETURN(0.0f)
}

int32_t TrackbarObjectUserInterface2::GetPosThumbFromValue(int32_t index, float value, RECT* thumb)
{
    try {
        if (!IsSlider(index))
            return static_cast<int32_t>(E_UNEXPECTED);
        const Range range = SliderRange(index);
        const float share = std::clamp((value - range.m_minimum) / (range.m_maximum - range.m_minimum), 0.0f, 1.0f);
        const float length = static_cast<float>(ThumbLength());
        const float span = static_cast<float>(AxisLength()) - 2.0f * length;
        const float centre = span * (IsVertical() ? 1.0f - share : share) + length;
        const int32_t pos = RoundToInt(centre);
        if (thumb == nullptr)
            return pos;
        if (IsVertical()) {
            thumb->left = index * m_cell_width + (m_cell_width - m_thumb_width) / 2;
            thumb->right = thumb->left + m_thumb_width;
            thumb->top = RoundToInt(pos - m_thumb_height / 2.0);
            thumb->bottom = RoundToInt(pos + m_thumb_height / 2.0);
        } else {
            thumb->left = RoundToInt(pos - m_thumb_width / 2.0);
            thumb->right = RoundToInt(pos + m_thumb_width / 2.0);
            thumb->top = index * m_cell_height + (m_cell_height - m_thumb_height) / 2;
            thumb->bottom = thumb->top + m_thumb_height;
        }
        return pos;
    }
    CATCH_ALL_RETURN(static_cast<int32_t>(E_FAIL))
}

int32_t TrackbarObjectUserInterface2::GetIndexThumbFromPoint(int32_t x, int32_t y)
{
    try {
        const int32_t cell = BaseUserInterface::GetIndexElementFromPoint(x, y);
        if (!IsSlider(cell))
            return -1;
        RECT thumb = {};
        GetPosThumbFromValue(cell, SliderValue(cell), &thumb);
        const bool inside = x >= thumb.left && x <= thumb.right && y >= thumb.top && y <= thumb.bottom;
        return inside ? cell : -1;
    }
    CATCH_ALL_RETURN(-1)
}

int32_t TrackbarObjectUserInterface2::GetIndexElementFromPoint(int32_t x, int32_t y)
{
    return GetIndexThumbFromPoint(x, y);
}

// ---- changes and notifications ----

void TrackbarObjectUserInterface2::MarkBuffers(std::initializer_list<int32_t> buffers, int32_t index)
{
    if (index < 0)
        return;
    for (int32_t buffer : buffers)
        m_array_general_buffers.GetElement(buffer + index).SetChanged();
}

void TrackbarObjectUserInterface2::MarkSliderLayers(int32_t index)
{
    MarkBuffers({ThumbLayers[0], ThumbLayers[1], CellLayers[0], CellLayers[1], CellLayers[2], CellLayers[3]}, index);
}

// Posted, never sent: the owner may be busy sending to this widget.
void TrackbarObjectUserInterface2::PostNotification(int32_t index, WORD code)
{
    const int32_t command = m_elements.GetElement(index).Field(Element::FieldCommand).m_value.m_int;
    HWND receiver = m_related_windows.GetElement(1);
    if (command == 0 || FAILED(CheckIsWindow(receiver)))
        return;
    PostMessageA(receiver, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(command & 0xFFFF), code), 0);
}

// ---- hooks ----

HRESULT TrackbarObjectUserInterface2::CycleBeforeFinalize(HWND, WPARAM, LPARAM, uint64_t, uint64_t)
{
    return S_OK;
}

HRESULT TrackbarObjectUserInterface2::CycleAfterFinalize(HWND, WPARAM, LPARAM, uint64_t, uint64_t)
{
    return S_OK;
}

HRESULT TrackbarObjectUserInterface2::OnMouseHoverLeave(HWND, UINT, WPARAM, LPARAM, uint64_t)
{
    m_pressed.Fill(0);
    return S_OK;
}

HRESULT TrackbarObjectUserInterface2::OnSetFocus(HWND, WPARAM, LPARAM)
{
    try {
        MarkSliderLayers(IsSlider(m_current_slider) ? m_current_slider : -1);
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT TrackbarObjectUserInterface2::OnKillFocus(HWND window, WPARAM wParam, LPARAM lParam)
{
    return OnSetFocus(window, wParam, lParam);
}

HRESULT TrackbarObjectUserInterface2::OnMouseMove(HWND, WPARAM, LPARAM lParam, uint64_t)
{
    try {
        m_moved = 1;
        int32_t dragged = -1;
        for (int32_t k = 0; k < SliderCount() && dragged < 0; ++k)
            if (m_pressed.GetElement(k) != 0 && (SliderState(k) & StateDisabled) == 0)
                dragged = k;
        if (dragged < 0)
            return S_OK;
        const float value = GetValueFromPoint(dragged, MouseX(lParam), MouseY(lParam));
        if (value == SliderValue(dragged))
            return S_OK;
        m_elements.GetElement(dragged).Field(FieldValue).SetFloat(value);
        PostNotification(dragged, NotifyDrag);
        MarkSliderLayers(dragged);
        m_array_general_buffers.GetElement(MovedValueLayer).SetChanged();
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

// The base presses elements again while the mouse drags over them; only real button events count
// here, so the grab offset stays what it was at the press.
HRESULT TrackbarObjectUserInterface2::OnMouseButton(HWND, UINT message, WPARAM, LPARAM lParam, uint64_t,
                                                    bool synthetic)
{
    try {
        if (synthetic)
            return S_FALSE;
        const bool down = message == WM_LBUTTONDOWN;
        const int32_t x = MouseX(lParam), y = MouseY(lParam);
        const int32_t thumb = GetIndexThumbFromPoint(x, y);
        const int32_t cell = BaseUserInterface::GetIndexElementFromPoint(x, y);
        if (down && IsSlider(cell) && cell != m_current_slider) {
            MarkBuffers({ThumbLayers[1], CellLayers[0], CellLayers[1], CellLayers[2], CellLayers[3]},
                        IsSlider(m_current_slider) ? m_current_slider : -1);
            MarkBuffers({ThumbLayers[1], CellLayers[0], CellLayers[1], CellLayers[2], CellLayers[3]}, cell);
            m_current_slider = cell;
        }
        if (!down && IsSlider(thumb) && m_moved == 0) {
            uint32_t state = SliderState(thumb);
            // A disabled thumb is still hit; only a real flip is reported.
            if (ToggleCheckedState(state)) {
                m_elements.GetElement(thumb).Field(Element::FieldState).SetInt(static_cast<int32_t>(state));
                PostNotification(thumb, NotifyChange);
                MarkBuffers({ThumbLayers[1], CellLayers[0], CellLayers[1], CellLayers[2], CellLayers[3]}, thumb);
            }
        }
        m_moved = 0;
        for (int32_t k = 0; k < static_cast<int32_t>(MaxElements); ++k)
            m_pressed.GetElement(k) = down && k == thumb ? 1 : 0;
        if (IsSlider(thumb))
            m_grab_offset = GetPosThumbFromValue(thumb, SliderValue(thumb), nullptr) - (IsVertical() ? y : x);
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

// Steps the current slider over unused elements, wrapping within the 16.
void TrackbarObjectUserInterface2::MoveCurrentSlider(int32_t direction)
{
    MarkSliderLayers(m_current_slider);
    int32_t index = m_current_slider;
    for (uint32_t step = 0; step < MaxElements; ++step) {
        index = (index + direction + static_cast<int32_t>(MaxElements)) % static_cast<int32_t>(MaxElements);
        if (IsElementUsed(static_cast<uint32_t>(index)))
            break;
    }
    m_current_slider = index;
}

HRESULT TrackbarObjectUserInterface2::OnKeyMessage(UINT message, HWND, WPARAM wParam, LPARAM)
{
    try {
        if (!IsSlider(m_current_slider))
            return S_FALSE;
        uint32_t state = SliderState(m_current_slider);
        float step = 0.0f;
        int32_t move = 0;
        bool pending = false;
        if (message == WM_CHAR) {
            if (wParam == KeyEscape) {
                InfoTypedValueUserInterface2& value = m_elements.GetElement(m_current_slider).Field(FieldValue);
                value.SetFloat(m_elements.GetElement(m_current_slider).Field(FieldDefault).m_value.m_float);
                pending = true;
            } else if (wParam == KeyEnter || wParam == KeySpace) {
                pending = ToggleCheckedState(state);
                m_elements.GetElement(m_current_slider).Field(Element::FieldState).SetInt(static_cast<int32_t>(state));
            }
        } else if (message == WM_KEYDOWN) {
            const bool vertical = IsVertical();
            switch (wParam) {
            case VK_PRIOR: step = PageStep; break;
            case VK_NEXT: step = -PageStep; break;
            case VK_END: step = JumpStep; break;
            case VK_HOME: step = -JumpStep; break;
            case VK_UP: vertical ? step = 1.0f : move = -1; break;
            case VK_DOWN: vertical ? step = -1.0f : move = 1; break;
            case VK_RIGHT: vertical ? move = 1 : step = 1.0f; break;
            case VK_LEFT: vertical ? move = -1 : step = -1.0f; break;
            default: return S_FALSE;
            }
        }
        if (move != 0)
            MoveCurrentSlider(move);
        const bool stepApplies = step != 0.0f && (state & (StateChecked | StateDisabled)) == 0;
        const bool pendingApplies = pending && (state & StateDisabled) == 0;
        if (!stepApplies && !pendingApplies && move == 0)
            return S_OK;
        const int32_t current = m_current_slider;
        const float value = SliderValue(current);
        const float minimum = SliderRange(current).m_minimum;
        const float changed = std::max(std::min(value + (stepApplies ? step : 0.0f), StoredMaximum(current)), minimum);
        if (changed != value || pendingApplies) {
            m_elements.GetElement(current).Field(FieldValue).SetFloat(changed);
            PostNotification(current, NotifyChange);
        }
        MarkSliderLayers(current);
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

// ---- skins, thumbs and buffers ----

HRESULT TrackbarObjectUserInterface2::OnGeneralInfoChanged()
{
    try {
        const TypedValueListUserInterface2& properties = m_property_tables.GetElement(0);
        const DynamicBoundsObject<uint8_t>& changed = m_property_changed.GetElement(0);
        for (int32_t skin = 0; skin < SkinCount; ++skin) {
            const InfoTypedValueUserInterface2& name = properties.GetElement(skin);
            if (changed.GetElement(skin) == 0 || name.m_value.m_text.GetLenString() == 0)
                continue;
            LoadBMPFileToGeneralBuffer(name.m_value.m_text.GetString(), m_text.GetString(),
                                       &m_array_general_buffers.GetElement(FirstSkin + 2 * skin));
        }
        return OnSizeWindow(m_window, 0, 0, 0);
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT TrackbarObjectUserInterface2::OnElementInfoChanged()
{
    try {
        for (int32_t i = 0; i < SliderCount(); ++i) {
            Element& element = m_elements.GetElement(i);
            const DynamicString& picture = element.Field(FieldThumbPicture).m_value.m_text;
            if (element.m_changed.GetElement(FieldThumbPicture) != 0 && picture.GetLenString() > 0) {
                LoadBMPFileToGeneralBuffer(picture.GetString(), m_text.GetString(),
                                           &m_array_general_buffers.GetElement(OwnThumbPicture + i));
                element.m_changed.GetElement(FieldThumbPicture) = 0;
            }
            bool redraw = false;
            for (uint32_t field : {3u, 7u, FieldMinimum, FieldMaximum, FieldValue})
                redraw = redraw || element.m_changed.GetElement(field) != 0;
            if (!redraw)
                continue;
            MarkSliderLayers(i);
            for (uint32_t field : {3u, FieldMinimum, FieldMaximum, FieldValue})
                element.m_changed.GetElement(field) = 0;
        }
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT TrackbarObjectUserInterface2::RebuildObject()
{
    try {
        BaseUserInterface::RebuildObject();
        m_rebuild_in_progress = 1;
        HRESULT result = S_OK;
        const auto keep = [&result](HRESULT step) {
            if (FAILED(step))
                result = step;
        };
        const auto buffer = [this](int32_t index) -> InfoGeneralBufferForUserInterface2& {
            return m_array_general_buffers.GetElement(index);
        };
        for (int32_t i = 0; i < SliderCount(); ++i) {
            keep(ResizeAndFillLayer(*this, buffer(ScaledThumbPicture + i), SUCCEEDED(result) ? &buffer(OwnThumbPicture + i) : nullptr,
                               m_thumb_width, m_thumb_height));
            buffer(ScaledThumbPicture + i).SetChanged();
            for (int32_t layer : CellLayers) {
                keep(buffer(layer + i).ResizeBuffer(m_cell_width, m_cell_height));
                buffer(layer + i).SetChanged();
            }
            for (int32_t layer : ThumbLayers) {
                keep(buffer(layer + i).ResizeBuffer(m_thumb_width, m_thumb_height));
                buffer(layer + i).SetChanged();
            }
        }
        for (int32_t skin : {160, 162, 164, 166, 170})
            keep(ResizeAndFillLayer(*this, buffer(skin + 1), &buffer(skin), m_cell_width, m_cell_height));
        keep(ResizeAndFillLayer(*this, buffer(169), &buffer(168), m_thumb_width, m_thumb_height));
        for (int32_t work : {172, 173, 175, 176, 178, 179})
            keep(buffer(work).ResizeBuffer(m_cell_width, m_cell_height));
        keep(buffer(174).ResizeBuffer(m_thumb_width, m_thumb_height));
        keep(buffer(FinalBuffer).ResizeBuffer(m_width, m_height));
        if (m_width > 0 && m_height > 0)
            m_rebuild_in_progress = 0;
        return result;
    }
    CATCH_ALL_RETURN(E_FAIL)
}
