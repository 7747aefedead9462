// The sources without a DirectShow filter (a picture file or folder, kind 3, and the desktop,
// kind 4): the graph thread fills their frames itself, from the current description.
#include "ObjectControlGraph1.h"

HRESULT ObjectControlGraph1::RebuildPictureList()
{
    return m_picture_source.RebuildPictureList(m_need_interface);
}

HRESULT ObjectControlGraph1::FillBufferForPicterFileDriver(InfoDataBufferPath1& frame)
{
    const uint32_t interval = m_internal_var.m_array_uint.GetElement(InternalVarPictureInterval);
    return m_picture_source.FillBufferForPicterFileDriver(m_need_interface, interval, frame);
}

HRESULT ObjectControlGraph1::FillBufferForDesktopDriver(InfoDataBufferPath1& frame)
{
    return m_desktop_source.FillBufferForDesktopDriver(m_need_interface, frame);
}
