// The video output interface: window placement, parent, style and title, captions, channel and
// access, zones and display mode. Values are kept in the state and handed on to the render object
// when one is loaded; the methods run on the output window's thread, for states the dispatcher
// has checked.
#include "Rendara1.h"

#include "KestrelUserServerTypes.h"
#include "struct_format_graph1.h"

#include "FunctWorkWithHWND.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace {

// The host's table gives some values as bool, the program may send them as int.
int32_t IntegerOf(const InfoParamDataPath1& param)
{
    if (param.GetBaseType() == TypeParamBool)
        return param.GetBool() ? 1 : 0;
    return param.GetInt();
}

bool IsIndexInRange(int32_t index, uint32_t count)
{
    return index >= 0 && static_cast<uint32_t>(index) < count;
}

uint8_t AsFlag(int32_t value)
{
    return value != 0 ? 1 : 0;
}

// A rectangle as x, y, width, height in the four words of a RECT.
RECT PlacementRect(int32_t x, int32_t y, int32_t width, int32_t height)
{
    return RECT{x, y, width, height};
}

} // namespace

HRESULT Rendara1::DispatchVideoOutput(InfoFilterStateRendara1* state, int32_t indexMethod,
                                      ListParamsDataPath1& params)
{
    auto param = [&params](uint32_t k) -> InfoParamDataPath1& { return params.m_params.GetElement(k); };
    switch (indexMethod) {
    case 0:
        return GetFrameSize(state, param(0), param(1));
    case 1:
        return SetSourceRect(state, IntegerOf(param(0)), IntegerOf(param(1)), IntegerOf(param(2)),
                             IntegerOf(param(3)));
    case 2:
        return GetSourceRect(state, params);
    case 3:
        return ShowOutputWindow(state, IntegerOf(param(0)) != 0);
    case 4:
        return SetWeeklyTable(state, static_cast<const uint8_t*>(param(0).GetPointer()), IntegerOf(param(1)));
    case 5:
        return SetWindowRect(state, param(0).GetRect());
    case 6:
        return GetWindowRect(state, param(0));
    case 7:
        return SetParentWindow(state, param(0).GetWindow());
    case 8:
        return GetParentWindow(state, param(0));
    case 9:
        return SetWindowStyle(state, static_cast<DWORD>(IntegerOf(param(0))));
    case 10:
        return GetWindowStyle(state, param(0));
    case 11:
        return SetCaptionText(state, IntegerOf(param(0)), static_cast<const char*>(param(1).GetPointer()));
    case 12:
        return GetCaptionText(state, IntegerOf(param(0)), static_cast<char*>(param(1).GetPointer()),
                              IntegerOf(param(2)));
    case 13:
        return GetOutputWindow(state, param(0));
    case 14:
        return SetValue14(state, reinterpret_cast<LONG_PTR>(param(0).GetWindow()));
    case 15:
        return SetCaptionFlag(state, IntegerOf(param(0)), IntegerOf(param(1)), IntegerOf(param(2)));
    case 16:
        return EnableSignalTimeout(state, IntegerOf(param(0)) != 0);
    case 17:
        return SetChannel(state, IntegerOf(param(0)), IntegerOf(param(1)));
    case 18:
        return GetChannel(state, param(0));
    case 19:
        return SetCaptionColour(state, static_cast<const uint8_t*>(param(0).GetPointer()), IntegerOf(param(1)));
    case 21:
        return Start(state);
    case 22:
        return SetValue22(state, IntegerOf(param(0)));
    case 23:
        return SetEventTarget(state, static_cast<ObjectControlDataPath1*>(param(0).GetPointer()));
    case 25:
        return SetAlternateColours(state, IntegerOf(param(0)));
    case 26:
        return SetOptionByte(state, IntegerOf(param(0)), IntegerOf(param(1)));
    case 27:
        return SetDisplayMode(state, static_cast<uint32_t>(IntegerOf(param(0))), IntegerOf(param(1)));
    case 28:
        return ExchangeZoneMasks(state, static_cast<StructFormatGraph1*>(param(0).GetPointer()),
                                 IntegerOf(param(1)));
    case 29:
        return SetAccessRecord(state, static_cast<const InfoUserKestrelUserServer*>(param(0).GetPointer()));
    default:
        return S_OK;
    }
}

