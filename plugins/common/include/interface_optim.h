// The processor-optimisation interface that every plug-in offers: which processor modes the
// filter supports, and the mode an instance runs its image primitives in.
#pragma once

#include "StructForInterfaceDataPath1.h"

#include "OptimFunctionUnifProcessSWORD.h"

#include <cstdint>

// The conversions of a Y16 plane, with or without its UV16 plane, into YUY2 bytes.
struct PackYuy2Kernels
{
    Y16UV16ToYuy2Function packY16UV16ToYuy2 = nullptr;
    Y16ToYuy2Function packY16ToYuy2 = nullptr;
};
PackYuy2Kernels SelectPackYuy2Kernels(SwordColumn column);

class ObjectOptimProcessorDataPath1
{
public:
    static constexpr int32_t kMethodGetSupportedModes = 0;
    static constexpr int32_t kMethodSetMode = 1;
    static constexpr int32_t kMethodGetMode = 2;

    // One call of the interface; an index the interface does not serve does nothing and gives 0.
    HRESULT Dispatch(int32_t indexMethod, ListParamsDataPath1* params, uint32_t supportedModes);

    // Dispatch, and when a new mode names an instruction set, the filter's kernels chosen again by
    // select(column); any other mode keeps the kernels the instance has.
    template <class Kernels, class Select>
    HRESULT DispatchSelecting(int32_t indexMethod, ListParamsDataPath1* params, uint32_t supportedModes,
                              Kernels& kernels, Select select)
    {
        const HRESULT result = Dispatch(indexMethod, params, supportedModes);
        if (indexMethod == kMethodSetMode && SUCCEEDED(result) && NamesInstructionSet())
            kernels = select(m_column);
        return result;
    }

    // Answers write their value back into the parameter as a 32-bit integer.
    static HRESULT GetSupportedModes(InfoParamDataPath1* out, uint32_t supportedModes);
    HRESULT SetMode(uint32_t mode);
    HRESULT GetMode(InfoParamDataPath1* out) const;

    uint32_t GetModeValue() const { return m_mode; }
    // Whether the mode's low 16 bits name one instruction set (1, 2, 4, 8, 32, 64); a filter keeps
    // the kernels it has for any other mode.
    bool NamesInstructionSet() const;
    // The variant set the mode chooses; takes effect at the instance's next frame.
    SwordColumn GetColumn() const { return m_column; }

private:
    uint32_t m_mode = 1;
    SwordColumn m_column = SelectProcessorKernelSet(m_mode);
};
