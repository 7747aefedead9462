// The library's one filter object and its connection points, for the exports of the frame.
#include "Tonalis1.h"

BaseClassObjectDataPath1* CreateFilterObjectDataPath1(HINSTANCE /*module*/)
{
    return new Tonalis1();
}

HRESULT FillConnectionPointsDataPath1(BaseClassObjectDataPath1* object, ListConnectionPointsDataPath1* points,
                                      int32_t size)
{
    return static_cast<Tonalis1*>(object)->FillConnectionPoints(points, size);
}
