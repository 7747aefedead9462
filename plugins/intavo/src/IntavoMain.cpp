// The library's one filter object and its fill of the connection points.
#include "Intavo1.h"

BaseClassObjectDataPath1* CreateFilterObjectDataPath1(HINSTANCE /*module*/)
{
    return new Intavo1();
}

HRESULT FillConnectionPointsDataPath1(BaseClassObjectDataPath1* object, ListConnectionPointsDataPath1* points,
                                      int32_t size)
{
    return static_cast<Intavo1*>(object)->FillConnectionPoints(points, size);
}
