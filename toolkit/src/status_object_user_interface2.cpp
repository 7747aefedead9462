// The status strip: its two picture pipelines, the text, the scrolling texture, the glow and the
// parent drag.
#include "StatusObjectUserInterface2.h"

#include "CatchAllLog.h"
#include "FunctWorkWithHWND.h"
#include "ScrollBufferEffectsUserInterface2.h"
#include "g_managment_mem.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

using Action = InfoActionUserInterface2;
using Status = StatusObjectUserInterface2;

const char g_statusWindowClass[] = "OJV::UserInterface2::StatusObjectUserInterface2::24.10.2006";

constexpr uint32_t Src = Action::FlagSource;
constexpr uint32_t Dst = Action::FlagDestination;
constexpr uint32_t DrawnByCallback = Dst | 0x100;
constexpr uint32_t ConstantUnderMask = Dst | 1;
constexpr uint32_t LevelGradient = Dst | 20;
constexpr uint32_t RadialPattern = Dst | Action::FlagClamp | 26;
constexpr uint32_t GlowBlur = Dst | Action::FlagPadRows | 21;
constexpr uint32_t GlowSharpen = Dst | Action::FlagPadRows | 22;
constexpr uint32_t Copy = Src | Dst | 2;
constexpr uint32_t Add = Src | Dst | 11;
constexpr uint32_t AddClamped = Src | Dst | Action::FlagClamp | 11;
constexpr uint32_t Subtract = Src | Dst | 12;
constexpr uint32_t AndPlanes = Src | Dst | 23;
constexpr uint32_t MultiplyShift = Src | Dst | 24;

// Products of a sample and a weight of 0..127 back into the sample's range.
constexpr float WeightShift = 7.0f;
constexpr float FullWeight = 127.0f;
constexpr float ScrollRowsPerSecond = 100.0f;
constexpr int32_t TrailCount = 80;
constexpr int32_t TrailDecay = 4;
constexpr uint8_t TrailChannels[3] = {0, 0, 1};
constexpr int32_t GlowTurn = 13;
constexpr int32_t FallingPerSecond = 50;
constexpr int32_t RisingPerSecond = 5;
constexpr uint32_t TextEntry = 137;
constexpr int32_t RadialLimit = 128;

constexpr int32_t TextBuffer = 8;
constexpr int32_t ComposedBuffer = 14;
constexpr int32_t GlowBuffer = 13;
constexpr int32_t PatternBuffer = 10;
constexpr int32_t WeightBuffer = 18;

// The buffers the rebuild sizes, in its order; in the split pipeline the first six take the
// heights of the parts they belong to.
constexpr int32_t SizedBuffers[] = {4, 5, 6, 7, 8, 9, 10, 11, 12, 17, 13, 14, 15, 16, 18};
enum class Part
{
    Top,
    Bottom,
    Whole,
};
constexpr Part SplitParts[] = {Part::Top, Part::Top, Part::Bottom, Part::Whole, Part::Bottom, Part::Bottom};

bool HasAllPlanes(const InfoGeneralBufferForUserInterface2& buffer)
{
    for (uint32_t plane = 0; plane < 3; ++plane)
        if (buffer.m_rgb_buffers.GetElement(plane) == nullptr)
            return false;
    return true;
}

void SetFirstLane(Action& action, float value)
{
    for (uint32_t channel = 0; channel < Action::Channels; ++channel)
        action.m_params_a[channel][0] = value;
}

// The stored text is cut to the capacity, so it is compared with the same cut.
bool EqualsCut(const StaticString<Status::TextCapacity>& stored, const char* text)
{
    const size_t length = strnlen(text, Status::TextCapacity - 1);
    return stored.GetLenString() == length && std::memcmp(stored.GetString(), text, length) == 0;
}

// The window's top-left corner in the coordinates MoveWindow takes for it.
POINT ParentCorner(HWND window)
{
    RECT frame = {};
    GetWindowRect(window, &frame);
    POINT corner = {frame.left, frame.top};
    if ((GetWindowLongPtrA(window, GWL_STYLE) & WS_CHILD) != 0)
        MapWindowPoints(nullptr, GetParent(window), &corner, 1);
    return corner;
}

