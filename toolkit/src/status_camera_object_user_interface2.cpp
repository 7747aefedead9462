// The weekly schedule grid: the week's cells, painting with the mouse, the corner brushes, the glow
// and fade of what lies under the pointer, and the drawing program of its picture.
#include "StatusCameraObjectUserInterface2.h"

#include "CatchAllLog.h"
#include "FunctWorkWithHWND.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <iterator>

namespace {

using Action = InfoActionUserInterface2;
using Grid = StatusCameraObjectUserInterface2;

const char g_gridWindowClass[] = "OJV::UserInterface2::StatusCameraObjectUserInterface2::24.10.2006";
const char* const g_gridOperationNames[] = {
    "GMU_UpdateStateSheduler_StatusCameraUserInterface2,D.U.R.M.I.X.,30.07.2005::18.29.00",
};
const char g_recordName[] = "InfoMessageForXXXUpdateStateSheduler";
const char g_testSkin[] = "ShedulerElementTestNameFile.bmp";
const char* const g_dayNames[Grid::Days] = {"Monday", "Tuesday", "Wednesday", "Thursday",
                                            "Friday", "Saturday", "Sunday"};

constexpr uint32_t Src = Action::FlagSource;
constexpr uint32_t Dst = Action::FlagDestination;
constexpr uint32_t DrawnByCallback = Dst | 0x100;
constexpr uint32_t ConstantUnderMask = Dst | 1;
// The glow colour is added onto the picture, which a fill would wipe out.
constexpr uint32_t AddColour = Dst | Action::FlagClamp | 14;
constexpr uint32_t PressedLook = Dst | Action::FlagClamp | Action::FlagPadRows | 22;
constexpr uint32_t Copy = Src | Dst | 2;
constexpr uint32_t Add = Src | Dst | 11;
constexpr uint32_t AddClamped = Src | Dst | Action::FlagClamp | 11;
constexpr uint32_t Subtract = Src | Dst | 12;
constexpr uint32_t AndPlanes = Src | Dst | 23;
constexpr uint32_t MultiplyShift = Src | Dst | 24;

constexpr float WeightShift = 7.0f;
constexpr uint32_t CaptionFormat = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
constexpr COLORREF CaptionColour = 0xC8C8C8;
constexpr uint32_t BackgroundEntry = 53;
constexpr uint64_t LongestFade = 100000;
constexpr int32_t MaxMark = 2;
constexpr int32_t StateBrushes = 4;
constexpr int32_t MarkBrushes = 3;
constexpr uint32_t SkinProperties = 17;
constexpr uint32_t TestSkinProperties = 20;

// Buffers of the picture.
constexpr int32_t CornerWork = 119;
constexpr int32_t CornerMarkWork = 120;
constexpr int32_t HourBackground = 94;
constexpr int32_t HourStencil = 96;
constexpr int32_t HourPrepared = 97;
constexpr int32_t HourWork = 121;
constexpr int32_t HourResult = 122;
constexpr int32_t DayBackground = 99;
constexpr int32_t DayStencil = 101;
constexpr int32_t DayPrepared = 102;
constexpr int32_t DayWork = 123;
constexpr int32_t DayResult = 124;
constexpr int32_t FirstDayPicture = 32;
constexpr int32_t CellWork = 125;
constexpr int32_t CellMarkWork = 126;
constexpr int32_t CellResult = 127;
constexpr int32_t StateStencil = 85;
constexpr int32_t StatePrepared = 86;
constexpr int32_t MarkStencil = 88;
constexpr int32_t MarkPrepared = 89;
constexpr int32_t FrameStencil = 91;
constexpr int32_t FramePrepared = 92;
constexpr int32_t CornerFrame = 129;
constexpr int32_t CornerFramePrepared = 130;

constexpr int32_t SkinBuffers[SkinProperties] = {64, 66, 68, 70, 72, 74, 76, 84, 87, 90, 93, 95, 98, 100, 113, 116, 128};
constexpr int32_t StatePictures[StateBrushes] = {65, 67, 69, 71};
constexpr int32_t MarkPictures[MarkBrushes] = {73, 75, 77};
constexpr int32_t StateBrushPictures[StateBrushes] = {103, 104, 105, 106};
constexpr int32_t MarkBrushPictures[MarkBrushes] = {107, 108, 109};

// Stencils and the inverted forms the program makes of them.
struct StencilPair
{
    int32_t m_stencil;
    int32_t m_prepared;
};
constexpr StencilPair Stencils[] = {{85, 86}, {88, 89}, {91, 92}, {96, 97}, {101, 102}, {114, 115}, {117, 118}, {129, 130}};

enum class Area
{
    Cell,
    Hour,
    Day,
    Corner,
    Whole,
};

struct SizedBuffer
{
    int32_t m_buffer;
    int32_t m_source;
    Area m_area;
};

constexpr SizedBuffer SizedBuffers[] = {
    {65, 64, Area::Cell},     {67, 66, Area::Cell},     {69, 68, Area::Cell},     {71, 70, Area::Cell},
    {73, 72, Area::Cell},     {75, 74, Area::Cell},     {77, 76, Area::Cell},     {85, 84, Area::Cell},
    {88, 87, Area::Cell},     {91, 90, Area::Cell},     {86, -1, Area::Cell},     {89, -1, Area::Cell},
    {92, -1, Area::Cell},     {94, 93, Area::Hour},     {96, 95, Area::Hour},     {97, -1, Area::Hour},
    {99, 98, Area::Day},      {101, 100, Area::Day},    {102, -1, Area::Day},     {103, 64, Area::Corner},
    {104, 66, Area::Corner},  {105, 68, Area::Corner},  {106, 70, Area::Corner},  {107, 72, Area::Corner},
    {108, 74, Area::Corner},  {109, 76, Area::Corner},  {114, 113, Area::Corner}, {117, 116, Area::Corner},
    {115, -1, Area::Corner},  {118, -1, Area::Corner},  {119, -1, Area::Corner},  {120, -1, Area::Corner},
    {121, -1, Area::Hour},    {122, -1, Area::Hour},    {123, -1, Area::Day},     {124, -1, Area::Day},
    {125, -1, Area::Cell},    {126, -1, Area::Cell},    {127, -1, Area::Cell},    {134, -1, Area::Whole},
    {129, 128, Area::Corner}, {130, -1, Area::Corner},
};

enum Code : uintptr_t
{
    CodeHourNumbers = 0,
    CodeDayNames = 1,
    CodeCornerPictures = 2,
    CodeCornerRegion = 3,
    CodeHours = 4,
    CodeDays = 5,
    CodeCells = 6,
    CodeStencils = 7,
};

constexpr uint32_t HeaderSteps = 8;
constexpr uint32_t CellSteps = 13;

// Names the step's operation and buffers; regions and operands start over.
void SetStep(Action& action, uint32_t flags, int32_t source, int32_t destination)
{
    action.ResetRegions();
    action.m_flags = flags;
    action.m_source_index = source;
    action.m_destination_index = destination;
    action.m_operation_argument = 0;
    for (uint32_t channel = 0; channel < Action::Channels; ++channel) {
        FillActionParams(action.m_params_a, channel, 0.0f);
        FillActionParams(action.m_params_b, channel, 0.0f);
    }
}

void SetWeighted(Action& action, int32_t weights, int32_t destination)
{
    SetStep(action, MultiplyShift, weights, destination);
    for (uint32_t channel = 0; channel < Action::Channels; ++channel)
        action.m_params_a[channel][0] = WeightShift;
}

// Each channel of vector A takes its byte of the colour.
void FillColour(Action& action, const unifrgb& colour)
{
    const uint8_t values[Action::Channels] = {colour.m_red, colour.m_green, colour.m_blue};
    for (uint32_t channel = 0; channel < Action::Channels; ++channel)
        FillActionParams(action.m_params_a, channel, static_cast<float>(values[channel]));
}

void SetColour(Action& action, uint32_t flags, int32_t destination, const unifrgb& colour)
{
    SetStep(action, flags, -1, destination);
    FillColour(action, colour);
}

unifrgb FromColorRef(COLORREF colour)
{
    return unifrgb(GetRValue(colour), GetGValue(colour), GetBValue(colour));
}

bool SameColour(const unifrgb& a, const unifrgb& b)
{
    return a.m_red == b.m_red && a.m_green == b.m_green && a.m_blue == b.m_blue;
}

// The fade of the elapsed milliseconds, per channel, held at 255 so it never wraps.
uint8_t FadeOf(uint8_t step, uint64_t elapsed)
{
    return static_cast<uint8_t>(std::min<uint64_t>(255, step * std::min(elapsed, LongestFade) / 10));
}

unifrgb Faded(const unifrgb& colour, const unifrgb& fade)
{
    const auto less = [](uint8_t value, uint8_t amount) { return static_cast<uint8_t>(value > amount ? value - amount : 0); };
    return unifrgb(less(colour.m_red, fade.m_red), less(colour.m_green, fade.m_green), less(colour.m_blue, fade.m_blue));
}

// Stores the target and raises the item's flag when it differs.
void Follow(unifrgb& colour, uint8_t& changed, const unifrgb& target)
{
    if (SameColour(colour, target))
        return;
    colour = target;
    changed = 1;
}

int32_t Within(int32_t value, int32_t count)
{
    return value >= 0 && value < count ? value : -1;
}

} // namespace

