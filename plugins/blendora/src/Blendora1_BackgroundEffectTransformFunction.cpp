// The background effect: mixes the enabled channels' pictures into the base channel's frame.
#include "Blendora1.h"

HRESULT Blendora1::BackgroundEffectTransform(InfoFilterStateBlendora1* /*state*/, InfoDataBufferPath1* /*frame*/,
                                             ListEventsDataPath1* /*events*/, int32_t /*inputIndex*/)
{
    // The mixing operations are not built yet: every frame passes unmixed.
    return S_FALSE;
}