HRESULT Rendara1::GetFrameSize(InfoFilterStateRendara1* state, InfoParamDataPath1& width, InfoParamDataPath1& height)
{
    width.SetUInt(state->m_frame_width);
    height.SetUInt(state->m_frame_height);
    return S_OK;
}

HRESULT Rendara1::SetSourceRect(InfoFilterStateRendara1* state, int32_t x, int32_t y, int32_t width, int32_t height)
{
    state->m_source_x = x;
    state->m_source_y = y;
    state->m_source_width = width;
    state->m_source_height = height;
    GeneralVideoRendererObject* render = state->m_render.m_object;
    return render != nullptr ? render->SetSourceRect(x, y, width, height) : S_OK;
}

HRESULT Rendara1::GetSourceRect(InfoFilterStateRendara1* state, ListParamsDataPath1& params)
{
    const int32_t values[] = {state->m_source_x, state->m_source_y, state->m_source_width, state->m_source_height};
    for (uint32_t k = 0; k < 4; ++k)
        params.m_params.GetElement(k).SetUInt(static_cast<uint32_t>(values[k]));
    return S_OK;
}

HRESULT Rendara1::ShowOutputWindow(InfoFilterStateRendara1* state, bool show)
{
    state->m_visible = AsFlag(show);
    if (SUCCEEDED(CheckIsWindow(state->m_window)))
        ShowWindow(state->m_window, show ? SW_SHOW : SW_HIDE);
    return S_OK;
}

HRESULT Rendara1::SetWeeklyTable(InfoFilterStateRendara1* state, const uint8_t* table, int32_t length)
{
    if (table == nullptr)
        return E_INVALIDARG;
    if (length <= 0)
        return E_UNEXPECTED;
    std::memcpy(state->m_weekly_table, table,
                std::min<size_t>(static_cast<size_t>(length), sizeof(state->m_weekly_table)));
    GeneralVideoRendererObject* render = state->m_render.m_object;
    return render != nullptr ? render->SetWeeklyTable(table, length) : S_OK;
}

HRESULT Rendara1::SetWindowRect(InfoFilterStateRendara1* state, RECT rect)
{
    int32_t x = rect.left;
    int32_t y = rect.top;
    int32_t width = rect.right;
    int32_t height = rect.bottom;
    NormalizeWindowRect(x, y, width, height);
    state->m_window_x = x;
    state->m_window_y = y;
    state->m_window_width = width;
    state->m_window_height = height;
    if (SUCCEEDED(CheckIsWindow(state->m_window)))
        MoveWindow(state->m_window, x, y, width, height, TRUE);
    GeneralVideoRendererObject* render = state->m_render.m_object;
    return render != nullptr ? render->SetOutputRect(x, y, width, height) : S_OK;
}

HRESULT Rendara1::GetWindowRect(InfoFilterStateRendara1* state, InfoParamDataPath1& out)
{
    out.SetRect(PlacementRect(state->m_window_x, state->m_window_y, state->m_window_width, state->m_window_height));
    return S_OK;
}

HRESULT Rendara1::SetParentWindow(InfoFilterStateRendara1* state, HWND parent)
{
    state->m_parent = parent;
    if (parent != nullptr)
        state->m_style |= WS_CHILD;
    else
        state->m_style &= ~static_cast<DWORD>(WS_CHILD);
    if (SUCCEEDED(CheckIsWindow(state->m_window))) {
        SetParent(state->m_window, parent);
        SetWindowLongA(state->m_window, GWL_STYLE, static_cast<LONG>(state->m_style));
    }
    return S_OK;
}

HRESULT Rendara1::GetParentWindow(InfoFilterStateRendara1* state, InfoParamDataPath1& out)
{
    out.SetWindow(state->m_parent);
    return S_OK;
}

HRESULT Rendara1::SetWindowStyle(InfoFilterStateRendara1* state, DWORD style)
{
    state->m_style = style;
    if (SUCCEEDED(CheckIsWindow(state->m_window)))
        SetWindowLongA(state->m_window, GWL_STYLE, static_cast<LONG>(style));
    return S_OK;
}

