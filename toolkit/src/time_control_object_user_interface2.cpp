#include "TimeControl1ObjectUserInterface2.h"

#include "CatchAllLog.h"
#include "GdiScopes.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <iterator>

namespace {

using Action = InfoActionUserInterface2;

const char g_timeControlWindowClass[] = "OJV::UserInterface2::TimeControl1ObjectUserInterface2::24.10.2006";
const char* const g_timeControlOperationNames[] = {
    "GMU_UpdatePropertyListTimes_TimeControl1ObjectUserInterface2,D.U.R.M.I.X.,06.03.2006::18.34.00",
};
enum Operation : int32_t
{
    OperationUpdatePropertyListTimes = 0,
};

constexpr uint32_t TimerPeriod = 50;
constexpr uint32_t PictureSlot = 20;
constexpr int32_t RunsPerField = 10;
constexpr int32_t ComposePhase = 9;
constexpr uint32_t DrawStep = Action::FlagsEmptyLayer;
constexpr uint32_t ComposeStep = Action::FlagSource | Action::FlagDestination | 11;
constexpr int MarkHalfWidth = 2;
constexpr int DigitCellWidth = 5;

struct FieldDefault
{
    int32_t m_minimum;
    int32_t m_maximum;
    int32_t m_value;
};
// 2006-01-01 00:00:00.00 between 2005-01-01 and 2007-12-31 23:59:59.99.
constexpr FieldDefault g_fieldDefaults[TimeControl1ObjectUserInterface2::FieldCount] = {
    {2005, 2007, 2006}, {1, 12, 1}, {1, 31, 1}, {0, 23, 0}, {0, 59, 0}, {0, 59, 0}, {0, 99, 0},
};

int DecimalDigits(int32_t value)
{
    int64_t rest = std::llabs(static_cast<int64_t>(value));
    int digits = 1;
    while (rest >= 10) {
        rest /= 10;
        ++digits;
    }
    return digits;
}

// Grey marks spread over the whole width, as many as fit cells of the maximum's digits and at
// most one per unit of the range.
HRESULT DrawTickMarks(HDC context, int width, int height, const InfoTimeControlElement& field)
{
    const int64_t span = static_cast<int64_t>(field.m_maximum) - field.m_minimum;
    const int fitting = width / (DigitCellWidth * DecimalDigits(field.m_maximum));
    if (fitting < 1)
        return E_UNEXPECTED;
    const int64_t count = std::min<int64_t>(fitting, span);
    if (count < 1)
        return S_OK;
    const double step = static_cast<double>(span) / static_cast<double>(count);
    HBRUSH grey = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
    for (int64_t k = 0; k < count; ++k) {
        const int x = static_cast<int>(std::trunc(static_cast<double>(k) * step * width / static_cast<double>(span)));
        const RECT mark = {x - MarkHalfWidth, 0, x + MarkHalfWidth, height};
        FillRect(context, &mark, grey);
    }
    return S_OK;
}

} // namespace

TimeControl1ObjectUserInterface2::TimeControl1ObjectUserInterface2(const ElementListUserInterface2& elements,
                                                                   int32_t count, uint32_t styleFlags,
                                                                   const char* objectName, HINSTANCE module)
try : BaseUserInterface(elements, count, styleFlags, objectName, module, 0, TimerPeriod) {
    m_window_class_name = g_timeControlWindowClass;
    for (int32_t f = 0; f < FieldCount; ++f) {
        InfoTimeControlElement& field = m_time_fields.GetElement(f);
        field.m_enabled = 1;
        field.m_mark = f == FieldYear ? 1 : 0;
        field.m_minimum = g_fieldDefaults[f].m_minimum;
        field.m_maximum = g_fieldDefaults[f].m_maximum;
        field.m_value = g_fieldDefaults[f].m_value;
    }
    UpdateLayout();
    if (FAILED(m_time_messages.InitMessages(g_timeControlOperationNames,
                                            static_cast<int32_t>(std::size(g_timeControlOperationNames)))))
        throw 240;
    AddOperationTable(&m_time_messages);
}
CATCH_ALL_RETHROW()

// The window goes first, so that no handler runs on the fields while they go.
TimeControl1ObjectUserInterface2::~TimeControl1ObjectUserInterface2()
{
    try {
        FreeObject();
    }
    CATCH_ALL_LOG()
}