StatusCameraObjectUserInterface2::StatusCameraObjectUserInterface2(const ElementListUserInterface2& elements,
                                                                   int32_t count, uint32_t styleFlags,
                                                                   const char* objectName, HINSTANCE module,
                                                                   uint32_t controlId)
try : BaseUserInterface(elements, count, styleFlags, objectName, module, controlId, TimerPeriod) {
    m_hour_changed.Fill(1);
    m_day_changed.Fill(1);
    m_cell_changed.Fill(1);
    m_cells.Fill(NewCell);
    m_window_class_name = g_gridWindowClass;
    TypedValueListUserInterface2& table = m_property_tables.GetElement(0);
    for (int32_t day = 0; day < Days; ++day)
        table.GetElement(PropertyFirstDayName + day).SetText(g_dayNames[day]);
    table.GetElement(PropertyMarkBrush).SetFloat(1.0f);
    for (uint32_t i = 0; i < TestSkinProperties; ++i)
        table.GetElement(i).SetText(g_testSkin);
    UseThreeElements(controlId);
    if (FAILED(m_grid_messages.InitMessages(g_gridOperationNames, static_cast<int32_t>(std::size(g_gridOperationNames)))))
        throw 240;
    AddOperationTable(&m_grid_messages);
}
CATCH_ALL_RETHROW()