HRESULT Rendara1::GetWindowStyle(InfoFilterStateRendara1* state, InfoParamDataPath1& out)
{
    out.SetInt(static_cast<int32_t>(state->m_style));
    return S_OK;
}

HRESULT Rendara1::SetCaptionText(InfoFilterStateRendara1* state, int32_t index, const char* text)
{
    if (!IsIndexInRange(index, InfoFilterStateRendara1::kCaptions))
        return E_UNEXPECTED;
    StaticString<256>& caption = state->m_caption_texts[index];
    caption = "";
    // A longer text is not cut here: the entry stays empty.
    if (text != nullptr && strnlen(text, caption.GetMaxSizeBuffer()) < caption.GetMaxSizeBuffer())
        caption = text;
    GeneralVideoRendererObject* render = state->m_render.m_object;
    return render != nullptr ? render->SetCaptionText(index, text) : S_OK;
}

HRESULT Rendara1::GetCaptionText(InfoFilterStateRendara1* state, int32_t index, char* buffer, int32_t size)
{
    if (!IsIndexInRange(index, InfoFilterStateRendara1::kCaptions))
        return E_UNEXPECTED;
    if (buffer == nullptr || size <= 0)
        return S_OK;
    // The buffer's last place is kept for the terminator.
    const char* text = state->m_caption_texts[index].GetString();
    const size_t length = std::min(std::strlen(text), static_cast<size_t>(size) - 1);
    std::memcpy(buffer, text, length);
    buffer[length] = 0;
    return S_OK;
}

HRESULT Rendara1::GetOutputWindow(InfoFilterStateRendara1* state, InfoParamDataPath1& out)
{
    out.SetWindow(state->m_window);
    return S_OK;
}

HRESULT Rendara1::SetValue14(InfoFilterStateRendara1* state, LONG_PTR value)
{
    state->m_value14 = value;
    return S_OK;
}

HRESULT Rendara1::SetCaptionFlag(InfoFilterStateRendara1* state, int32_t index, int32_t flag, int32_t redraw)
{
    if (!IsIndexInRange(index, InfoFilterStateRendara1::kCaptions))
        return E_UNEXPECTED;
    const uint8_t value = AsFlag(flag);
    if (state->m_caption_flags[index] != value)
        state->m_caption_changed = 1;
    state->m_caption_flags[index] = value;
    GeneralVideoRendererObject* render = state->m_render.m_object;
    const HRESULT result = render != nullptr ? render->SetCaptionFlag(index, value, redraw) : S_OK;
    if (state->m_caption_changed != 0 && redraw != 0)
        RedrawOutputWindow(state);
    return result;
}

HRESULT Rendara1::EnableSignalTimeout(InfoFilterStateRendara1* state, bool enabled)
{
    state->m_timeout_enabled = AsFlag(enabled);
    return S_OK;
}

HRESULT Rendara1::SetChannel(InfoFilterStateRendara1* state, int32_t channel, int32_t secondValue)
{
    state->m_channel = channel;
    state->m_title_value2 = secondValue;
    state->m_title_value2_set = 1;
    RecomputeAccess(state);
    if (SUCCEEDED(CheckIsWindow(state->m_window)))
        SetWindowTextA(state->m_window, std::to_string(channel).c_str());
    GeneralVideoRendererObject* render = state->m_render.m_object;
    return render != nullptr ? render->SetTitleInfo(channel, secondValue) : S_OK;
}

HRESULT Rendara1::GetChannel(InfoFilterStateRendara1* state, InfoParamDataPath1& out)
{
    out.SetInt(state->m_channel);
    return S_OK;
}

HRESULT Rendara1::SetCaptionColour(InfoFilterStateRendara1* state, const uint8_t* colour, int32_t length)
{
    if (colour == nullptr)
        return E_INVALIDARG;
    // Three bytes are read: a shorter buffer is refused.
    if (length < static_cast<int32_t>(sizeof(state->m_caption_colour)))
        return E_UNEXPECTED;
    std::memcpy(state->m_caption_colour, colour, sizeof(state->m_caption_colour));
    GeneralVideoRendererObject* render = state->m_render.m_object;
    return render != nullptr ? render->SetCaptionColour(colour, length) : S_OK;
}

