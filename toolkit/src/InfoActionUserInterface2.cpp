#include "InfoActionUserInterface2.h"

#include "CatchAllLog.h"

HRESULT CheckParamActionFunction(BaseUserInterface* widget, uintptr_t, int32_t slot, int32_t run, uint32_t, uint32_t)
{
    return widget != nullptr && slot >= 0 && slot <= 63 && run >= 0 ? S_OK : E_FAIL;
}

HRESULT InfoActionUserInterface2::ResetRegions()
{
    for (int32_t* value : {&m_source_index, &m_destination_index, &m_source_offset, &m_destination_offset,
                           &m_source_stride, &m_destination_stride, &m_width, &m_height})
        *value = -1;
    return S_OK;
}

HRESULT FillActionParams(float (&params)[InfoActionUserInterface2::Channels][InfoActionUserInterface2::Lanes],
                         uint32_t channel, float value)
{
    if (channel >= InfoActionUserInterface2::Channels)
        return E_UNEXPECTED;
    for (float& lane : params[channel])
        lane = value;
    return S_OK;
}
