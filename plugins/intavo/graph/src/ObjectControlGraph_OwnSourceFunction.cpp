// The sources without a DirectShow filter (a picture file or folder, kind 3, and the desktop,
// kind 4): the graph thread fills their frames itself. Not built yet: no picture list is kept and
// every frame stays empty.
#include "ObjectControlGraph1.h"

HRESULT ObjectControlGraph1::RebuildPictureList()
{
    return S_OK;
}

HRESULT ObjectControlGraph1::FillBufferForPicterFileDriver(InfoDataBufferPath1& /*frame*/)
{
    return S_FALSE;
}

HRESULT ObjectControlGraph1::FillBufferForDesktopDriver(InfoDataBufferPath1& /*frame*/)
{
    return S_FALSE;
}