HRESULT Rendara1::Start(InfoFilterStateRendara1* state)
{
    if (state->m_started != 0)
        return S_OK;
    state->m_started = 1;
    state->m_start_time = state->m_time.GetTime();
    return S_OK;
}

HRESULT Rendara1::SetValue22(InfoFilterStateRendara1* state, int32_t value)
{
    state->m_value22 = static_cast<uint8_t>(value);
    return S_OK;
}

HRESULT Rendara1::SetEventTarget(InfoFilterStateRendara1* state, ObjectControlDataPath1* target)
{
    state->m_event_target = target;
    return S_OK;
}

HRESULT Rendara1::SetAlternateColours(InfoFilterStateRendara1* state, int32_t flag)
{
    const uint8_t value = AsFlag(flag);
    const bool changed = state->m_alternate_colours != value;
    state->m_alternate_colours = value;
    GeneralVideoRendererObject* render = state->m_render.m_object;
    const HRESULT result = render != nullptr ? render->SetAlternateColours(value) : S_OK;
    if (changed)
        RedrawOutputWindow(state);
    return result;
}

HRESULT Rendara1::SetOptionByte(InfoFilterStateRendara1* state, int32_t index, int32_t value)
{
    if (!IsIndexInRange(index, InfoFilterStateRendara1::kOptions))
        return E_UNEXPECTED;
    state->m_option_bytes[index] = AsFlag(value);
    GeneralVideoRendererObject* render = state->m_render.m_object;
    return render != nullptr ? render->SetOptionByte(index, state->m_option_bytes[index]) : S_OK;
}

HRESULT Rendara1::SetDisplayMode(InfoFilterStateRendara1* state, uint32_t mode, int32_t value)
{
    const uint32_t kind = mode & 0xFF;
    state->m_display_mode = kind >= 1 && kind <= 5 ? mode : 1;
    GeneralVideoRendererObject* render = state->m_render.m_object;
    const HRESULT result = render != nullptr ? render->SetDisplayMode(state->m_display_mode, value) : S_OK;
    RedrawOutputWindow(state);
    return result;
}

HRESULT Rendara1::ExchangeZoneMasks(InfoFilterStateRendara1* state, StructFormatGraph1* record, int32_t direction)
{
    // The mixer recipe sends no record on every build.
    if (record == nullptr)
        return E_INVALIDARG;
    if (record->kind != StructFormatGraph1::kKindCapture)
        return E_UNEXPECTED;
    static_assert(sizeof(record->m_capture.m_zones) == sizeof(state->m_zone_masks));
    if (direction != 0)
        std::memcpy(record->m_capture.m_zones, state->m_zone_masks, sizeof(state->m_zone_masks));
    else
        std::memcpy(state->m_zone_masks, record->m_capture.m_zones, sizeof(state->m_zone_masks));
    return S_OK;
}

HRESULT Rendara1::SetAccessRecord(InfoFilterStateRendara1* state, const InfoUserKestrelUserServer* record)
{
    state->m_access_record = record;
    return RecomputeAccess(state);
}

// The user record grants every channel at level 1; otherwise its mode decides, with the rights
// as the list of the channels it names.
HRESULT Rendara1::RecomputeAccess(InfoFilterStateRendara1* state)
{
    uint8_t access = 0;
    if (const InfoUserKestrelUserServer* record = state->m_access_record) {
        const int32_t channel = state->m_channel;
        const bool listed = IsIndexInRange(channel, InfoUserKestrelUserServer::kNumberRights) &&
                            record->m_rights[channel] == 1;
        if (record->m_level == 1)
            access = 1;
        else if (record->m_mode == 2)
            access = 1;
        else if (record->m_mode == 3)
            access = AsFlag(listed);
        else if (record->m_mode == 4)
            access = AsFlag(!listed);
    }
    state->m_access = access;
    if (access != 0)
        state->m_status_flags &= ~static_cast<uint32_t>(RenderStatusNoAccess);
    else
        state->m_status_flags |= RenderStatusNoAccess;
    RedrawOutputWindow(state);
    return S_OK;
}
