// The processor-optimisation interface that every plug-in offers: which processor modes the
// filter supports, and the mode an instance runs its image primitives in.
#pragma once

#include "StructForInterfaceDataPath1.h"

#include "OptimFunctionUnifProcessSWORD.h"

#include <cstdint>

class ObjectOptimProcessorDataPath1
{
public:
    static constexpr int32_t kMethodGetSupportedModes = 0;
    static constexpr int32_t kMethodSetMode = 1;
    static constexpr int32_t kMethodGetMode = 2;

    // One call of the interface; an index the interface does not serve does nothing and gives 0.
    HRESULT Dispatch(int32_t indexMethod, ListParamsDataPath1* params, uint32_t supportedModes);

    // Answers write their value back into the parameter as a 32-bit integer.
    static HRESULT GetSupportedModes(InfoParamDataPath1* out, uint32_t supportedModes);
    HRESULT SetMode(uint32_t mode);
    HRESULT GetMode(InfoParamDataPath1* out) const;

    uint32_t GetModeValue() const { return m_mode; }
    // The variant set the mode chooses; takes effect at the instance's next frame.
    SwordColumn GetColumn() const { return m_column; }

private:
    uint32_t m_mode = 1;
    SwordColumn m_column = SelectProcessorKernelSet(m_mode);
};
