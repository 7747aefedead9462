// The conversion table for a processor mode.
#include "IntavoConversions.h"

namespace {

const ConversionRoutinesIntavo1 kSse2Set = {
    resize_funct_sword_sse2, ConvertRGB24ToY8_sse2,  ConvertRGB24ToYUY2_sse2, ConvertYUY2ToY8_sse2,
    ConvertUYVYToYUY2_sse2,  ConvertYVYUToYUY2_sse2, ConvertI420ToYUY2_sse2,  ConvertYV12ToYUY2_sse2,
};
// Only the resize has code of its own for the integer instructions of SSE; the conversions are the
// plain routines, SWORD's plain reference of its vector RGB24 routine included, so every set
// gives the same bytes.
const ConversionRoutinesIntavo1 kSseSet = {
    resize_funct_sword_sse, ConvertRGB24ToY8_c,  ConvertRGB24ToYUY2_c, ConvertYUY2ToY8_c,
    ConvertUYVYToYUY2_c,    ConvertYVYUToYUY2_c, ConvertI420ToYUY2_c,  ConvertYV12ToYUY2_c,
};
const ConversionRoutinesIntavo1 kMmxSet = {
    resize_funct_sword_mmx, ConvertRGB24ToY8_mmx,  ConvertRGB24ToYUY2_mmx, ConvertYUY2ToY8_mmx,
    ConvertUYVYToYUY2_mmx,  ConvertYVYUToYUY2_mmx, ConvertI420ToYUY2_mmx,  ConvertYV12ToYUY2_mmx,
};
// A processor without MMX.
const ConversionRoutinesIntavo1 kPlainSet = {
    resize_funct_sword_c, ConvertRGB24ToY8_c,  ConvertRGB24ToYUY2_c, ConvertYUY2ToY8_c,
    ConvertUYVYToYUY2_c,  ConvertYVYUToYUY2_c, ConvertI420ToYUY2_c,  ConvertYV12ToYUY2_c,
};

// The whole mode decides, not its low 16 bits: a mode with higher bits set takes the MMX set.
uint32_t ModeAskedByWholeValue(uint32_t processorMode)
{
    switch (processorMode) {
    case 2:
    case 4:
    case 8:
    case 32:
    case 64:
        return processorMode;
    default:
        return 1;
    }
}

} // namespace

HRESULT SelectConversionRoutines(ConversionRoutinesIntavo1& routines, uint32_t processorMode)
{
    switch (SelectProcessorKernelSet(ModeAskedByWholeValue(processorMode))) {
    case ProcessorKernelSet::Sse2:
        routines = kSse2Set;
        break;
    case ProcessorKernelSet::SseInteger:
        routines = kSseSet;
        break;
    case ProcessorKernelSet::Mmx:
        routines = kMmxSet;
        break;
    case ProcessorKernelSet::Plain:
        routines = kPlainSet;
        break;
    }
    return S_OK;
}
