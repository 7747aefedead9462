// The library's filter object and its connection points, for the frame's exports.
#include "Rendara1.h"

BaseClassObjectDataPath1* CreateFilterObjectDataPath1(HINSTANCE module)
{
    return new Rendara1(module);
}

HRESULT FillConnectionPointsDataPath1(BaseClassObjectDataPath1* object, ListConnectionPointsDataPath1* points,
                                      int32_t size)
{
    auto* output = dynamic_cast<Rendara1*>(object);
    if (output == nullptr)
        return E_INVALIDARG;
    return output->FillConnectionPoints(points, size);
}