StatusCameraObjectUserInterface2::~StatusCameraObjectUserInterface2()
{
    try {
        FreeObject();
    }
    CATCH_ALL_LOG()
}

// The core reports a release with the element's command, so the grid and both buttons are used
// elements that carry the control id unless the caller gave them a command.
void StatusCameraObjectUserInterface2::UseThreeElements(uint32_t controlId)
{
    m_element_count = std::max(m_element_count, ElementMarkButton + 1);
    for (int32_t i = ElementGrid; i <= ElementMarkButton; ++i) {
        InfoElementUserInterface2& element = m_elements.GetElement(i);
        element.m_header_flag = 1;
        InfoTypedValueUserInterface2& command = element.Field(InfoElementUserInterface2::FieldCommand);
        if (command.m_value.m_int == 0)
            command.SetInt(static_cast<int32_t>(controlId));
    }
    m_elements.GetElement(ElementStateButton).m_notification_code = static_cast<uint16_t>(m_state_brush);
    m_elements.GetElement(ElementMarkButton).m_notification_code = static_cast<uint16_t>(m_mark_brush);
}

// ---- the week ----

HRESULT StatusCameraObjectUserInterface2::UpdateStateSheduler(uint8_t* buffer, uint32_t size, uint8_t direction)
{
    InfoMessageForXXXUpdateStateSheduler record;
    record.m_buffer = buffer;
    record.m_size = size;
    record.m_direction = direction;
    return SendOperation(m_grid_messages, 0, reinterpret_cast<WPARAM>(&record), 0,
                         "StatusCameraObjectUserInterface2::UpdateStateSheduler");
}