uint64_t TimeOf(uint32_t timeLow, uint32_t timeHigh)
{
    return static_cast<uint64_t>(timeHigh) << 32 | timeLow;
}

} // namespace

// Pipeline A draws the split strip and every text; pipeline B the whole-height one.
struct StatusObjectUserInterface2::CycleVariant
{
    float m_levels[3];
    int32_t m_glow_bottom;
    int32_t m_glow_top;
    // The blur's operand is this minus the counter.
    int32_t m_blur_span;
    bool m_whole;
};

namespace {

constexpr StatusObjectUserInterface2::CycleVariant VariantA = {{127.0f, 0.0f, -127.0f}, 4, 20, 24, false};
constexpr StatusObjectUserInterface2::CycleVariant VariantB = {{64.0f, 0.0f, -64.0f}, 1, 50, 50, true};

} // namespace

StatusObjectUserInterface2::StatusObjectUserInterface2(const char* objectName, HINSTANCE module, uint32_t style,
                                                       uint8_t dragParent)
try : BaseUserInterface({}, 0, 0, objectName, module, 0, TimerPeriod), m_mode(style), m_drag_parent(dragParent) {
    m_window_class_name = g_statusWindowClass;
}
CATCH_ALL_RETHROW()

StatusObjectUserInterface2::~StatusObjectUserInterface2()
{
    try {
        FreeObject();
        for (int16_t*& row : m_trail_rows)
            SAFE_TASK_FREE(&row);
    }
    CATCH_ALL_LOG()
}

// ---- size, skins and settings ----

void StatusObjectUserInterface2::UpdateSplit()
{
    const float share = m_property_tables.GetElement(0).GetElement(FieldTopShare).m_value.m_float;
    m_split_top = static_cast<int32_t>(std::trunc(static_cast<float>(m_height) * share));
    m_split_bottom = m_height - m_split_top;
}

