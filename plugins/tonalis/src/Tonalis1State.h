// The per-instance state of the correction filter Tonalis1: every setting the interfaces store,
// the references the temporal steps keep from frame to frame, the lookup tables and the image
// operations of the instance's processor mode. Made by InitInfoFilter, owned by the instance record
// and used only on the data path's worker thread, so it needs no lock.
#pragma once

#include "BaseClassObjectDataPath1.h"
#include "interface_optim.h"
#include "interface_static_result.h"

#include "ObjectDataPath1_InfoDataBufferPath1.h"
#include "OptimFunctionUnifProcessSWORD.h"
#include "struct_format_graph1.h"

#include "CTimeServer.h"
#include "StaticAndDynamicBoundsObject.h"

#include <cstdint>

class ObjectControlDataPath1;

// Child slots of the frame that the pipeline uses as scratch planes, besides the level planes of
// FrameChildPlanes.h. Each holds, while a frame is processed, a plane laid out as the luminance.
namespace TonalisWorkSlot {
inline constexpr int kEdgeMap = 12;       // edge map of the smoothing
inline constexpr int kDifference = 13;    // difference plane of the motion test; resize target
inline constexpr int kLumaWork = 14;      // sharpness and resize work
inline constexpr int kMotionMask = 17;    // motion mask of the second noise pass
inline constexpr int kLastUsed = 17;
} // namespace TonalisWorkSlot

// Indexes of the correction values (interface method 1).
enum TonalisCorrectionValue : uint32_t
{
    kValueSaturation = 0,
    kValueBrightness = 1,
    kValueGamma = 2,
    kValueSharpness = 3,
    kValueNoiseLevel = 4,
    kValueHue = 5,
    kValueEdgeSmoothing = 6,
    kCorrectionValues = 7,
};

// Indexes of the integer parameters (interface method 3) that a step reads.
enum TonalisParam : uint32_t
{
    kParamAdaptiveBrightness = 0,
    kParamGradientEffect = 1,
    kParamMosaicValue1 = 3,
    kParamMosaicValue2 = 4,
    kParamMosaicChroma = 5,
    kParamEffectsOff = 6,
    kParamSplitView = 7,
    kParamEqualiseHistogram = 8,
    kParamHalfSize = 9,
    kParamEdgeSmoothing = 10,
    kParamKernelSharpness = 11,
    kParamEdgeSmoothingChroma = 12,
    kParamEdgeMapPerPass = 13,
    kParamTemporalNoise = 14,
    kParamMotionAdaptiveNoise = 15,
    kParamTextEffects = 16,
    kParamResizeWidth = 17,
    kParamResizeHeight = 18,
    kParamResizeKeepRatio = 19,
    kParamFrameCounter = 20,
    kParamShrinkStoredFrames = 21,
    kParams = 32,
};

// The temporal references of the noise removal, kept between frames.
enum TonalisStoredFrame : uint32_t
{
    kStoredLumaFirstPass = 0,
    kStoredChromaFirstPass = 1,
    kStoredLumaSecondPass = 2,
    kStoredChromaSecondPass = 3,
    kStoredPreviousLuma = 4,
    kStoredFrames = 5,
};

// One text-effect area, in fractions of the frame; stored and handed back only, never drawn.
struct InfoTextEffect
{
    float m_area[4] = {};
    uint8_t m_in_use = 0;
    uint8_t m_changed = 1;
};

// One 8 x 8 template block: 8 rows of 8 Y16 samples, or of 4 interleaved U, V pairs. An empty
// block is left out of the mosaic.
struct InfoTemplateBlockTonalis1
{
    static constexpr uint32_t kWords = 64;
    SWORD m_words[kWords] = {};
    bool m_filled = false;
};

// One set of template blocks, a row per block in each of the three tables.
struct InfoTemplateBlockSetTonalis1
{
    DynamicBoundsObject<InfoTemplateBlockTonalis1> m_luma;
    DynamicBoundsObject<InfoTemplateBlockTonalis1> m_chroma;
    DynamicBoundsObject<int32_t> m_sizes;

