// The per-instance state of the mixer Blendora1: its settings, the mixing's working frames and the
// virtual-camera driver's shared buffer. Made by InitInfoFilter, owned by the instance record and
// used only on the data path's worker thread.
#pragma once

#include "BaseClassObjectDataPath1.h"
#include "BlendoraMixKernels.h"
#include "FramePlaneProcedures.h"
#include "InfoBackgroundEffectForMixerFilter.h"
#include "SharedInfoBetweenPlexamoDriverAndApplication.h"
#include "interface_optim.h"

#include "ObjectDataPath1_InfoDataBufferPath1.h"

#include "CTimeServer.h"
#include "OptimFunctionUnifProcessSWORD.h"

#include <windows.h>

#include <cstdint>

// The image operations of the instance's processor mode: the packing for the driver, and the
// scaling, blending and reduced copies of the background effect.
struct BlendoraKernels
{
    Y16UV16ToYuy2Function packY16UV16ToYuy2 = nullptr;
    Y16ToYuy2Function packY16ToYuy2 = nullptr;
    FramePlaneKernels planes;
    // Ops 1 to 9, between two planes.
    UnifSwordFunction copy = nullptr;
    UnifSwordFunction orPlanes = nullptr;
    UnifSwordFunction andPlanes = nullptr;
    UnifSwordFunction xorPlanes = nullptr;
    UnifSwordFunction andNotPlanes = nullptr;
    UnifSwordFunction add = nullptr;
    UnifSwordFunction subtract = nullptr;
    UnifSwordFunction multiply = nullptr;
    UnifSwordFunction absoluteDifference = nullptr;
    // The mixes and masks.
    UnifSwordFunction addConstant = nullptr;
    UnifSwordFunction subtractConstant = nullptr;
    UnifSwordFunction multiplyShiftConstant = nullptr;
    UnifSwordFunction multiplyShift = nullptr;
    UnifSwordFunction inverseMultiplyShift = nullptr;
    UnifSwordFunction compareGreater = nullptr;
    UnifSwordFunction andConstant = nullptr;
    UnifSwordFunction blur = nullptr;
    // The mixer's own kernels: the threshold mask of ops 11 and 12 and the mask blend of ops 11 to
    // 14, each in one pass, the latter also for both planes under one reading of the mask.
    ThresholdMaskFunction thresholdMask = nullptr;
    MaskBlendFunction maskBlend = nullptr;
    MaskBlendLumaChromaFunction maskBlendLumaChroma = nullptr;
};
BlendoraKernels SelectBlendoraKernels(SwordColumn column);

// The range of values of one level event that lets a frame through to the driver.
struct BlendoraLevelRange
{
    float low = 0.0f;
    float high = 1.0f;
};

class InfoFilterStateBlendora1 : public InfoFilterStateDataPath1
{
public:
    static constexpr uint32_t kInputs = 16;
    static constexpr uint32_t kOptions = 16;
    static constexpr int32_t kOptionDriverKind = 1;
    static constexpr int32_t kOptionBackgroundEffect = 2;
    static constexpr uint32_t kRangeAverageLevel = 0;
    static constexpr uint32_t kRangeDetection = 1;
    // A driver that holds its mutex longer than this costs the frame, never the frame path.
    static constexpr DWORD kDriverMutexWaitMilliseconds = 40;
    static constexpr uint32_t kWorkPictureLuma = 1;
    static constexpr uint32_t kWorkPictureChroma = 2;

    InfoFilterStateBlendora1();
    ~InfoFilterStateBlendora1();
    InfoFilterStateBlendora1(const InfoFilterStateBlendora1&) = delete;
    InfoFilterStateBlendora1& operator=(const InfoFilterStateBlendora1&) = delete;

    // Opens the section and mutex of the stored driver kind, after closing what is open: 1 for a
    // kind without a driver, 0x80004005 when the section, its view or the mutex cannot be had.
    HRESULT OpenDriverSharedBuffer();
    HRESULT CloseDriverSharedBuffer();
    // Every working frame becomes a minimal NULL frame.
    HRESULT ResetWorkingFrames();

    int32_t m_control = 0;

    HANDLE m_mapping = nullptr;
    HANDLE m_mutex = nullptr;
    BYTE* m_view = nullptr;
    uint32_t m_section_size = 0;
    InfoBetweenPlexamoDriverAndApplication m_default_header;
    // Frames that found the previous one still waiting, and the time of the first of them.
    uint32_t m_count_blocked_frames = 0;
    uint64_t m_time_first_blocked = 0;
    CTimeServer m_time;
    // Test seam: how long a frame waits for the driver's mutex.
    DWORD m_mutex_wait_milliseconds = kDriverMutexWaitMilliseconds;

    // The image operations of the instance's processor mode.
    BlendoraKernels m_kernels;
    ObjectOptimProcessorDataPath1 m_optim;

    StaticBoundsObject<BlendoraLevelRange, 2> m_level_ranges;
    StaticBoundsObject<int32_t, kInputs> m_input_enabled;
    StaticBoundsObject<int32_t, kOptions> m_options;

    // The mixing's working frames, one of each kind per input number (kInputs each).
    DynamicBoundsObject<InfoDataBufferPath1> m_work_luma;
    DynamicBoundsObject<InfoDataBufferPath1> m_work_chroma;
    DynamicBoundsObject<InfoDataBufferPath1> m_work_mask;
    // Per input number: which working planes hold the input's last picture (kWorkPicture...).
    StaticBoundsObject<uint32_t, kInputs> m_work_pictures;
    int32_t m_background_effect = 0;
    InfoBackgroundEffectForMixerFilter m_effect;
    // The size of the base channel's frames; -1 until one is seen.
    int32_t m_base_width = -1;
    int32_t m_base_height = -1;
};