HRESULT StatusObjectUserInterface2::OnSizeWindow(HWND, WPARAM, LPARAM, uint64_t)
{
    try {
        UpdateSplit();
        m_centre_x = m_width / 2;
        m_centre_y = m_height / 2;
        return RebuildObject();
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT StatusObjectUserInterface2::OnGeneralInfoChanged()
{
    try {
        TypedValueListUserInterface2& table = m_property_tables.GetElement(0);
        DynamicBoundsObject<uint8_t>& flags = m_property_changed.GetElement(0);
        for (uint32_t i = 0; i < SkinCount; ++i)
            if (flags.GetElement(FieldFirstSkin + i) != 0)
                LoadBMPFileToGeneralBuffer(table.GetElement(FieldFirstSkin + i).m_value.m_text.GetString(),
                                           m_text.GetString(), &m_array_general_buffers.GetElement(i));
        if (flags.GetElement(FieldText) != 0)
            for (uint32_t i = 0; i < SkinCount; ++i)
                m_array_general_buffers.GetElement(i).SetChanged();
        InfoTypedValueUserInterface2& share = table.GetElement(FieldTopShare);
        // A NaN fails the range test too.
        if (share.m_type == InfoTypedValueUserInterface2::TypeFloat &&
            !(share.m_value.m_float > 0.0f && share.m_value.m_float <= 1.0f))
            share.SetFloat(FallbackTopShare);
        const InfoTypedValueUserInterface2& style = table.GetElement(FieldStyle);
        if (style.m_type == InfoTypedValueUserInterface2::TypeInt && static_cast<uint32_t>(style.m_value.m_int) != m_mode) {
            m_mode = static_cast<uint32_t>(style.m_value.m_int);
            m_array_general_buffers.GetElement(12).FillBuffers(7, 0);
            SetupGeneralCycle(1);
        }
        return RebuildObject();
    }
    CATCH_ALL_RETURN(E_FAIL)
}

void StatusObjectUserInterface2::SizeBuffers()
{
    const bool split = Pipeline() == PipelineSplit;
    for (uint32_t i = 0; i < std::size(SizedBuffers); ++i) {
        const Part part = split && i < std::size(SplitParts) ? SplitParts[i] : Part::Whole;
        const int32_t height = part == Part::Top ? m_split_top : part == Part::Bottom ? m_split_bottom : m_height;
        m_array_general_buffers.GetElement(SizedBuffers[i]).ResizeBuffer(m_width, height);
    }
    for (uint32_t i = 0; i < SkinCount; ++i) {
        InfoGeneralBufferForUserInterface2& skin = m_array_general_buffers.GetElement(i);
        InfoGeneralBufferForUserInterface2& copy = m_array_general_buffers.GetElement(4 + i);
        if (skin.IsChanged() != 0 || copy.IsChanged() != 0)
            CopyGeneralBuffer(&copy, &skin);
    }
    m_array_general_buffers.GetElement(6).SetChanged();
    m_array_general_buffers.GetElement(TextBuffer).SetChanged();
}

// The split pipeline stacks the top part above the bottom part in buffer 14.
void StatusObjectUserInterface2::SetSplitRowCounts()
{
    const InfoGeneralBufferForUserInterface2& top = m_array_general_buffers.GetElement(4);
    const InfoGeneralBufferForUserInterface2& bottom = m_array_general_buffers.GetElement(9);
    m_actions.GetElement(10).m_height = top.m_height_element;
    Action& lower = m_actions.GetElement(11);
    lower.m_destination_offset = top.m_height_element * m_array_general_buffers.GetElement(ComposedBuffer).m_byte_stride;
    lower.m_height = bottom.m_height_element;
    m_actions.GetElement(22).m_height = m_array_general_buffers.GetElement(5).m_height_element;
}

HRESULT StatusObjectUserInterface2::RebuildObject()
{
    try {
        BaseUserInterface::RebuildObject();
        m_rebuild_in_progress = 1;
        UpdateSplit();
        SizeBuffers();
        if (Pipeline() == PipelineSplit)
            SetSplitRowCounts();
        if (m_width > 0 && m_height > 0) {
            m_cycle_suspended = 0;
            m_rebuild_in_progress = 0;
        }
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

// ---- the pipelines ----

void StatusObjectUserInterface2::FillSlot(uint32_t slot, uint32_t operation, int32_t source, int32_t destination,
                                          ActionCallbackUserInterface2 callback, uintptr_t context)
{
    Action& action = m_actions.GetElement(slot);
    action = Action();
    action.ResetRegions();
    action.m_flags = operation;
    action.m_repeat_count = 1;
    action.m_source_index = source;
    action.m_destination_index = destination;
    action.m_callback = callback;
    action.m_callback_context = context;
    if ((operation & Action::OperationMask) == (MultiplyShift & Action::OperationMask))
        SetFirstLane(action, WeightShift);
}

void StatusObjectUserInterface2::FillPipeline()
{
    const bool split = Pipeline() == PipelineSplit;
    const ActionCallbackUserInterface2 a = FunctStatusCycleA;
    const ActionCallbackUserInterface2 b = split ? FunctStatusCycleA : FunctStatusCycleB;
    FillSlot(0, DrawnByCallback, -1, TextBuffer, a, ContextText);
    FillSlot(1, Copy, 6, 9);
    FillSlot(2, Add, TextBuffer, 9);
    FillSlot(3, RadialPattern, -1, PatternBuffer, b, ContextCentre);
    FillSlot(4, LevelGradient, -1, 11, b, ContextLevels);
    FillSlot(5, DrawnByCallback, -1, 12, b, ContextScroll);
    FillSlot(6, Copy, 12, 17);
    FillSlot(7, MultiplyShift, 11, 17);
    FillSlot(8, Add, 4, 17);
    if (split) {
        FillSlot(10, Copy, 4, ComposedBuffer);
        FillSlot(11, Copy, 9, ComposedBuffer);
    } else {
        FillSlot(11, Copy, 17, ComposedBuffer);
    }
    FillSlot(12, Copy, ComposedBuffer, GlowBuffer, b, ContextGlow);
    FillSlot(13, GlowBlur, -1, GlowBuffer, b, ContextGlow);
    FillSlot(20, Copy, GlowBuffer, 15);
    if (split) {
        FillSlot(21, AddClamped, 17, 15);
        FillSlot(22, AndPlanes, 5, 15);
    } else {
        FillSlot(22, AddClamped, 9, 15);
    }
    FillSlot(25, MultiplyShift, split ? 7 : 5, PatternBuffer);
    FillSlot(26, ConstantUnderMask, -1, WeightBuffer, b, ContextCentre);
    for (uint32_t channel = 0; channel < Action::Channels; ++channel)
        FillActionParams(m_actions.GetElement(26).m_params_a, channel, FullWeight);
    FillSlot(27, Subtract, PatternBuffer, WeightBuffer);
    FillSlot(28, Copy, 15, FinalBuffer);
    FillSlot(29, MultiplyShift, WeightBuffer, FinalBuffer);
    FillSlot(30, Add, PatternBuffer, FinalBuffer);
}

HRESULT StatusObjectUserInterface2::SetupGeneralCycle(uint32_t flags)
{
    try {
        if (flags == 0) {
            TypedValueListUserInterface2& table = m_property_tables.GetElement(0);
            for (uint32_t i = FieldFirstSkin; i <= FieldText; ++i)
                table.GetElement(i).SetText("");
            table.GetElement(FieldTopShare).SetFloat(DefaultTopShare);
            table.GetElement(FieldStyle).SetInt(static_cast<int32_t>(m_mode));
        }
        for (uint32_t slot = 0; slot < ActionSlotCount; ++slot)
            m_actions.GetElement(slot) = Action();
        const uint32_t pipeline = Pipeline();
        if (pipeline != PipelineSplit && pipeline != PipelineWhole) {
            m_finall_buffer_choice = -1;
            return S_OK;
        }
        FillPipeline();
        m_finall_buffer_choice = FinalBuffer;
        if (pipeline == PipelineSplit)
            SetSplitRowCounts();
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

// ---- drawing callbacks ----

HRESULT StatusObjectUserInterface2::FunctStatusCycleA(BaseUserInterface* widget, uintptr_t context, int32_t slot,
                                                      int32_t run, uint32_t timeLow, uint32_t timeHigh)
{
    try {
        if (FAILED(CheckParamActionFunction(widget, context, slot, run, timeLow, timeHigh)))
            return E_FAIL;
        return static_cast<StatusObjectUserInterface2*>(widget)->RunCycleStep(VariantA, context, slot,
                                                                              TimeOf(timeLow, timeHigh));
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT StatusObjectUserInterface2::FunctStatusCycleB(BaseUserInterface* widget, uintptr_t context, int32_t slot,
                                                      int32_t run, uint32_t timeLow, uint32_t timeHigh)
{
    try {
        if (FAILED(CheckParamActionFunction(widget, context, slot, run, timeLow, timeHigh)) || context == ContextText)
            return E_FAIL;
        return static_cast<StatusObjectUserInterface2*>(widget)->RunCycleStep(VariantB, context, slot,
                                                                              TimeOf(timeLow, timeHigh));
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT StatusObjectUserInterface2::RunCycleStep(const CycleVariant& variant, uintptr_t context, int32_t slot,
                                                 uint64_t now)
{
    Action& action = m_actions.GetElement(slot);
    const int32_t index = action.m_destination_index;
    if (index < 0 || index >= static_cast<int32_t>(m_array_general_buffers.GetCount()))
        return S_FALSE;
    InfoGeneralBufferForUserInterface2& destination = m_array_general_buffers.GetElement(index);
    if (!HasAllPlanes(destination) || destination.m_width_element < 1 || destination.m_height_element < 1)
        return S_FALSE;
    if (FAILED(destination.CheckBuffer()))
        return E_FAIL;
    switch (context) {
    case ContextText:
        return DrawText(destination);
    case ContextLevels:
        for (uint32_t channel = 0; channel < Action::Channels; ++channel)
            std::copy(std::begin(variant.m_levels), std::end(variant.m_levels), action.m_params_a[channel]);
        return S_OK;
    case ContextScroll:
        return ScrollTexture(variant, destination, now);
    case ContextGlow:
        return StepGlow(variant, slot, now);
    case ContextCentre:
        return PlaceCentre(variant, slot, destination);
    default:
        return E_FAIL;
    }
}

// Drawn only when the text (cut to the stored length) changed or its buffer was remade.
HRESULT StatusObjectUserInterface2::DrawText(InfoGeneralBufferForUserInterface2& destination)
{
    const InfoTypedValueUserInterface2& field = m_property_tables.GetElement(0).GetElement(FieldText);
    if (field.m_type != InfoTypedValueUserInterface2::TypeText)
        return E_FAIL;
    const char* text = field.m_value.m_text.GetString();
    if (EqualsCut(m_status_text, text) && destination.IsChanged() == 0)
        return S_FALSE;
    destination.SetChanged();
    m_status_text = text;
    const InfoGDIUserInterface2& entry = m_gdi_table.GetElement(TextEntry);
    InfoFontForDrawToHDC font;
    font.m_text = m_status_text.GetString();
    font.m_format = Pipeline() == PipelineWhole ? DT_VCENTER : DT_LEFT | DT_TOP;
    font.m_text_color = entry.m_color;
    font.m_font = CreateFontIndirectA(&entry.m_font);
    InfoLayerLookUserInterface2 look;
    look.m_draw = FunctDrawTextToHDC;
    look.m_record = &font;
    look.m_record_size = sizeof(font);
    const HRESULT drawn = DrawLayer(TextBuffer, look);
    return FAILED(drawn) ? drawn : S_OK;
}

// The first tick only starts the clock.
HRESULT StatusObjectUserInterface2::ScrollTexture(const CycleVariant& variant,
                                                  InfoGeneralBufferForUserInterface2& destination, uint64_t now)
{
    if (m_last_scroll_time == 0) {
        m_last_scroll_time = static_cast<int64_t>(now);
        return S_FALSE;
    }
    const uint32_t kind = variant.m_whole ? m_mode & ScrollMask : ScrollPlain;
    HRESULT scrolled = S_FALSE;
    if (kind == ScrollWithTrails)
        scrolled = FunctScrollBufferWithTrailsByTime(&destination, m_trail_rows, &m_trail_rows_size, TrailChannels, 1,
                                                     static_cast<int64_t>(now), &m_last_scroll_time,
                                                     ScrollRowsPerSecond, TrailCount, TrailDecay);
    else if (kind == ScrollPlain)
        scrolled = FunctScrollBufferByTime(&destination, 1, static_cast<int64_t>(now), &m_last_scroll_time,
                                           ScrollRowsPerSecond);
    if (scrolled != S_OK)
        return S_FALSE;
    m_array_general_buffers.GetElement(GlowBuffer).SetChanged();
    return S_OK;
}

// The counter falls towards the bottom while the pointer is inside and rises to the top outside.
HRESULT StatusObjectUserInterface2::StepGlow(const CycleVariant& variant, int32_t slot, uint64_t now)
{
    const bool inside = m_mouse_tracking != 0;
    const bool composedChanged = m_array_general_buffers.GetElement(ComposedBuffer).IsChanged() != 0;
    if (!composedChanged && !(inside ? m_glow_counter > variant.m_glow_bottom : m_glow_counter < variant.m_glow_top))
        return S_FALSE;
    if (slot == 12) {
        m_array_general_buffers.GetElement(ComposedBuffer).SetChanged();
        return S_OK;
    }
    const double seconds = static_cast<double>(static_cast<int64_t>(now - m_mouse_enter_time)) / 1000.0;
    const double counter = inside ? variant.m_glow_top - FallingPerSecond * seconds
                                  : variant.m_glow_bottom + RisingPerSecond * seconds;
    m_glow_counter = std::clamp(static_cast<int32_t>(std::clamp(std::trunc(counter), -1e6, 1e6)),
                                variant.m_glow_bottom, variant.m_glow_top);
    Action& action = m_actions.GetElement(slot);
    const bool sharpen = m_glow_counter < GlowTurn;
    action.m_flags = sharpen ? GlowSharpen : GlowBlur;
    SetFirstLane(action, static_cast<float>(sharpen ? m_glow_counter : variant.m_blur_span - m_glow_counter));
    return S_OK;
}

HRESULT StatusObjectUserInterface2::PlaceCentre(const CycleVariant& variant, int32_t slot,
                                                const InfoGeneralBufferForUserInterface2& destination)
{
    if (slot != 3) {
        InfoGeneralBufferForUserInterface2& weights = m_array_general_buffers.GetElement(WeightBuffer);
        if (m_array_general_buffers.GetElement(PatternBuffer).IsChanged() == 0 && weights.IsChanged() == 0)
            return S_FALSE;
        weights.SetChanged();
        m_array_general_buffers.GetElement(FinalBuffer).SetChanged();
        return S_OK;
    }
    Action& action = m_actions.GetElement(slot);
    uint32_t halvings = 0;
    for (int32_t span = destination.m_width_element + destination.m_height_element; span >= RadialLimit; span /= 2)
        ++halvings;
    action.m_operation_argument = halvings;
    const bool ownCentre = variant.m_whole && (m_mode & CentreOnWidget) == 0;
    const float x = static_cast<float>(ownCentre ? destination.m_width_element / 2 : m_centre_x);
    const float y = static_cast<float>(ownCentre ? destination.m_height_element / 2 : m_centre_y);
    for (uint32_t channel = 0; channel < Action::Channels; ++channel) {
        action.m_params_a[channel][0] = x;
        action.m_params_a[channel][1] = y;
    }
    m_array_general_buffers.GetElement(PatternBuffer).SetChanged();
    return S_OK;
}

// ---- dragging the parent ----

HWND StatusObjectUserInterface2::DraggedWindow() const
{
    HWND parent = m_window != nullptr ? GetParent(m_window) : nullptr;
    return parent != nullptr && SUCCEEDED(CheckIsWindow(parent)) ? parent : nullptr;
}

POINT StatusObjectUserInterface2::PointerOnParent(HWND parent, LPARAM lParam) const
{
    const POINT corner = ParentCorner(parent);
    return {corner.x + static_cast<int16_t>(LOWORD(lParam)), corner.y + static_cast<int16_t>(HIWORD(lParam))};
}

HRESULT StatusObjectUserInterface2::OnMouseButton(HWND, UINT message, WPARAM, LPARAM lParam, uint64_t, bool)
{
    try {
        HWND parent = DraggedWindow();
        if (message != WM_LBUTTONDOWN || parent == nullptr)
            return S_FALSE;
        const POINT point = PointerOnParent(parent, lParam);
        m_drag_x = point.x;
        m_drag_y = point.y;
        return S_FALSE;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

// Only a drag that began with a press on the strip moves the parent.
HRESULT StatusObjectUserInterface2::OnMouseMove(HWND, WPARAM wParam, LPARAM lParam, uint64_t)
{
    try {
        HWND parent = DraggedWindow();
        if (m_drag_parent == 0 || (wParam & MK_LBUTTON) == 0 || m_left_button_down == 0 || parent == nullptr)
            return S_FALSE;
        const POINT point = PointerOnParent(parent, lParam);
        const POINT corner = ParentCorner(parent);
        RECT frame = {};
        GetWindowRect(parent, &frame);
        MoveWindow(parent, corner.x + point.x - m_drag_x, corner.y + point.y - m_drag_y, frame.right - frame.left,
                   frame.bottom - frame.top, TRUE);
        m_drag_x = point.x;
        m_drag_y = point.y;
        return S_FALSE;
    }
    CATCH_ALL_RETURN(E_FAIL)
}
