// The path-building operations of the controller. The recipes that load and link the plug-ins
// of capture, local-camera, archive and mixer paths are not part of this build yet: each of them
// logs and refuses. The three network operations that the controller accepts do nothing.
#include "ObjectControlDataPath1.h"

#include "CatchAllLog.h"

namespace {

HRESULT RefuseRecipe(const char* text)
{
    LOG_TEXT(text);
    return E_FAIL;
}

} // namespace

HRESULT ObjectControlDataPath1::RefreshPathForNetworkArhiveReal(void* /*archiveList*/)
{
    if (!IsOnWorkerThread("ObjectControlDataPath1::RefreshPathForNetworkArhiveReal"))
        return E_UNEXPECTED;
    return RefuseRecipe("ObjectControlDataPath1::RefreshPathForNetworkArhiveReal::no recipe");
}

HRESULT ObjectControlDataPath1::CreateLocalVideoCameraReal(InfoDriverForMixerDataPath1* /*settings*/, LPARAM /*l*/)
{
    if (!IsOnWorkerThread("ObjectControlDataPath1::CreateLocalVideoCameraReal"))
        return E_UNEXPECTED;
    return RefuseRecipe("ObjectControlDataPath1::CreateLocalVideoCameraReal::no recipe");
}

HRESULT ObjectControlDataPath1::CreateNetworkDataPathForReciveArhiveReal(WPARAM /*w*/, LPARAM /*l*/)
{
    if (!IsOnWorkerThread("ObjectControlDataPath1::CreateNetworkDataPathForReciveArhiveReal"))
        return E_UNEXPECTED;
    return S_OK;
}

HRESULT ObjectControlDataPath1::CreateCapturePathFromFormat1Real(void*, int32_t, int32_t, StructFormatGraph1*, uint8_t,
                                                                 uint8_t, uint8_t, uint8_t, int32_t, int32_t, uint8_t,
                                                                 uint8_t, int32_t, int32_t, int32_t, int32_t)
{
    if (!IsOnWorkerThread("ObjectControlDataPath1::CreateCapturePathFromFormat1Real"))
        return E_UNEXPECTED;
    return RefuseRecipe("ObjectControlDataPath1::CreateCapturePathFromFormat1Real::no recipe");
}

HRESULT ObjectControlDataPath1::CreateNetworkCapturePathFromFormat1Real(void*, int32_t, int32_t, StructFormatGraph1*,
                                                                        uint8_t, uint8_t, uint8_t, uint8_t, int32_t,
                                                                        int32_t, uint8_t, uint8_t, int32_t, int32_t,
                                                                        int32_t)
{
    if (!IsOnWorkerThread("ObjectControlDataPath1::CreateNetworkCapturePathFromFormat1Real"))
        return E_UNEXPECTED;
    return S_OK;
}

HRESULT ObjectControlDataPath1::CreateMixerDataPathForTundrelReal(HWND /*outputWindow*/, int32_t /*reserved*/,
                                                                  int32_t /*processorMode*/)
{
    if (!IsOnWorkerThread("ObjectControlDataPath1::CreateMixerDataPathForTundrelReal"))
        return E_UNEXPECTED;
    return RefuseRecipe("ObjectControlDataPath1::CreateMixerDataPathForTundrelReal::no recipe");
}

HRESULT ObjectControlDataPath1::AddDriverToMixerDataPathForTundrelReal(InfoNeedInterface* /*source*/,
                                                                       int32_t /*reserved*/, int32_t /*slot*/,
                                                                       int32_t /*processorMode*/)
{
    if (!IsOnWorkerThread("ObjectControlDataPath1::AddDriverToMixerDataPathForTundrelReal"))
        return E_UNEXPECTED;
    return RefuseRecipe("ObjectControlDataPath1::AddDriverToMixerDataPathForTundrelReal::no recipe");
}

HRESULT ObjectControlDataPath1::DeleteDriverFromMixerDataPathForTundrelReal(int32_t /*slot*/)
{
    if (!IsOnWorkerThread("ObjectControlDataPath1::DeleteDriverFromMixerDataPathForTundrelReal"))
        return E_UNEXPECTED;
    return RefuseRecipe("ObjectControlDataPath1::DeleteDriverFromMixerDataPathForTundrelReal::no recipe");
}

HRESULT ObjectControlDataPath1::CreateReciveDataPathForReciverServerReal(int32_t, int32_t, int32_t, int32_t, int32_t,
                                                                         int32_t)
{
    if (!IsOnWorkerThread("ObjectControlDataPath1::CreateReciveDataPathForReciverServerReal"))
        return E_UNEXPECTED;
    return S_OK;
}

HRESULT ObjectControlDataPath1::CreatePathFromFormatGraph(void*, int32_t, int32_t, HWND, ObjectDataPath1*, int32_t,
                                                          bool, uint8_t, uint8_t, uint8_t, uint8_t, int32_t, int32_t,
                                                          uint8_t, uint8_t, void*, void*, int32_t, void*)
{
    return RefuseRecipe("ObjectControlDataPath1::CreatePathFromFormatGraph::no recipe");
}

HRESULT ObjectControlDataPath1::CreateCapturePathFromDriverInfo(ObjectDataPath1*, int32_t, InfoDriverForMixerDataPath1*,
                                                                void*, void*)
{
    return RefuseRecipe("ObjectControlDataPath1::CreateCapturePathFromDriverInfo::no recipe");
}

HRESULT ObjectControlDataPath1::CreateReaderToNetworkPath(int32_t, int32_t, SYSTEMTIME, int32_t, float)
{
    return RefuseRecipe("ObjectControlDataPath1::CreateReaderToNetworkPath::no recipe");
}