    HRESULT FreeAll();
};

// Two work counters the transform clears on every frame.
struct InfoCounterPairTonalis1
{
    uint32_t m_first = 0;
    uint32_t m_second = 0;
};

// A lookup table of the luminance mapping: one signed 16-bit value per 8-bit sample.
using TonalisCurve = StaticBoundsObject<SWORD, 256>;

class Tonalis1State : public InfoFilterStateDataPath1
{
public:
    static constexpr int32_t kNoSourceIndex = -1;
    static constexpr uint32_t kTextEffects = 4;
    static constexpr uint32_t kCounterPairs = 32;
    static constexpr uint32_t kHueTableEntries = 256;

    Tonalis1State();
    ~Tonalis1State();
    Tonalis1State(const Tonalis1State&) = delete;
    Tonalis1State& operator=(const Tonalis1State&) = delete;

    // Every setting to its default.
    HRESULT Reset();
    // The temporal steps start again: every stored frame becomes a NULL frame.
    HRESULT EmptyStoredFrames();

    // Set with interface method 5; read by no step.
    int32_t m_user_value = 0;
    // Copied into every event.
    int32_t m_event_source_index = kNoSourceIndex;
    StaticBoundsObject<InfoTextEffect, kTextEffects> m_text_effects;
    // Converted and clamped values (TonalisCorrectionValue).
    StaticBoundsObject<float, kCorrectionValues> m_correction_values;
    // 0 turns every correction step off.
    int32_t m_enable = 1;
    ObjectOptimProcessorDataPath1 m_optim;
    // The controller that receives the events; copied into every event.
    ObjectControlDataPath1* m_event_owner = nullptr;
    int32_t m_first_average_request = 0;
    StaticBoundsObject<int32_t, kParams> m_params_int;
    StaticBoundsObject<float, kParams> m_params_float;
    // Of the last frame, 0 to 1.
    float m_average_level = 0.5f;
    // Follows the target level one step a frame, -255 to 255.
    int32_t m_adaptive_offset = 0;
    // Non-zero: the offset is tracked but not applied.
    int32_t m_hold_adaptive = 0;
    StructFormatGraph1 m_format_graph{StructFormatGraph1::kKindCapture};
    CTimeServer m_time;
    uint64_t m_time_gradient = 0;
    ObjectStaticResultProcessDataPath1 m_statistics;
    StaticBoundsObject<InfoCounterPairTonalis1, kCounterPairs> m_counters;
    // TonalisStoredFrame.
    InfoDataBufferPath1 m_stored_frames[kStoredFrames];
    // The second noise pass: limits, weights, whether it works on the chroma too, and the mask.
    SWORD m_noise_limits[2] = {20, 50};
    SWORD m_noise_weights[3] = {115, -38, -38};
    int32_t m_noise_chroma = 0;
    SWORD m_noise_mask = -1;
    TonalisCurve m_gamma_table;
    TonalisCurve m_user_curves[2];
    TonalisCurve m_gradient_table;
    float m_gradient_phase = 0.0f;
    int32_t m_curves_changed = 1;
    DynamicString m_template_folder;
    InfoTemplateBlockSetTonalis1 m_blocks_normal;
    InfoTemplateBlockSetTonalis1 m_blocks_extended;
    int32_t m_extended_blocks_present = 0;
    // Built from the hue value when it is set.
    DynamicBoundsObject<int32_t> m_hue_sine;
    DynamicBoundsObject<int32_t> m_hue_cosine;
    StaticBoundsObject<SWORD, 8> m_hue_matrix;
    // Split U and V planes of the edge smoothing; U also holds the copy of the chroma plane that its
    // resize reads.
    InfoDataBufferPath1 m_work_u;
    InfoDataBufferPath1 m_work_v;
    // The full-size planes as they were before the corrections, for the split view.
    InfoDataBufferPath1 m_split_view_luma;
    InfoDataBufferPath1 m_split_view_chroma;
    OptimFunctionTableSWORD m_operations{};
};

// Entry i of the identity curve is i.
HRESULT FillIdentityCurve(TonalisCurve& curve);
