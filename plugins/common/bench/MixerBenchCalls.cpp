#include "MixerBenchCalls.h"

HRESULT CallMixerData(ObjectDataPath1& filter, int32_t method, int32_t first, int32_t second)
{
    ListParamsDataPath1 params;
    params.SetNumberParams(2);
    params.m_params.GetElement(0).SetInt(first);
    if (method == 0)
        params.m_params.GetElement(1).SetBool(second != 0);
    else
        params.m_params.GetElement(1).SetInt(second);
    return filter.CallInterfaceFunction(IID_MixerDataTundrel, method, &params);
}
