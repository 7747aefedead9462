// The internal variables of a graph: position, duration, rate, clock, picture interval, hue, the
// driver's property pages and the desktop mode, read and written on the graph thread.
#include "ObjectControlGraph1.h"

#include "ObjectControlGraphFunction.h"

#include "CatchAllLog.h"
#include "TimedSendGuard.h"

#include <olectl.h>

namespace {

constexpr uint32_t kStateStopped = 1;
constexpr uint32_t kDirectionWrite = 1;
constexpr DWORD kSeekingCapabilities =
    AM_SEEKING_CanSeekAbsolute | AM_SEEKING_CanGetCurrentPos | AM_SEEKING_CanGetStopPos | AM_SEEKING_CanGetDuration;

} // namespace

HRESULT ObjectControlGraph1::UpdateInternalVarReal(uint32_t code, ExtStateVideoDriver* state,
                                                   TimedSendRequest** request)
{
    try {
        if (state == nullptr)
            return E_UNEXPECTED;
        const uint32_t variable = code & 0xFFFF;
        const bool write = ((code >> 16) & 0xF) == kDirectionWrite;
        auto& ownUint = m_internal_var.m_array_uint;
        switch (variable) {
        case InternalVarCurrentPosition:
        case InternalVarStopPosition:
        case InternalVarDuration:
            return UpdatePositionVar(variable, write, *state);
        case InternalVarRate:
            return UpdateRateVar(write, *state);
        case InternalVarGraphClock:
            return write ? UpdateGraphClockVar(*state) : S_OK;
        case InternalVarPictureInterval:
            if (write)
                ownUint.GetElement(variable) = state->m_array_uint.GetElement(variable);
            else
                state->m_array_uint.GetElement(variable) = ownUint.GetElement(variable);
            return S_OK;
        case InternalVarHue:
            return UpdateHueVar(write, *state);
        case InternalVarPropertyPages:
            // Only a sender can be let go before the pages open.
            return request != nullptr ? ShowPropertyPages(request) : S_OK;
        case InternalVarDesktopMode: {
            uint32_t& region = m_need_interface.m_type_desktop_capture_region;
            region = (region & 0xFFFF0000u) | (state->m_array_uint.GetElement(variable) & 0xFFFFu);
            return S_OK;
        }
        default:
            return S_OK;
        }
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT ObjectControlGraph1::UpdatePositionVar(uint32_t variable, bool write, ExtStateVideoDriver& state)
{
    if (!m_media_seeking)
        return S_OK;
    DWORD capabilities = kSeekingCapabilities;
    // S_FALSE answers the subset the graph has.
    if (FAILED(m_media_seeking->CheckCapabilities(&capabilities)))
        capabilities = 0;
    auto& own = m_internal_var.m_array_longlong;
    auto& theirs = state.m_array_longlong;
    if (variable == InternalVarDuration) {
        LONGLONG duration = 0;
        if (!write && (capabilities & AM_SEEKING_CanGetDuration) != 0 &&
            SUCCEEDED(m_media_seeking->GetDuration(&duration)))
            theirs.GetElement(InternalVarDuration) = duration;
        return S_OK;
    }
    if ((capabilities & AM_SEEKING_CanSeekAbsolute) == 0)
        return S_OK;
    if (!write) {
        LONGLONG current = 0;
        LONGLONG stop = 0;
        if (SUCCEEDED(m_media_seeking->GetPositions(&current, &stop))) {
            theirs.GetElement(InternalVarCurrentPosition) = current;
            theirs.GetElement(InternalVarStopPosition) = stop;
        }
        return S_OK;
    }
    own.GetElement(variable) = theirs.GetElement(variable);
    LONGLONG current = theirs.GetElement(InternalVarCurrentPosition);
    LONGLONG stop = theirs.GetElement(InternalVarStopPosition);
    const bool seekCurrent = variable == InternalVarCurrentPosition;
    m_media_seeking->SetPositions(&current, seekCurrent ? AM_SEEKING_AbsolutePositioning : AM_SEEKING_NoPositioning,
                                  &stop, seekCurrent ? AM_SEEKING_NoPositioning : AM_SEEKING_AbsolutePositioning);
    return S_OK;
}

HRESULT ObjectControlGraph1::UpdateRateVar(bool write, ExtStateVideoDriver& state)
{
    if (!m_media_seeking)
        return S_OK;
    double& theirs = state.m_array_double.GetElement(InternalVarRate);
    if (write) {
        m_internal_var.m_array_double.GetElement(InternalVarRate) = theirs;
        m_media_seeking->SetRate(theirs);
        return S_OK;
    }
    double rate = 0.0;
    if (SUCCEEDED(m_media_seeking->GetRate(&rate)))
        theirs = rate;
    return S_OK;
}

HRESULT ObjectControlGraph1::UpdateGraphClockVar(ExtStateVideoDriver& state)
{
    const uint32_t value = state.m_array_uint.GetElement(InternalVarGraphClock);
    uint32_t& own = m_internal_var.m_array_uint.GetElement(InternalVarGraphClock);
    if (!m_graph || !m_media_filter || value == own)
        return S_OK;
    // The clock changes only on a stopped graph.
    const bool wasRunning = m_state_run != kStateStopped;
    if (wasRunning)
        RealStop();
    own = value;
    if (value != 0)
        m_graph->SetDefaultSyncSource();
    else
        m_media_filter->SetSyncSource(nullptr);
    if (wasRunning)
        RealRun();
    return S_OK;
}

HRESULT ObjectControlGraph1::UpdateHueVar(bool write, ExtStateVideoDriver& state)
{
    double& own = m_internal_var.m_array_double.GetElement(InternalVarHue);
    if (!write) {
        state.m_array_double.GetElement(InternalVarHue) = own;
        return S_OK;
    }
    own = state.m_array_double.GetElement(InternalVarHue);
    ListFiltersGraph amplifiers;
    GetFiltersWithInterface(m_graph.Get(), amplifiers, IID_IAMVideoProcAmp);
    if (amplifiers.GetCount() > 0)
        ResetVideoProcAmp(amplifiers.GetElement(0).Get());
    return S_OK;
}

HRESULT ObjectControlGraph1::ShowPropertyPages(TimedSendRequest** request)
{
    if (m_property_pages_open)
        return S_OK;
    m_property_pages_open = true;
    ListFiltersGraph filters;
    GetFiltersWithInterface(m_graph.Get(), filters, IID_ISpecifyPropertyPages);
    SmartComPointer<ISpecifyPropertyPages> pages;
    SmartComPointer<IUnknown> object;
    FILTER_INFO info = {};
    CAUUID pageList = {};
    if (filters.GetCount() == 0 || FAILED(filters.GetElement(0)->QueryFilterInfo(&info)) ||
        FAILED(filters.GetElement(0)->QueryInterface(IID_IUnknown, object.ReceiveVoidSlot())) ||
        FAILED(filters.GetElement(0)->QueryInterface(IID_ISpecifyPropertyPages, pages.ReceiveVoidSlot())) ||
        FAILED(pages->GetPages(&pageList))) {
        if (info.pGraph != nullptr)
            info.pGraph->Release();
        m_property_pages_open = false;
        return S_OK;
    }
    // The sender goes on while the pages are open: its request ends here, and nothing it sent is
    // read afterwards.
    EndGuardedOperation(*request, S_OK);
    *request = nullptr;
    ReplyMessage(0);
    IUnknown* objects[1] = {object.Get()};
    OleCreatePropertyFrame(reinterpret_cast<HWND>(RealGetParent()), 0, 0, info.achName, 1, objects, pageList.cElems,
                           pageList.pElems, 0, 0, nullptr);
    if (info.pGraph != nullptr)
        info.pGraph->Release();
    CoTaskMemFree(pageList.pElems);
    m_property_pages_open = false;
    return S_OK;
}
