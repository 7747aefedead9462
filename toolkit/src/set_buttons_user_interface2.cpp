// The button set's layout, skins, buttons' bitmaps and buffers.
#include "SetButtonsObjectUserInterface2.h"

#include "CatchAllLog.h"
#include "DataWidgetDrawing.h"

#include <algorithm>
#include <cmath>

namespace {

using Element = InfoElementUserInterface2;

constexpr int32_t ButtonLayers[] = {48, 64, 80, 96, 112, 128, 144, 160, 176, 192, 208, 224};
// Skin property n is loaded into SkinBuffers[n] and scaled into ScaledSkins[n].
constexpr int32_t SkinBuffers[] = {241, 247, 249, 251, 253, 257, 260};
constexpr int32_t ScaledSkins[] = {242, 248, 250, 252, 254, 258, 261};
constexpr int32_t WidgetLayers[] = {243, 244, 245, 246};
constexpr int32_t StateLayers[] = {255, 256, 259, 262};

// Bitmap fields and the buffers they load into (relative to the button).
struct BitmapField
{
    uint32_t m_field;
    int32_t m_buffer;
};
constexpr BitmapField BitmapFields[] = {{0, 0}, {1, 32}, {4, 16}};

} // namespace

SetButtonsObjectUserInterface2::SetButtonsObjectUserInterface2(const ElementListUserInterface2& elements,
                                                               int32_t count, uint32_t styleFlags,
                                                               const char* objectName, HINSTANCE module)
try : BaseUserInterface(elements, count, styleFlags | StyleDoubleClicks, objectName, module, 0, TimerPeriod) {
    m_window_class_name = "OJV::UserInterface2::SetButtonsObjectUserInterface2::24.10.2006";
    m_finall_buffer_choice = FinalBuffer;
    m_glass_rows.Fill(nullptr);
}
CATCH_ALL_RETHROW()

SetButtonsObjectUserInterface2::~SetButtonsObjectUserInterface2()
{
    try {
        FreeObject();
        for (uint32_t row = 0; row < 3; ++row)
            SAFE_TASK_FREE(reinterpret_cast<void**>(&m_glass_rows.GetElement(row)), 0);
    }
    CATCH_ALL_LOG()
}

int32_t SetButtonsObjectUserInterface2::ButtonCount() const
{
    return std::clamp<int32_t>(m_element_count, 0, MaxElements);
}

bool SetButtonsObjectUserInterface2::IsButton(int32_t index) const
{
    return index >= 0 && index < ButtonCount() && IsElementUsed(static_cast<uint32_t>(index));
}

uint32_t SetButtonsObjectUserInterface2::ButtonState(int32_t index) const
{
    return m_elements.GetElement(index).GetStateWord();
}

bool SetButtonsObjectUserInterface2::IsBufferChanged(int32_t index)
{
    return m_array_general_buffers.GetElement(index).IsChanged() != 0;
}

void SetButtonsObjectUserInterface2::Mark(int32_t index)
{
    m_array_general_buffers.GetElement(index).SetChanged();
}

RECT SetButtonsObjectUserInterface2::VisibleRect(int32_t index) const
{
    const InfoRectUserInterface2& rect = m_elements.GetElement(index).Field(Element::FieldRect).m_value.m_rect;
    RECT visible = {std::max(rect.m_left, 0), std::max(rect.m_top, 0), std::min(rect.m_left + rect.m_width, m_width),
                    std::min(rect.m_top + rect.m_height, m_height)};
    if (visible.right <= visible.left || visible.bottom <= visible.top)
        return {};
    return visible;
}

int32_t SetButtonsObjectUserInterface2::ReferenceButton() const
{
    int32_t last = -1;
    for (int32_t i = 0; i < ButtonCount(); ++i) {
        if (!IsButton(i))
            continue;
        if ((ButtonState(i) & (StatePassive | StateNoReference | StateNoLight)) == 0)
            return i;
        last = i;
    }
    return last;
}

// ---- layout ----

