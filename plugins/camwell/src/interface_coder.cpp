// The coder interface: the key flag and the switch for scrambling the frame bytes.
#include "Camwell1.h"

HRESULT Camwell1::DispatchCoder(InfoCamwell1State& state, int32_t indexMethod, ListParamsDataPath1& params)
{
    switch (indexMethod) {
    case 0:
        state.m_coder_key = Param(params, 0).GetBool() ? 1 : 0;
        return S_OK;
    case 1:
        state.m_coder_on = Param(params, 0).GetBool();
        return S_OK;
    default:
        return S_OK;
    }
}