void TimeControl1ObjectUserInterface2::UpdateLayout()
{
    int32_t enabled = 0;
    for (int32_t f = 0; f < FieldCount; ++f)
        enabled += m_time_fields.GetElement(f).m_enabled != 0 ? 1 : 0;
    m_doubled_margin = 2 * m_scale_margin;
    m_layout_valid = enabled >= 1 && m_height_share > 0.0f && m_scale_length >= 1 ? 1 : 0;
    if (m_layout_valid != 0)
        m_row_height = static_cast<int32_t>(std::trunc(static_cast<float>(m_height) * m_height_share /
                                                       static_cast<float>(enabled)));
}

// ---- the one operation of its own ----

HRESULT TimeControl1ObjectUserInterface2::UpdatePropertyListTimes(const TimeFieldListUserInterface2* list,
                                                                  int32_t count)
{
    if (list == nullptr || count == 0)
        return E_UNEXPECTED;
    InfoMessageForXXXUpdateTimeControlObject record;
    record.m_list = list;
    record.m_count = count;
    return SendOperation(m_time_messages, OperationUpdatePropertyListTimes, reinterpret_cast<WPARAM>(&record), 0,
                         "TimeControl1ObjectUserInterface2::UpdatePropertyListTimes");
}

// Taking the times over is not settled yet: the list is accepted and nothing changes.
HRESULT TimeControl1ObjectUserInterface2::UpdatePropertyListTimesReal(const TimeFieldListUserInterface2* list,
                                                                      int32_t count)
{
    if (list == nullptr || count == 0)
        return E_UNEXPECTED;
    return S_OK;
}

