#include "InfoFilterStateBlendora1.h"

#include <initializer_list>

namespace {

// The kernels of one instruction-set suffix; the rest come from the SWORD table's column.
#define BLENDORA_KERNELS(suffix)                                                                             \
    BlendoraKernels                                                                                          \
    {                                                                                                        \
        .packY16UV16ToYuy2 = ConvertY16UV16ToYUY2##suffix, .packY16ToYuy2 = ConvertY16ToYUY2##suffix,         \
        .planes = {}, .copy = CopyPlaneMaskedSWORD##suffix, .orPlanes = OrPlaneSWORD##suffix,                \
        .andPlanes = AndPlaneSWORD##suffix, .xorPlanes = XorPlaneSWORD##suffix,                              \
        .andNotPlanes = AndNotPlaneSWORD##suffix, .add = AddPlaneSWORD##suffix,                              \
        .subtract = SubPlaneSWORD##suffix, .multiply = MulPlaneSWORD##suffix,                                \
        .absoluteDifference = AbsDiffSWORD##suffix, .addConstant = AddConstSWORD##suffix,                    \
        .subtractConstant = SubConstSWORD##suffix, .multiplyShiftConstant = MulShiftConstSWORD##suffix,      \
        .multiplyShift = MulShiftPlaneSWORD##suffix, .inverseMultiplyShift = MulComplementShiftSWORD##suffix, \
        .compareGreater = CmpGTConstSWORD##suffix, .andConstant = AndConstSWORD##suffix,                     \
        .blur = blure_const_sword_funct##suffix, .thresholdMask = ThresholdMask##suffix,                     \
        .maskBlend = MaskBlendPlanes##suffix, .maskBlendLumaChroma = MaskBlendLumaChroma##suffix,            \
    }

} // namespace

BlendoraKernels SelectBlendoraKernels(SwordColumn column)
{
    // There are no SSE-integer packing or blending kernels: that column takes the MMX ones.
    BlendoraKernels kernels = column == SwordColumn::Sse2    ? BLENDORA_KERNELS(_sse2)
                              : column == SwordColumn::Plain ? BLENDORA_KERNELS(_c)
                                                             : BLENDORA_KERNELS(_mmx);
    kernels.planes = GetFramePlaneKernels(GetOptimFunctionTableSWORD(column));
    return kernels;
}

InfoFilterStateBlendora1::InfoFilterStateBlendora1()
{
    try {
        m_name = "BLENDORA_FILTER1";
        m_time.Initialize();
        m_kernels = SelectBlendoraKernels(m_optim.GetColumn());
        m_options.Fill(0);
        m_options.GetElement(kOptionDriverKind) = kPlexamoDriverNone;
        OpenDriverSharedBuffer();
        m_input_enabled.Fill(0);
        m_work_pictures.Fill(0);
        for (auto* frames : {&m_work_luma, &m_work_chroma, &m_work_mask})
            if (FAILED(frames->Init(kInputs, 0)))
                throw 240;
    }
    CATCH_ALL_RETHROW()
}

InfoFilterStateBlendora1::~InfoFilterStateBlendora1()
{
    try {
        CloseDriverSharedBuffer();
    }
    CATCH_ALL_LOG()
}

HRESULT InfoFilterStateBlendora1::OpenDriverSharedBuffer()
{
    try {
        const HRESULT closed = CloseDriverSharedBuffer();
        const PlexamoDriverObjectNames names = GetPlexamoDriverObjectNames(m_options.GetElement(kOptionDriverKind));
        if (names.mapping == nullptr)
            return S_FALSE;
        m_section_size = kPlexamoSectionSize;
        m_mapping = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, m_section_size, names.mapping);
        if (m_mapping != nullptr)
            m_view = static_cast<BYTE*>(MapViewOfFile(m_mapping, FILE_MAP_WRITE, 0, 0, m_section_size));
        m_mutex = CreateMutexA(nullptr, FALSE, names.mutex);
        if (m_view == nullptr || m_mutex == nullptr) {
            // A section made smaller by someone else cannot be viewed whole: nothing is written to it.
            LOG_TEXT("InfoFilterStateBlendora1::OpenDriverSharedBuffer::the driver's section or mutex cannot be opened");
            CloseDriverSharedBuffer();
            return E_FAIL;
        }
        return closed;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT InfoFilterStateBlendora1::CloseDriverSharedBuffer()
{
    if (m_view != nullptr)
        UnmapViewOfFile(m_view);
    m_view = nullptr;
    SAFE_CLOSE_HANDLE(m_mapping);
    SAFE_CLOSE_HANDLE(m_mutex);
    m_section_size = 0;
    m_count_blocked_frames = 0;
    return S_OK;
}

HRESULT InfoFilterStateBlendora1::ResetWorkingFrames()
{
    try {
        HRESULT result = m_work_pictures.Fill(0);
        for (auto* frames : {&m_work_luma, &m_work_chroma, &m_work_mask})
            for (uint32_t k = 0; k < kInputs; ++k) {
                InfoDataBufferPath1& frame = frames->GetElement(k);
                frame.SetNULLFrame();
                result = frame.UpdateSizeBuffer(16, 1);
            }
        return result;
    }
    CATCH_ALL_RETURN(E_FAIL)
}
