// The correction steps the per-frame pipeline calls, in its order, and the helpers they share.
// Each works on the planes the pipeline split from the frame (the frame's child slots and the
// scratch slots of TonalisWorkSlot), through the instance's operation table, with the mask of
// every sample; each answers the result of its last operation.
#pragma once

#include "Tonalis1State.h"

// Eight lanes of -1: every sample.
inline constexpr SWORD kTonalisAllSamples[8] = {-1, -1, -1, -1, -1, -1, -1, -1};

// ---- Noise removal and edge smoothing ---------------------------------------------------------

// One temporal pass against the stored references: the first (before the colour steps) or the
// second (after them, with the motion test when motion is set).
HRESULT HelperFunction_RemoveNoise(Tonalis1State& state, InfoDataBufferPath1& frame, InfoDataBufferPath1& luma,
                                   InfoDataBufferPath1* chroma, const SWORD* mask, bool firstPass, bool motion);
// The edge-aware smoothing after the first temporal pass.
HRESULT EdgeSmoothingFunction(Tonalis1State& state, InfoDataBufferPath1& frame, InfoDataBufferPath1& luma,
                              InfoDataBufferPath1* chroma, const SWORD* mask);

// ---- Colour correction ------------------------------------------------------------------------

// Equalisation, brightness, gamma, sharpness, hue and saturation; chroma is null for a grey frame.
HRESULT ColorCorrectionFunction(Tonalis1State& state, InfoDataBufferPath1& frame, InfoDataBufferPath1& luma,
                                InfoDataBufferPath1* chroma, const SWORD* mask);
// Sharpness or softening of the luminance with the sharpness value s (1 to 101, 51 neutral);
// 1 when the value leaves the plane as it is.
HRESULT SharpnessFunction(Tonalis1State& state, InfoDataBufferPath1& frame, InfoDataBufferPath1& luma,
                          const SWORD* mask, int32_t sharpness);
// Maps the luminance through the table that evens out its histogram (bins of width x height samples).
HRESULT EqualiseHistogram(Tonalis1State& state, InfoDataBufferPath1& luma, const uint32_t* bins);

// ---- Histogram --------------------------------------------------------------------------------

// Counts the luminance into 256 bins; raises the full-frame histogram event into the list when
// asked, and evens the histogram out when asked (and the corrections are enabled).
HRESULT HelperFunction_Histogram(Tonalis1State& state, InfoDataBufferPath1& frame, InfoDataBufferPath1& luma,
                          ListEventsDataPath1* events, bool raiseEvent, bool equalise);

// ---- Gradient effects -------------------------------------------------------------------------

HRESULT GraduentEffectsFunction(Tonalis1State& state, InfoDataBufferPath1& frame, InfoDataBufferPath1& luma,
                                const SWORD* mask);

// ---- Template mosaic and text effects ---------------------------------------------------------

// The mosaic of template blocks; chroma is null when the mosaic leaves the colour alone.
HRESULT HelperFunction_TemplateMosaic(Tonalis1State& state, InfoDataBufferPath1& frame, InfoDataBufferPath1& luma,
                             InfoDataBufferPath1* chroma, const SWORD* mask);
// The text areas are not drawn: 1, nothing done.
HRESULT TextEffectsFunction(Tonalis1State& state, InfoDataBufferPath1& frame);

// ---- Shared by the steps ----------------------------------------------------------------------

// Appends an event addressed as every event of the filter is (the filter, the event owner, the
// source index and the frame's number); the list then owns it, or it is deleted.
HRESULT RaiseTonalisEvent(InfoEventDataFrame1* event, const Tonalis1State& state, const InfoDataBufferPath1& frame,
                          ListEventsDataPath1* events);

inline SWORD* PlaneWords(InfoDataBufferPath1& plane)
{
    return reinterpret_cast<SWORD*>(plane.m_data + plane.m_offset_data);
}
inline int32_t PlaneWidth(const InfoDataBufferPath1& plane)
{
    return plane.m_info.m_bih.biWidth;
}
inline int32_t PlaneHeight(const InfoDataBufferPath1& plane)
{
    return plane.m_info.m_bih.biHeight;
}
