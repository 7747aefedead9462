// The library's filter object and its connection points, for the frame's exports.
#include "Blendora1.h"

BaseClassObjectDataPath1* CreateFilterObjectDataPath1(HINSTANCE /*module*/)
{
    return new Blendora1();
}

HRESULT FillConnectionPointsDataPath1(BaseClassObjectDataPath1* object, ListConnectionPointsDataPath1* points,
                                      int32_t size)
{
    auto* mixer = dynamic_cast<Blendora1*>(object);
    if (mixer == nullptr)
        return E_INVALIDARG;
    return mixer->FillConnectionPoints(points, size);
}