HRESULT StatusCameraObjectUserInterface2::UpdateStateShedulerReal(uint8_t* buffer, uint32_t size, uint8_t direction)
{
    try {
        if (buffer == nullptr)
            return E_INVALIDARG;
        if (size < static_cast<uint32_t>(CellCount))
            return E_UNEXPECTED;
        if (direction == DirectionSet) {
            for (int32_t i = 0; i < CellCount; ++i)
                m_cells.GetElement(i) = buffer[i];
            m_cell_changed.Fill(1);
        } else {
            for (int32_t i = 0; i < CellCount; ++i)
                buffer[i] = m_cells.GetElement(i);
        }
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT StatusCameraObjectUserInterface2::CompliteStandartMessage(HWND window, UINT message, WPARAM wParam,
                                                                  LPARAM lParam, bool* handled)
{
    if (handled == nullptr)
        return E_FAIL;
    try {
        if (m_grid_messages.GetIndexFromMessage(message) != 0)
            return BaseUserInterface::CompliteStandartMessage(window, message, wParam, lParam, handled);
        *handled = true;
        auto* record = reinterpret_cast<InfoMessageForXXXUpdateStateSheduler*>(wParam);
        if (record == nullptr || record->CheckNameStruct(g_recordName) != S_OK)
            return E_FAIL;
        return UpdateStateShedulerReal(record->m_buffer, record->m_size, record->m_direction);
    }
    CATCH_ALL_RETURN(E_FAIL)
}

// ---- pointer ----

StatusCameraObjectUserInterface2::GridPoint StatusCameraObjectUserInterface2::PartsAt(int32_t x, int32_t y) const
{
    GridPoint point;
    if (y < m_header_height && x > m_header_width)
        point.m_hour = Within((x - m_header_width) / m_cell_width, Hours);
    if (x < m_header_width && y > m_header_height)
        point.m_day = Within((y - m_header_height) / m_cell_height, Days);
    if (x > m_header_width && y > m_header_height) {
        point.m_cell_day = Within((y - m_header_height) / m_cell_height, Days);
        point.m_cell_hour = Within((x - m_header_width) / m_cell_width, Hours);
        if (point.m_cell_day < 0 || point.m_cell_hour < 0)
            point.m_cell_day = point.m_cell_hour = -1;
    }
    return point;
}

// A header takes its whole column or row.
bool StatusCameraObjectUserInterface2::IsHit(const GridPoint& point, int32_t cell) const
{
    const int32_t day = cell / Hours, hour = cell % Hours;
    return hour == point.m_hour || day == point.m_day || (day == point.m_cell_day && hour == point.m_cell_hour);
}

int32_t StatusCameraObjectUserInterface2::GetIndexElementFromPoint(int32_t x, int32_t y)
{
    if (!PointerInside())
        return -1;
    if (!InCorner(x, y))
        return ElementGrid;
    return CornerPart(x) + 1;
}

HRESULT StatusCameraObjectUserInterface2::Paint(HWND window, WPARAM keys, LPARAM lParam)
{
    if (!PointerInside() || (keys & MK_LBUTTON) == 0)
        return S_FALSE;
    const GridPoint point = PartsAt(LOWORD(lParam), HIWORD(lParam));
    bool hit = false;
    for (int32_t cell = 0; cell < CellCount; ++cell) {
        if (!IsHit(point, cell))
            continue;
        uint8_t& value = m_cells.GetElement(cell);
        value = m_edit_state != 0 ? static_cast<uint8_t>((m_state_brush & 15) << 4 | (value & 15))
                                  : static_cast<uint8_t>((value & 0xF0) | (m_mark_brush & 15));
        m_cell_changed.GetElement(cell) = 1;
        hit = true;
    }
    if (hit)
        return CatchMouseButtonsMessage(window, WM_LBUTTONUP, keys, lParam, true);
    return point.m_cell_day >= 0 ? S_OK : S_FALSE;
}

HRESULT StatusCameraObjectUserInterface2::OnMouseMove(HWND window, WPARAM wParam, LPARAM lParam, uint64_t)
{
    try {
        return Paint(window, wParam, lParam);
    }
    CATCH_ALL_RETURN(E_FAIL)
}

void StatusCameraObjectUserInterface2::PressCornerButton(int32_t x)
{
    const int32_t part = CornerPart(x);
    if (part == 0 && m_edit_state == 0) {
        m_edit_state = 1;
    } else if (part == 1 && m_edit_state != 0) {
        m_edit_state = 0;
    } else if (m_edit_state != 0) {
        m_state_brush = m_state_brush >= 1 && m_state_brush < StateBrushes ? m_state_brush + 1 : 1;
        m_elements.GetElement(ElementStateButton).m_notification_code = static_cast<uint16_t>(m_state_brush);
    } else {
        m_mark_brush = (m_mark_brush + 1) % MarkBrushes;
        m_elements.GetElement(ElementMarkButton).m_notification_code = static_cast<uint16_t>(m_mark_brush);
    }
    m_array_general_buffers.GetElement(CornerWork).SetChanged();
    m_array_general_buffers.GetElement(CornerMarkWork).SetChanged();
    m_cell_changed.Fill(1);
}

// A press from a drag was handled already; a click outside the corner paints like a drag.
HRESULT StatusCameraObjectUserInterface2::OnMouseButton(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                                        uint64_t, bool synthetic)
{
    try {
        if (synthetic)
            return S_FALSE;
        const int32_t x = LOWORD(lParam), y = HIWORD(lParam);
        if (message == WM_LBUTTONDOWN) {
            for (int32_t cell = 0; cell < CellCount; ++cell)
                if (SameColour(m_cell_colour.GetElement(cell), m_hover_colour))
                    m_cell_changed.GetElement(cell) = 1;
            return S_OK;
        }
        if (message != WM_LBUTTONUP && message != WM_LBUTTONDBLCLK)
            return S_FALSE;
        if (!InCorner(x, y))
            return Paint(window, wParam | MK_LBUTTON, lParam);
        PressCornerButton(x);
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT StatusCameraObjectUserInterface2::OnMouseHoverLeave(HWND, UINT, WPARAM, LPARAM, uint64_t)
{
    return S_FALSE;
}

// ---- glow and fade ----

HRESULT StatusCameraObjectUserInterface2::CycleBeforeFinalize(HWND, WPARAM, LPARAM, uint64_t, uint64_t elapsed)
{
    try {
        const GridPoint point = PointerInside() ? PartsAt(m_last_mouse_x, m_last_mouse_y) : GridPoint();
        const unifrgb fade(FadeOf(m_fade_step.m_red, elapsed), FadeOf(m_fade_step.m_green, elapsed),
                           FadeOf(m_fade_step.m_blue, elapsed));
        for (int32_t hour = 0; hour < Hours; ++hour) {
            unifrgb& colour = m_hour_colour.GetElement(hour);
            Follow(colour, m_hour_changed.GetElement(hour), hour == point.m_hour ? m_header_hover_colour : Faded(colour, fade));
        }
        for (int32_t day = 0; day < Days; ++day) {
            unifrgb& colour = m_day_colour.GetElement(day);
            Follow(colour, m_day_changed.GetElement(day), day == point.m_day ? m_header_hover_colour : Faded(colour, fade));
        }
        for (int32_t cell = 0; cell < CellCount; ++cell) {
            unifrgb& colour = m_cell_colour.GetElement(cell);
            Follow(colour, m_cell_changed.GetElement(cell), IsHit(point, cell) ? m_hover_colour : Faded(colour, fade));
        }
        return point.m_cell_day >= 0 ? S_OK : S_FALSE;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT StatusCameraObjectUserInterface2::CycleAfterFinalize(HWND, WPARAM, LPARAM, uint64_t, uint64_t)
{
    m_hour_changed.Fill(0);
    m_day_changed.Fill(0);
    m_cell_changed.Fill(0);
    return S_OK;
}

// ---- layout, skins and buffers ----

void StatusCameraObjectUserInterface2::SetAllFlags()
{
    m_hour_changed.Fill(1);
    m_day_changed.Fill(1);
    m_cell_changed.Fill(1);
}

// The day-name column takes what the cells leave over.
HRESULT StatusCameraObjectUserInterface2::OnSizeWindow(HWND, WPARAM, LPARAM, uint64_t)
{
    try {
        m_header_width = m_header_width_default;
        m_header_height = m_header_height_default;
        m_cell_width = std::max(1, (m_width - m_header_width) / Hours);
        m_cell_height = std::max(1, (m_height - m_header_height) / Days);
        SetAllFlags();
        m_header_width = std::max(1, m_width - Hours * m_cell_width);
        return RebuildObject();
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT StatusCameraObjectUserInterface2::OnGeneralInfoChanged()
{
    try {
        TypedValueListUserInterface2& table = m_property_tables.GetElement(0);
        const DynamicBoundsObject<uint8_t>& flags = m_property_changed.GetElement(0);
        for (uint32_t i = 0; i < SkinProperties; ++i) {
            const InfoTypedValueUserInterface2& skin = table.GetElement(i);
            if (flags.GetElement(i) != 0 && skin.m_type == InfoTypedValueUserInterface2::TypeText &&
                skin.m_value.m_text.GetLenString() > 0)
                LoadBMPFileToGeneralBuffer(skin.m_value.m_text.GetString(), m_text.GetString(),
                                           &m_array_general_buffers.GetElement(SkinBuffers[i]));
        }
        const float brush = table.GetElement(PropertyMarkBrush).m_value.m_float;
        if (flags.GetElement(PropertyMarkBrush) != 0 && std::isfinite(brush)) {
            const int32_t whole = static_cast<int32_t>(std::trunc(std::clamp(brush, -1e6f, 1e6f)));
            if (whole != m_mark_brush) {
                m_mark_brush = std::clamp(whole, 0, MaxMark);
                m_array_general_buffers.GetElement(CornerWork).SetChanged();
                m_array_general_buffers.GetElement(CornerMarkWork).SetChanged();
            }
        }
        return OnSizeWindow(m_window, 0, 0, 0);
    }
    CATCH_ALL_RETURN(E_FAIL)
}

void StatusCameraObjectUserInterface2::SizeBuffers()
{
    const auto sizeOf = [&](Area area) -> std::pair<int32_t, int32_t> {
        switch (area) {
        case Area::Cell:
            return {m_cell_width, m_cell_height};
        case Area::Hour:
            return {m_cell_width, m_header_height};
        case Area::Day:
            return {m_header_width, m_cell_height};
        case Area::Corner:
            return {m_header_width, m_header_height};
        default:
            return {m_width, m_height};
        }
    };
    for (int32_t hour = 0; hour < Hours; ++hour)
        m_array_general_buffers.GetElement(hour).ResizeBuffer(m_cell_width, m_header_height);
    for (int32_t day = 0; day < Days; ++day)
        m_array_general_buffers.GetElement(FirstDayPicture + day).ResizeBuffer(m_header_width, m_cell_height);
    for (const SizedBuffer& entry : SizedBuffers) {
        const auto [width, height] = sizeOf(entry.m_area);
        InfoGeneralBufferForUserInterface2& buffer = m_array_general_buffers.GetElement(entry.m_buffer);
        buffer.ResizeBuffer(width, height);
        if (entry.m_source < 0)
            continue;
        InfoGeneralBufferForUserInterface2& source = m_array_general_buffers.GetElement(entry.m_source);
        if (source.IsChanged() != 0 || buffer.IsChanged() != 0)
            CopyGeneralBuffer(&buffer, &source);
    }
}

HRESULT StatusCameraObjectUserInterface2::RebuildObject()
{
    try {
        BaseUserInterface::RebuildObject();
        m_rebuild_in_progress = 1;
        SizeBuffers();
        m_finall_buffer_choice = FinalBuffer;
        if (m_width > 0 && m_height > 0)
            m_rebuild_in_progress = 0;
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

// ---- the drawing program ----

HRESULT StatusCameraObjectUserInterface2::SetupGeneralCycle(uint32_t)
{
    try {
        TypedValueListUserInterface2& table = m_property_tables.GetElement(0);
        for (uint32_t i = 0; i <= 5; ++i)
            table.GetElement(i).SetText("");
        for (uint32_t slot = 0; slot < ActionSlotCount; ++slot)
            m_actions.GetElement(slot) = Action();
        struct SlotFill
        {
            uint32_t m_slot;
            uint32_t m_flags;
            uint32_t m_repeats;
            int32_t m_source;
            int32_t m_destination;
            intptr_t m_code; // -1: no callback
        };
        constexpr SlotFill program[] = {
            {4, DrawnByCallback, 2 * std::size(Stencils), -1, 85, CodeStencils},
            {16, DrawnByCallback, Hours, -1, 0, CodeHourNumbers},
            {18, DrawnByCallback, Days, -1, FirstDayPicture, CodeDayNames},
            {20, Copy, 1, 103, CornerWork, CodeCornerPictures},
            {21, MultiplyShift, 1, 114, CornerWork, CodeCornerPictures},
            {24, Copy, 1, 107, CornerMarkWork, CodeCornerPictures},
            {26, MultiplyShift, 1, 115, CornerMarkWork, CodeCornerPictures},
            {28, Add, 1, CornerWork, CornerMarkWork, -1},
            {30, ConstantUnderMask, 1, -1, CornerWork, CodeCornerRegion},
            {31, MultiplyShift, 1, CornerFramePrepared, CornerWork, -1},
            {32, MultiplyShift, 1, CornerFrame, CornerMarkWork, -1},
            {33, Add, 1, CornerMarkWork, CornerWork, CodeCornerRegion},
            {35, Copy, 1, CornerWork, FinalBuffer, CodeCornerRegion},
            {36, DrawnByCallback, Hours * HeaderSteps, -1, HourResult, CodeHours},
            {38, DrawnByCallback, Days * HeaderSteps, -1, DayResult, CodeDays},
            {50, DrawnByCallback, CellCount * CellSteps, -1, CellResult, CodeCells},
        };
        for (const SlotFill& fill : program) {
            Action& action = m_actions.GetElement(fill.m_slot);
            SetStep(action, fill.m_flags, fill.m_source, fill.m_destination);
            if ((fill.m_flags & Action::OperationMask) == (MultiplyShift & Action::OperationMask))
                SetWeighted(action, fill.m_source, fill.m_destination);
            action.m_repeat_count = fill.m_repeats;
            if (fill.m_code >= 0) {
                action.m_callback = FunctGridCycle;
                action.m_callback_context = static_cast<uintptr_t>(fill.m_code);
            }
        }
        m_finall_buffer_choice = FinalBuffer;
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT StatusCameraObjectUserInterface2::FunctGridCycle(BaseUserInterface* widget, uintptr_t code, int32_t slot,
                                                         int32_t run, uint32_t timeLow, uint32_t timeHigh)
{
    try {
        if (FAILED(CheckParamActionFunction(widget, code, slot, run, timeLow, timeHigh)))
            return E_FAIL;
        auto& grid = *static_cast<StatusCameraObjectUserInterface2*>(widget);
        switch (code) {
        case CodeStencils:
            return grid.DrawStencils(run);
        case CodeHourNumbers: {
            char number[12];
            std::snprintf(number, sizeof(number), "%d", run);
            return grid.DrawCaption(slot, run, number);
        }
        case CodeDayNames: {
            const int32_t day = std::min(run, Days - 1);
            const InfoTypedValueUserInterface2& name =
                grid.m_property_tables.GetElement(0).GetElement(PropertyFirstDayName + day);
            return grid.DrawCaption(slot, FirstDayPicture + day, name.m_value.m_text.GetString());
        }
        case CodeCornerPictures:
            return grid.ChooseCornerPicture(slot);
        case CodeCornerRegion:
            return grid.SetCornerRegion(slot);
        case CodeHours:
            return grid.DrawHeaderStep(false, run);
        case CodeDays:
            return grid.DrawHeaderStep(true, run);
        case CodeCells:
            return grid.DrawCellStep(run);
        default:
            return E_FAIL;
        }
    }
    CATCH_ALL_RETURN(E_FAIL)
}

// Even runs fill the inverted form with full weight, odd runs take the stencil off it.
HRESULT StatusCameraObjectUserInterface2::DrawStencils(int32_t run)
{
    const StencilPair& pair = Stencils[static_cast<uint32_t>(run / 2) % std::size(Stencils)];
    Action& action = m_actions.GetElement(4);
    if (run % 2 == 0)
        SetColour(action, ConstantUnderMask, pair.m_prepared, unifrgb(127, 127, 127));
    else
        SetStep(action, Subtract, pair.m_stencil, pair.m_prepared);
    return S_OK;
}

// Drawn only into a caption picture the rebuild remade.
HRESULT StatusCameraObjectUserInterface2::DrawCaption(int32_t slot, int32_t buffer, const char* text)
{
    m_actions.GetElement(slot).m_destination_index = buffer;
    InfoFontForDrawToHDC caption;
    caption.m_text = text;
    caption.m_format = CaptionFormat;
    caption.m_text_color = CaptionColour;
    InfoLayerLookUserInterface2 look;
    look.m_draw = FunctDrawTextToHDC;
    look.m_record = &caption;
    look.m_record_size = sizeof(caption);
    const HRESULT drawn = DrawLayer(buffer, look);
    return drawn == S_OK ? S_OK : S_FALSE;
}

HRESULT StatusCameraObjectUserInterface2::ChooseCornerPicture(int32_t slot)
{
    Action& action = m_actions.GetElement(slot);
    const bool editingState = m_edit_state != 0;
    switch (slot) {
    case 20:
        action.m_source_index = StateBrushPictures[std::clamp(m_state_brush, 1, StateBrushes) - 1];
        break;
    case 21:
        action.m_source_index = editingState ? 114 : 118;
        break;
    case 24:
        action.m_source_index = MarkBrushPictures[std::clamp(m_mark_brush, 0, MaxMark)];
        break;
    case 26:
        action.m_source_index = editingState ? 115 : 117;
        break;
    default:
        break;
    }
    return S_OK;
}

HRESULT StatusCameraObjectUserInterface2::SetCornerRegion(int32_t slot)
{
    Action& action = m_actions.GetElement(slot);
    action.m_height = m_array_general_buffers.GetElement(CornerWork).m_height_element;
    if (slot == 30)
        FillColour(action, FromColorRef(m_gdi_table.GetElement(BackgroundEntry).m_color));
    return S_OK;
}

// Eight steps per hour header or day name: background, glow, caption, stencil, the background
// colour outside the stencil, and the copy into the picture.
HRESULT StatusCameraObjectUserInterface2::DrawHeaderStep(bool days, int32_t run)
{
    const int32_t item = run / static_cast<int32_t>(HeaderSteps);
    const uint32_t step = static_cast<uint32_t>(run) % HeaderSteps;
    const int32_t caption = days ? FirstDayPicture + std::min(item, Days - 1) : item;
    const int32_t background = days ? DayBackground : HourBackground;
    const int32_t stencil = days ? DayStencil : HourStencil;
    const int32_t prepared = days ? DayPrepared : HourPrepared;
    const int32_t work = days ? DayWork : HourWork;
    const int32_t result = days ? DayResult : HourResult;
    if (item >= (days ? Days : Hours))
        return S_FALSE;
    const uint8_t changed = days ? m_day_changed.GetElement(item) : m_hour_changed.GetElement(item);
    const auto isChanged = [&](int32_t buffer) { return m_array_general_buffers.GetElement(buffer).IsChanged() != 0; };
    const bool pictureChanged = days ? isChanged(DayBackground) || isChanged(DayStencil)
                                     : isChanged(caption) || isChanged(HourStencil);
    if (changed == 0 && !pictureChanged)
        return S_FALSE;
    Action& action = m_actions.GetElement(days ? 38 : 36);
    switch (step) {
    case 0:
        m_array_general_buffers.GetElement(work).SetChanged();
        m_array_general_buffers.GetElement(result).SetChanged();
        SetStep(action, Copy, background, work);
        break;
    case 1:
        SetColour(action, AddColour, work, days ? m_day_colour.GetElement(item) : m_hour_colour.GetElement(item));
        break;
    case 2:
        SetStep(action, AndPlanes, caption, work);
        break;
    case 3:
        SetWeighted(action, stencil, work);
        break;
    case 4:
        SetColour(action, ConstantUnderMask, result, FromColorRef(m_gdi_table.GetElement(BackgroundEntry).m_color));
        break;
    case 5:
        SetWeighted(action, prepared, result);
        break;
    case 6:
        SetStep(action, Add, work, result);
        break;
    default: {
        SetStep(action, Copy, result, FinalBuffer);
        const int32_t x = days ? 0 : m_header_width + item * m_cell_width;
        const int32_t y = days ? m_header_height + item * m_cell_height : 0;
        action.m_destination_offset = y * m_array_general_buffers.GetElement(FinalBuffer).m_byte_stride + x * 2;
        action.m_width = days ? m_header_width : m_cell_width;
        action.m_height = days ? m_cell_height : m_header_height;
        break;
    }
    }
    return S_OK;
}

// Thirteen steps per cell: its state and mark pictures under their stencils with the glow on the
// brush being edited, the pressed look, the frame, and the copy into the picture.
HRESULT StatusCameraObjectUserInterface2::DrawCellStep(int32_t run)
{
    const int32_t cell = run / static_cast<int32_t>(CellSteps);
    const uint32_t step = static_cast<uint32_t>(run) % CellSteps;
    if (cell >= CellCount)
        return S_FALSE;
    uint8_t& changed = m_cell_changed.GetElement(cell);
    const uint8_t value = m_cells.GetElement(cell);
    const int32_t state = value >> 4;
    const int32_t picture = state >= 1 && state <= StateBrushes ? StatePictures[state - 1] : StatePictures[0];
    if (step == 0) {
        const auto isChanged = [&](int32_t buffer) { return m_array_general_buffers.GetElement(buffer).IsChanged() != 0; };
        if (changed == 0 && !isChanged(picture) && !isChanged(StateStencil) && !isChanged(FrameStencil))
            return S_FALSE;
        changed = 1;
        for (int32_t work : {CellWork, CellMarkWork, CellResult})
            m_array_general_buffers.GetElement(work).SetChanged();
    } else if (changed == 0) {
        return S_FALSE;
    }
    const bool editingState = m_edit_state != 0;
    const unifrgb& glow = m_cell_colour.GetElement(cell);
    Action& action = m_actions.GetElement(50);
    switch (step) {
    case 0:
        SetStep(action, Copy, picture, CellWork);
        break;
    case 1:
        if (!editingState)
            return S_FALSE;
        SetColour(action, AddColour, CellWork, glow);
        break;
    case 2:
        SetWeighted(action, editingState ? StateStencil : MarkPrepared, CellWork);
        break;
    case 3:
        SetStep(action, Copy, MarkPictures[std::min<int32_t>(value & 15, MaxMark)], CellMarkWork);
        break;
    case 4:
        if (editingState)
            return S_FALSE;
        SetColour(action, AddColour, CellMarkWork, glow);
        break;
    case 5:
        SetWeighted(action, editingState ? StatePrepared : MarkStencil, CellMarkWork);
        break;
    case 6:
        SetStep(action, AddClamped, CellWork, CellMarkWork);
        break;
    case 7:
        if (!SameColour(glow, m_hover_colour) || !PointerInside() || m_left_button_down == 0)
            return S_FALSE;
        SetStep(action, PressedLook, -1, CellMarkWork);
        break;
    case 8:
        SetWeighted(action, FrameStencil, CellMarkWork);
        break;
    case 9:
        SetColour(action, ConstantUnderMask, CellResult, FromColorRef(m_gdi_table.GetElement(BackgroundEntry).m_color));
        break;
    case 10:
        SetWeighted(action, FramePrepared, CellResult);
        break;
    case 11:
        SetStep(action, AddClamped, CellMarkWork, CellResult);
        break;
    default: {
        SetStep(action, Copy, CellResult, FinalBuffer);
        const int32_t x = m_header_width + (cell % Hours) * m_cell_width;
        const int32_t y = m_header_height + (cell / Hours) * m_cell_height;
        action.m_destination_offset = y * m_array_general_buffers.GetElement(FinalBuffer).m_byte_stride + x * 2;
        action.m_width = m_cell_width;
        action.m_height = m_cell_height;
        break;
    }
    }
    return S_OK;
}