HRESULT SetButtonsObjectUserInterface2::SetRectElements()
{
    try {
        float fixed = 0.0f, shares = 0.0f;
        for (int32_t i = 0; i < ButtonCount(); ++i) {
            if (!IsButton(i))
                continue;
            const float size = m_elements.GetElement(i).Field(FieldSize).m_value.m_float;
            (size > 1.0f ? fixed : shares) += size;
        }
        if (shares <= 0.0f)
            shares = 1.0f;
        if (Orientation() != OrientationStacked && Orientation() != OrientationSideBySide)
            m_style_flags = (m_style_flags & ~0xFFu) | OrientationSideBySide;
        const bool stacked = Orientation() == OrientationStacked;
        const float freeLength = static_cast<float>(stacked ? m_height : m_width) - fixed;
        int32_t pos = 0;
        for (int32_t i = 0; i < ButtonCount(); ++i) {
            if (!IsButton(i))
                continue;
            InfoTypedValueUserInterface2& sizeField = m_elements.GetElement(i).Field(FieldSize);
            float size = sizeField.m_value.m_float;
            if (size <= 1.0f) {
                size /= shares;
                sizeField.SetFloat(size);
            }
            const int32_t length = static_cast<int32_t>(std::lround(size > 1.0f ? size : freeLength * size));
            InfoTypedValueUserInterface2& rect = m_elements.GetElement(i).Field(Element::FieldRect);
            if (stacked)
                rect.SetRect(0, pos, std::max(m_width, 1), std::max(length, 1));
            else
                rect.SetRect(pos, 0, std::max(length, 1), std::max(m_height, 1));
            pos += length;
        }
        m_layout_width = m_width;
        m_layout_height = m_height;
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

// ---- hooks ----

HRESULT SetButtonsObjectUserInterface2::OnCreateWindow(HWND, WPARAM, LPARAM, uint64_t)
{
    return S_FALSE;
}

HRESULT SetButtonsObjectUserInterface2::OnDestroyWindow(HWND, WPARAM, LPARAM, uint64_t)
{
    return S_FALSE;
}

HRESULT SetButtonsObjectUserInterface2::CycleBeforeFinalize(HWND, WPARAM, LPARAM, uint64_t, uint64_t)
{
    return S_FALSE;
}

HRESULT SetButtonsObjectUserInterface2::CycleAfterFinalize(HWND, WPARAM, LPARAM, uint64_t, uint64_t)
{
    m_cursor_x = m_last_mouse_x;
    m_cursor_y = m_last_mouse_y;
    return S_OK;
}

HRESULT SetButtonsObjectUserInterface2::OnSizeWindow(HWND, WPARAM, LPARAM, uint64_t)
{
    return RebuildObject();
}

HRESULT SetButtonsObjectUserInterface2::OnMouseHoverLeave(HWND, UINT, WPARAM, LPARAM, uint64_t)
{
    return S_FALSE;
}

// The mouse position stays in window coordinates: the light spot is placed with it.
HRESULT SetButtonsObjectUserInterface2::OnMouseMove(HWND, WPARAM, LPARAM, uint64_t)
{
    return S_FALSE;
}

HRESULT SetButtonsObjectUserInterface2::OnMouseButton(HWND, UINT, WPARAM, LPARAM, uint64_t, bool)
{
    try {
        for (int32_t i = 0; i < ButtonCount(); ++i)
            if (IsButton(i) && (ButtonState(i) & StatePassive) == 0)
                Mark(128 + i);
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

// Only a change of the caption font needs the faces drawn again.
HRESULT SetButtonsObjectUserInterface2::SetChangedAllBuffers()
{
    try {
        if (m_gdi_changed.GetElement(CaptionEntry) == 0)
            return S_OK;
        for (int32_t i = 0; i < static_cast<int32_t>(MaxElements); ++i)
            for (int32_t layer : {112, 128, 144})
                Mark(layer + i);
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT SetButtonsObjectUserInterface2::OnGeneralInfoChanged()
{
    try {
        const TypedValueListUserInterface2& properties = m_property_tables.GetElement(0);
        const DynamicBoundsObject<uint8_t>& changed = m_property_changed.GetElement(0);
        for (int32_t skin = 0; skin < SkinCount; ++skin) {
            const DynamicString& name = properties.GetElement(skin).m_value.m_text;
            if (changed.GetElement(skin) == 0 || name.GetLenString() == 0)
                continue;
            LoadBMPFileToGeneralBuffer(name.GetString(), m_text.GetString(),
                                       &m_array_general_buffers.GetElement(SkinBuffers[skin]));
        }
        return RebuildObject();
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT SetButtonsObjectUserInterface2::OnElementInfoChanged()
{
    try {
        for (int32_t i = 0; i < ButtonCount(); ++i) {
            if (!IsButton(i))
                continue;
            Element& element = m_elements.GetElement(i);
            for (const BitmapField& bitmap : BitmapFields) {
                const DynamicString& name = element.Field(bitmap.m_field).m_value.m_text;
                if (element.m_changed.GetElement(bitmap.m_field) == 0 || name.GetLenString() == 0)
                    continue;
                LoadBMPFileToGeneralBuffer(name.GetString(), m_text.GetString(),
                                           &m_array_general_buffers.GetElement(bitmap.m_buffer + i));
                element.m_changed.GetElement(bitmap.m_field) = 0;
            }
            if (element.m_changed.GetElement(FieldCaption) == 0 && element.m_changed.GetElement(Element::FieldState) == 0)
                continue;
            Mark(48 + i);
            Mark(112 + i);
            element.m_changed.GetElement(FieldCaption) = 0;
        }
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT SetButtonsObjectUserInterface2::RebuildObject()
{
    try {
        BaseUserInterface::RebuildObject();
        HRESULT result = SetRectElements();
        m_rebuild_in_progress = 1;
        const auto keep = [&result](HRESULT step) {
            if (FAILED(step))
                result = step;
        };
        const auto buffer = [this](int32_t index) -> InfoGeneralBufferForUserInterface2& {
            return m_array_general_buffers.GetElement(index);
        };
        for (int32_t i = 0; i < ButtonCount(); ++i) {
            if (!IsButton(i))
                continue;
            // Layers cover the part of the button inside the widget.
            const RECT visible = VisibleRect(i);
            const int32_t width = std::max<int32_t>(visible.right - visible.left, 1);
            const int32_t height = std::max<int32_t>(visible.bottom - visible.top, 1);
            for (int32_t layer : ButtonLayers) {
                InfoGeneralBufferForUserInterface2* source = nullptr;
                if (layer <= 80 && SUCCEEDED(result))
                    source = &buffer(layer - 48 + i);
                keep(ResizeAndFillLayer(*this, buffer(layer + i), source, width, height));
                buffer(layer + i).SetChanged();
            }
        }
        const int32_t reference = ReferenceButton();
        const RECT referenceRect = reference >= 0 ? VisibleRect(reference) : RECT{};
        const int32_t referenceWidth = std::max<int32_t>(referenceRect.right - referenceRect.left, 1);
        const int32_t referenceHeight = std::max<int32_t>(referenceRect.bottom - referenceRect.top, 1);
        keep(ResizeAndFillLayer(*this, buffer(ScaledSkins[0]), &buffer(SkinBuffers[0]), m_width, m_height));
        for (int32_t layer : WidgetLayers)
            keep(buffer(layer).ResizeBuffer(m_width, m_height));
        for (int32_t skin = 1; skin < SkinCount; ++skin)
            keep(ResizeAndFillLayer(*this, buffer(ScaledSkins[skin]), &buffer(SkinBuffers[skin]), referenceWidth,
                               referenceHeight));
        for (int32_t layer : StateLayers)
            keep(buffer(layer).ResizeBuffer(referenceWidth, referenceHeight));
        for (int32_t index : ScaledSkins)
            buffer(index).SetChanged();
        for (int32_t index : WidgetLayers)
            buffer(index).SetChanged();
        for (int32_t index : StateLayers)
            buffer(index).SetChanged();
        if (m_width > 0 && m_height > 0)
            m_rebuild_in_progress = 0;
        return result;
    }
    CATCH_ALL_RETURN(E_FAIL)
}
