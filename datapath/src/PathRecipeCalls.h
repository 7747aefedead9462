// The interface calls of the path recipes, written as a list of typed parameters:
//     CallFilter(output, IID_IVideoOutputRender1, 15, {UIntParam(0), BoolParam(false), BoolParam(false)});
// Pointers travel pointer-sized in the parameter's pointer field.
#pragma once

#include "ObjectDataPath1.h"
#include "StructForInterfaceDataPath1.h"

#include "CatchAllLog.h"

#include <initializer_list>

inline InfoParamDataPath1 IntParam(int32_t value)
{
    InfoParamDataPath1 param;
    param.SetInt(value);
    return param;
}

inline InfoParamDataPath1 UIntParam(uint32_t value)
{
    InfoParamDataPath1 param;
    param.SetUInt(value);
    return param;
}

inline InfoParamDataPath1 BoolParam(bool value)
{
    InfoParamDataPath1 param;
    param.SetBool(value);
    return param;
}

inline InfoParamDataPath1 WindowParam(HWND window)
{
    InfoParamDataPath1 param;
    param.SetWindow(window);
    return param;
}

inline InfoParamDataPath1 RectParam(LONG left, LONG top, LONG right, LONG bottom)
{
    InfoParamDataPath1 param;
    param.SetRect(RECT{left, top, right, bottom});
    return param;
}

// Type 0x1000005: a buffer the callee reads.
inline InfoParamDataPath1 BufferParam(const void* buffer)
{
    InfoParamDataPath1 param;
    param.SetPointer(const_cast<void*>(buffer), 0, false);
    return param;
}

inline InfoParamDataPath1 FloatParam(float value)
{
    InfoParamDataPath1 param;
    param.SetFloat(value);
    return param;
}

inline InfoParamDataPath1 TimeParam(const SYSTEMTIME& time)
{
    InfoParamDataPath1 param;
    param.SetSystemTime(time);
    return param;
}

// Type 0x1000008: a narrow text the callee reads.
inline InfoParamDataPath1 TextParam(const char* text)
{
    InfoParamDataPath1 param;
    param.SetTextPointer(const_cast<char*>(text), 0, false);
    return param;
}

// Type 0x1000001: an integer the callee writes.
inline InfoParamDataPath1 IntPointerParam(int32_t* value)
{
    InfoParamDataPath1 param;
    param.SetIntPointer(value, 0, false);
    return param;
}

// The filter's answer; 0x80004005 when the list cannot be built.
inline HRESULT CallFilter(ObjectDataPath1* filter, const GUID& iid, int32_t indexMethod,
                          std::initializer_list<InfoParamDataPath1> params)
{
    try {
        if (filter == nullptr)
            return E_INVALIDARG;
        ListParamsDataPath1 list;
        if (FAILED(list.SetNumberParams(static_cast<uint32_t>(params.size()))))
            return E_FAIL;
        uint32_t place = 0;
        for (const InfoParamDataPath1& param : params)
            list.m_params.GetElement(place++) = param;
        return filter->CallInterfaceFunction(iid, indexMethod, &list);
    }
    CATCH_ALL_RETURN(E_FAIL)
}