HRESULT TimeControl1ObjectUserInterface2::CompliteStandartMessage(HWND window, UINT message, WPARAM wParam,
                                                                  LPARAM lParam, bool* handled)
{
    if (handled == nullptr)
        return E_INVALIDARG;
    *handled = false;
    try {
        const int32_t row = m_time_messages.GetIndexFromMessage(message);
        if (row < 0)
            return BaseUserInterface::CompliteStandartMessage(window, message, wParam, lParam, handled);
        const auto* record = reinterpret_cast<const InfoMessageForXXXUpdateTimeControlObject*>(wParam);
        if (record == nullptr || record->CheckNameStruct("InfoMessageForXXXUpdateTimeControlObject") != S_OK)
            return E_FAIL;
        if (row == OperationUpdatePropertyListTimes)
            return UpdatePropertyListTimesReal(record->m_list, record->m_count);
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

// ---- hooks ----

HRESULT TimeControl1ObjectUserInterface2::OnSizeWindow(HWND, WPARAM, LPARAM, uint64_t)
{
    return RebuildObject();
}

HRESULT TimeControl1ObjectUserInterface2::OnMouseButton(HWND, UINT, WPARAM, LPARAM, uint64_t, bool)
{
    return m_width < 1 || m_height < 1 ? E_UNEXPECTED : S_OK;
}

// A drag over the scales acts as a release at the mouse position.
HRESULT TimeControl1ObjectUserInterface2::OnMouseMove(HWND window, WPARAM wParam, LPARAM lParam, uint64_t)
{
    try {
        if (m_width <= 0 || m_height <= 0)
            return E_UNEXPECTED;
        return CatchMouseButtonsMessage(window, WM_LBUTTONUP, wParam, lParam, true);
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT TimeControl1ObjectUserInterface2::SetupGeneralCycle(uint32_t)
{
    try {
        m_property_tables.GetElement(0).GetElement(0).SetText("");
        Action& action = m_actions.GetElement(PictureSlot);
        action = Action();
        action.m_flags = DrawStep;
        action.m_repeat_count = FieldCount * RunsPerField;
        action.m_callback = DrawFieldsAction;
        action.m_callback_context = 0;
        action.m_source_index = -1;
        action.m_destination_index = -1;
        m_finall_buffer_choice = PictureBuffer;
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT TimeControl1ObjectUserInterface2::OnGeneralInfoChanged()
{
    return OnSizeWindow(nullptr, 0, 0, 0);
}

HRESULT TimeControl1ObjectUserInterface2::OnElementInfoChanged()
{
    return S_OK;
}

// A widget of no area keeps its rebuild flag, so its ticks draw nothing.
HRESULT TimeControl1ObjectUserInterface2::RebuildObject()
{
    try {
        BaseUserInterface::RebuildObject();
        UpdateLayout();
        m_rebuild_in_progress = 1;
        HRESULT result = m_array_general_buffers.GetElement(PictureBuffer).ResizeBuffer(m_width, m_height);
        for (int32_t f = 0; f < FieldCount; ++f) {
            if (m_time_fields.GetElement(f).m_enabled == 0)
                continue;
            const HRESULT resized =
                m_array_general_buffers.GetElement(FirstFieldBuffer + f).ResizeBuffer(m_scale_length, m_row_height);
            if (FAILED(resized))
                result = resized;
        }
        if (m_width > 0 && m_height > 0)
            m_rebuild_in_progress = 0;
        return result;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

int32_t TimeControl1ObjectUserInterface2::GetIndexElementFromPoint(int32_t, int32_t)
{
    return 0;
}

// ---- picture ----

HRESULT TimeControl1ObjectUserInterface2::DrawFieldsAction(BaseUserInterface* widget, uintptr_t context, int32_t slot,
                                                           int32_t run, uint32_t timeLow, uint32_t timeHigh)
{
    try {
        if (widget == nullptr)
            return E_INVALIDARG;
        if (CheckParamActionFunction(widget, context, slot, run, timeLow, timeHigh) < 0 || context != 0)
            return E_FAIL;
        auto* control = static_cast<TimeControl1ObjectUserInterface2*>(widget);
        const int32_t field = run / RunsPerField;
        const int32_t phase = run % RunsPerField;
        if (field >= FieldCount)
            return E_FAIL;
        if (phase == 0) {
            const HRESULT drawn = control->DrawField(field);
            return drawn >= 2 ? drawn : S_OK;
        }
        if (phase == ComposePhase)
            control->ComposeField(field);
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

// A scale is drawn again only after its buffer changed (a rebuild), so idle ticks draw nothing.
HRESULT TimeControl1ObjectUserInterface2::DrawField(int32_t field)
{
    const int32_t buffer = FirstFieldBuffer + field;
    Action& action = m_actions.GetElement(PictureSlot);
    action.ResetRegions();
    action.m_flags = DrawStep;
    action.m_source_index = -1;
    action.m_destination_index = buffer;
    FieldDrawing drawing;
    drawing.m_widget = this;
    drawing.m_field = field;
    InfoLayerLookUserInterface2 look;
    look.m_draw = FunctDrawTimeFieldToHDC;
    look.m_record = &drawing;
    look.m_record_size = DrawingTag;
    return DrawLayer(buffer, look);
}

bool TimeControl1ObjectUserInterface2::AnyFieldChanged() const
{
    if (m_array_general_buffers.GetElement(PictureBuffer).IsChanged() != 0)
        return true;
    for (int32_t f = 0; f < FieldCount; ++f)
        if (m_array_general_buffers.GetElement(FirstFieldBuffer + f).IsChanged() != 0)
            return true;
    return false;
}

void TimeControl1ObjectUserInterface2::ComposeField(int32_t field)
{
    InfoGeneralBufferForUserInterface2& picture = m_array_general_buffers.GetElement(PictureBuffer);
    const InfoGeneralBufferForUserInterface2& scale = m_array_general_buffers.GetElement(FirstFieldBuffer + field);
    // The fields are added into the picture, so it starts from black each time they are composed;
    // marking it changed makes every field compose again over the cleared picture.
    if (field == 0 && AnyFieldChanged()) {
        picture.FillBuffers(7, 0);
        picture.SetChanged();
    }
    Action& action = m_actions.GetElement(PictureSlot);
    action.ResetRegions();
    action.m_flags = ComposeStep;
    action.m_source_index = FirstFieldBuffer + field;
    action.m_destination_index = PictureBuffer;
    action.m_source_offset = -1;
    action.m_destination_offset = field * scale.m_height_element * picture.m_byte_stride;
}

HRESULT TimeControl1ObjectUserInterface2::FunctDrawTimeFieldToHDC(HDC context, int width, int height, void* record,
                                                                  int tag)
{
    try {
        if (context == nullptr || record == nullptr)
            return E_INVALIDARG;
        const auto& drawing = *static_cast<const FieldDrawing*>(record);
        if (width < 1 || height < 1 || tag != DrawingTag || drawing.m_widget == nullptr || drawing.m_field < 0 ||
            drawing.m_field >= FieldCount)
            return E_UNEXPECTED;
        const InfoTimeControlElement& field = drawing.m_widget->GetField(drawing.m_field);
        const uint32_t kind = field.m_style & 0xFF;
        if (kind == InfoTimeControlElement::KindNoDrawing)
            return S_OK;
        InfoFontForDrawToHDC text;
        text.m_text += field.m_value;
        const HRESULT written = FunctDrawTextToHDC(context, width, height, &text, sizeof(text));
        if (FAILED(written) || kind != InfoTimeControlElement::KindTickMarks)
            return written;
        return DrawTickMarks(context, width, height, field);
    }
    CATCH_ALL_RETURN(E_FAIL)
}
