// SWORD image primitives: operations on planes of signed 16-bit samples in plain, MMX, SSE-integer
// and SSE2 variants. Every variant of an operation has the same signature and a name that ends in
// _c, _mmx, _sse or _sse2, so any of them fits the same table entry. Callers never pick a variant
// themselves: they fill an OptimFunctionTableSWORD for the processor mode and call through it.
//
// Planes: one word per pixel (Y16, R, G, B) or interleaved chroma U0 V0 U1 V1 ... (UV16). Widening
// from 8 bits does not scale; narrowing saturates to 0..255. A plane made here has the stride of
// GetSwordPlaneStride, so its rows are whole multiples of 16 bytes.
//
// The conversions read and write only the visible bytes of each row (whole vectors as far as the
// width allows, the rest through the plain code), so 8-bit frames of any stride are safe.
#pragma once

#include <windows.h>

#include "KestrelDebugFunct.h"
#include "StaticAndDynamicBoundsObject.h"

#include <cstdint>

using SWORD = int16_t;

// ---- Plane model ----------------------------------------------------------------------------

// Row length in bytes of the planes made here: 2 x width when that is a whole number of 16-byte
// vectors, else rounded up to the next one.
int GetSwordPlaneStride(int width);

// Granularity answered to the alignment query of the unified form.
constexpr int kSwordAlignmentPlain = 2;
constexpr int kSwordAlignmentMmx = 8;
constexpr int kSwordAlignmentSse2 = 16;
constexpr int kSwordAlignmentNone = -1;

// The alignment query of the unified form: writes the granularity and answers S_FALSE, or
// E_UNEXPECTED when there is nowhere to write it.
HRESULT AnswerSwordAlignmentQuery(int* alignmentOut, int alignment);

// Row walk of the vector kernels: bytes processed per row and the step from the end of those bytes
// to the next row of each plane.
struct SwordRowWalk
{
    int bytesPerRow;
    int stepA;
    int stepB;
};
// Rounding up: ceil(width / vectorWords) vectors, at least one.
SwordRowWalk GetSwordRowWalkRoundingUp(int widthInWords, int vectorWords, int strideA, int strideB);
// Rounding down: width / vectorWords vectors; a quotient of 0 still walks one vector.
SwordRowWalk GetSwordRowWalkRoundingDown(int widthInWords, int vectorWords, int strideA, int strideB);

// Factor that brings a 3 x 3 kernel to unit gain in 14-bit fixed point; kernels whose 16-bit sum
// is not positive keep the gain of 1 (16384).
SWORD GetNormalizeKoeffSvertka3x3(const SWORD* kernel);

// ---- Operation forms ------------------------------------------------------------------------

// The unified form. Plane A null: an alignment query.
using UnifSwordFunction = HRESULT (*)(SWORD* planeA, void* extraOut, const void* planeB, void* unused,
                                      const SWORD* laneMask, int strideA, int strideB, int width, int height,
                                      int count, const SWORD* constant1, const SWORD* constant2,
                                      int* alignmentOut);

// RGB32 picture to R, G and B planes, which are (re)allocated through the support library when
// missing or smaller than planeStride x height; capacity in bytes, plane stride written back.
using Rgb32ToPlanesFunction = HRESULT (*)(const BYTE* source, SWORD** planeR, SWORD** planeG, SWORD** planeB,
                                          int* capacity, int sourceStride, int* planeStride, int width,
                                          int height);

// Splits UV16 into its U and V planes, each word written twice so the planes keep the UV16 width,
// and joins them back; the three planes share one stride.
using SplitUVFunction = HRESULT (*)(const SWORD* planeUV, SWORD* planeU, SWORD* planeV, int stride,
                                    int widthInWords, int height);
using JoinUVFunction = HRESULT (*)(SWORD* planeUV, const SWORD* planeU, const SWORD* planeV, int stride,
                                   int widthInWords, int height);

// Three planes narrowed into an 8-bit picture; the output stride is chosen and written back.
using PlanesToRgbFunction = HRESULT (*)(const SWORD* first, const SWORD* second, const SWORD* third, BYTE* output,
                                        int capacity, int planeStride, int* outputStride, int width, int height);
// Same for 16-bit pixels; a non-zero low byte of layout555 picks 555, else 565.
using PlanesToRgb16Function = HRESULT (*)(const SWORD* first, const SWORD* second, const SWORD* third,
                                          BYTE* output, int capacity, int planeStride, int* outputStride,
                                          int width, int height, int layout555);

// RGB24 (bytes B, G, R) picture to YUY2 (bytes Y0, U, Y1, V).
using Rgb24ToYuy2Function = HRESULT (*)(BYTE* output, const BYTE* input, int outputStride, int inputStride,
                                        int width, int height);

// Y16 with UV16, or Y16 alone (chroma 128), narrowed into a YUY2 picture.
using Y16UV16ToYuy2Function = HRESULT (*)(const SWORD* planeY, const SWORD* planeUV, int sourceStride,
                                          BYTE* output, int outputStride, int width, int height);
using Y16ToYuy2Function = HRESULT (*)(const SWORD* planeY, int sourceStride, BYTE* output, int outputStride,
                                      int width, int height);

// ---- Conversions into planes ----------------------------------------------------------------

// Unified form: plane A = Y16 out, extraOut = UV16 out, plane B = YUY2 in, stride A for both
// outputs, stride B of the source, width in pixels.
HRESULT ConvertYUY2toY16UV16_c(SWORD*, void*, const void*, void*, const SWORD*, int, int, int, int, int,
                               const SWORD*, const SWORD*, int*);
HRESULT ConvertYUY2toY16UV16_mmx(SWORD*, void*, const void*, void*, const SWORD*, int, int, int, int, int,
                                 const SWORD*, const SWORD*, int*);
HRESULT ConvertYUY2toY16UV16_sse2(SWORD*, void*, const void*, void*, const SWORD*, int, int, int, int, int,
                                  const SWORD*, const SWORD*, int*);

// Unified form: plane A = Y16 out, plane B = Y8 in.
HRESULT ConvertY8toY16_c(SWORD*, void*, const void*, void*, const SWORD*, int, int, int, int, int, const SWORD*,
                         const SWORD*, int*);
HRESULT ConvertY8toY16_mmx(SWORD*, void*, const void*, void*, const SWORD*, int, int, int, int, int,
                           const SWORD*, const SWORD*, int*);
HRESULT ConvertY8toY16_sse2(SWORD*, void*, const void*, void*, const SWORD*, int, int, int, int, int,
                            const SWORD*, const SWORD*, int*);

HRESULT rgb32_to_r16g16b16_c(const BYTE*, SWORD**, SWORD**, SWORD**, int*, int, int*, int, int);
HRESULT rgb32_to_r16g16b16_mmx(const BYTE*, SWORD**, SWORD**, SWORD**, int*, int, int*, int, int);
HRESULT rgb32_to_r16g16b16_sse(const BYTE*, SWORD**, SWORD**, SWORD**, int*, int, int*, int, int);
// The SSE2 column takes this one: twice the bytes a load.
HRESULT rgb32_to_r16g16b16_sse2(const BYTE*, SWORD**, SWORD**, SWORD**, int*, int, int*, int, int);

HRESULT SpliteUVImageToU_V_c(const SWORD*, SWORD*, SWORD*, int, int, int);
HRESULT SpliteUVImageToU_V_mmx(const SWORD*, SWORD*, SWORD*, int, int, int);
HRESULT SpliteUVImageToU_V_sse2(const SWORD*, SWORD*, SWORD*, int, int, int);
HRESULT JoinU_VImageToUV_c(SWORD*, const SWORD*, const SWORD*, int, int, int);
HRESULT JoinU_VImageToUV_mmx(SWORD*, const SWORD*, const SWORD*, int, int, int);
HRESULT JoinU_VImageToUV_sse2(SWORD*, const SWORD*, const SWORD*, int, int, int);

// ---- Conversions out of planes --------------------------------------------------------------

HRESULT r16g16b16_to_rgb32_c(const SWORD*, const SWORD*, const SWORD*, BYTE*, int, int, int*, int, int);
HRESULT r16g16b16_to_rgb32_mmx(const SWORD*, const SWORD*, const SWORD*, BYTE*, int, int, int*, int, int);
HRESULT r16g16b16_to_rgb32_sse2(const SWORD*, const SWORD*, const SWORD*, BYTE*, int, int, int*, int, int);
// One plain function for every processor mode.
HRESULT r16g16b16_to_rgb24(const SWORD*, const SWORD*, const SWORD*, BYTE*, int, int, int*, int, int);
HRESULT r16g16b16_to_rgb16_c(const SWORD*, const SWORD*, const SWORD*, BYTE*, int, int, int*, int, int, int);
HRESULT r16g16b16_to_rgb16_mmx(const SWORD*, const SWORD*, const SWORD*, BYTE*, int, int, int*, int, int, int);
HRESULT r16g16b16_to_rgb16_sse2(const SWORD*, const SWORD*, const SWORD*, BYTE*, int, int, int*, int, int, int);

HRESULT ConvertRGB24ToYUY2_c(BYTE*, const BYTE*, int, int, int, int);
HRESULT ConvertRGB24ToYUY2_mmx(BYTE*, const BYTE*, int, int, int, int);
HRESULT ConvertRGB24ToYUY2_sse2(BYTE*, const BYTE*, int, int, int, int);
// The picture loaders' form: overwrites the picture from its start with packed YUY2 rows
// (2 x width bytes each); U from the first pixel of a pair, V from the second.
HRESULT ConvertRGB24ToYUY2InPlace(BYTE* picture, int width, int height, int inputStride);

HRESULT ConvertY16UV16ToYUY2_c(const SWORD*, const SWORD*, int, BYTE*, int, int, int);
HRESULT ConvertY16UV16ToYUY2_mmx(const SWORD*, const SWORD*, int, BYTE*, int, int, int);
HRESULT ConvertY16UV16ToYUY2_sse2(const SWORD*, const SWORD*, int, BYTE*, int, int, int);
HRESULT ConvertY16ToYUY2_c(const SWORD*, int, BYTE*, int, int, int);
HRESULT ConvertY16ToYUY2_mmx(const SWORD*, int, BYTE*, int, int, int);
HRESULT ConvertY16ToYUY2_sse2(const SWORD*, int, BYTE*, int, int, int);

// ---- Rows -----------------------------------------------------------------------------------

// Repeats the start of every row in its padding (the bytes after bytesUsed up to the stride).
// 1 when there is no padding.
HRESULT FillRowPaddingSWORD(void* plane, int bytesUsed, int rows, int stride);
// Copies bytesPerRow of every row; a padded destination gets its padding filled.
HRESULT CopyPlaneSWORD(const void* source, void* destination, int bytesPerRow, int rows, int sourceStride,
                       int destinationStride);
// Moves rows to another stride; source and destination may be the same picture.
HRESULT ChangeRowStride(BYTE* destination, const BYTE* source, int bytesPerRow, int rows, int sourceStride,
                        int destinationStride);
// Moves the rows of a plane by n rows: n < 0 down, n > 0 up; the rows left behind keep their content.
HRESULT ShiftPlaneRows(void* plane, int rows, int stride, int n);

// Test drawing for the drawing-to-planes path: black, a green rectangle inset by 20 pixels and
// "COMPLEX TEST DRAWING" in red, centred.
HRESULT FunctConvertRGB32toR16G16B16Format(HDC context, int right, int bottom);

// ---- Operations with constants and between planes -------------------------------------------

// Unified form on plane A (plane B is only read). The lane mask chooses per word: all ones writes
// the result, zero leaves the word as it was. Constants and masks are
// vectors of 4 (MMX) or 8 (SSE2) words laid over each vector of the row; the plain variants lay
// them with a period of 4 words. Products keep their low 16 bits; >> is arithmetic. An operand an
// operation reads but is not given answers E_INVALIDARG. _sse2 is the fast kind for 16-byte aligned
// planes and strides (others take the any-alignment code rather than fault); the _sse2u twin takes
// any alignment.
#define SWORD_UNIF_VARIANT(name)                                                                            \
    HRESULT name(SWORD*, void*, const void*, void*, const SWORD*, int, int, int, int, int, const SWORD*, \
                 const SWORD*, int*)
#define SWORD_UNIF_VARIANTS(name)                                                                         \
    SWORD_UNIF_VARIANT(name##_c);                                                                         \
    SWORD_UNIF_VARIANT(name##_mmx);                                                                       \
    SWORD_UNIF_VARIANT(name##_sse2)
#define SWORD_UNIF_VARIANTS_AND_TWIN(name) \
    SWORD_UNIF_VARIANTS(name);             \
    SWORD_UNIF_VARIANT(name##_sse2u)

// With constants (constant 1 = K1, constant 2 = K2, count = the shift).
SWORD_UNIF_VARIANTS_AND_TWIN(AddConstSWORD);      // S(A + (K1 AND M))
SWORD_UNIF_VARIANTS_AND_TWIN(SubConstSWORD);      // S(A - (K1 AND M))
SWORD_UNIF_VARIANTS_AND_TWIN(MulConstSWORD);      // A * (K1 where M is not 0, else 1)
SWORD_UNIF_VARIANTS_AND_TWIN(MulShiftConstSWORD); // (A * K1) >> count, under M
SWORD_UNIF_VARIANTS_AND_TWIN(ContrastPivotSWORD); // S((S(A - K2) * K1) >> count + K2), every lane
SWORD_UNIF_VARIANTS(ContrastPivotMaskedSWORD);    // the same under M
SWORD_UNIF_VARIANTS_AND_TWIN(CmpGTConstSWORD);    // -1 where A > K1, else 0, under M
SWORD_UNIF_VARIANTS(ClampTo255SWORD);             // A limited to 0..255
// (|x - K1[0]| + |y - K1[1]|) >> count, x and y the 1-based column and row, saturating; the
// padding words get their columns' values. Answers -1 to the alignment query.
SWORD_UNIF_VARIANTS(DistancePatternSWORD);
SWORD_UNIF_VARIANTS_AND_TWIN(XorConstSWORD);    // A XOR K1, under M
SWORD_UNIF_VARIANTS_AND_TWIN(OrConstSWORD);     // A OR K1, under M
SWORD_UNIF_VARIANTS_AND_TWIN(AndNotConstSWORD); // (NOT A) AND K1, under M
SWORD_UNIF_VARIANTS_AND_TWIN(AndConstSWORD);    // A AND K1, under M
SWORD_UNIF_VARIANTS_AND_TWIN(SetConstSWORD);    // K1, under M

// Between planes; a shift is the 64-bit value constant 1 points to.
SWORD_UNIF_VARIANTS_AND_TWIN(AddPlaneSWORD);           // S(A + (B AND M))
SWORD_UNIF_VARIANTS_AND_TWIN(SubPlaneSWORD);           // S(A - (B AND M))
SWORD_UNIF_VARIANTS_AND_TWIN(MulPlaneSWORD);           // A * B, under M
SWORD_UNIF_VARIANTS_AND_TWIN(MulShiftPlaneSWORD);      // (A * B) >> shift, under M
SWORD_UNIF_VARIANTS_AND_TWIN(MulComplementShiftSWORD); // (A * S(K2 - B)) >> shift, under M
SWORD_UNIF_VARIANTS_AND_TWIN(AbsDiffSWORD);            // |A - B| of the words taken as unsigned, under M
SWORD_UNIF_VARIANTS_AND_TWIN(XorPlaneSWORD);           // A XOR B, under M
SWORD_UNIF_VARIANTS_AND_TWIN(OrPlaneSWORD);            // A OR B, under M
SWORD_UNIF_VARIANTS_AND_TWIN(AndNotPlaneSWORD);        // A AND (NOT B), under M
SWORD_UNIF_VARIANTS_AND_TWIN(AndPlaneSWORD);           // A AND B, under M
SWORD_UNIF_VARIANTS_AND_TWIN(CopyPlaneMaskedSWORD);    // B, under M

// Compare-and-add walks whole vectors only, rounding the row down, so a row's last partial vector
// is left alone; its MMX variants answer the alignment query with -1.
SWORD_UNIF_VARIANTS_AND_TWIN(CmpGTAddForSWord); // S(A + (B where B > K1, else 0)), under M
// S(A + ((A * ((B where B > K1, else 0) >> 1)) >> shift2)), shift2 the 64-bit value at constant 2
SWORD_UNIF_VARIANTS_AND_TWIN(CmpGTAddScaledForSWord);
SWORD_UNIF_VARIANTS(ThresholdSelectSWORD); // K2 where A > K1, else 0, under M; plane B unread

// Members of the toolkit's own build, in the aligned SSE2 kind and its any-alignment twin, with
// their plain references. Rows are walked in whole vectors, rounding up; shifts are the 64-bit
// value at constant 1.
SWORD_UNIF_VARIANT(ShiftRightConstSWORD_c); // A >> shift (logical), under M
SWORD_UNIF_VARIANT(bits_const_sword_funct_sse2_ShiftRight);
SWORD_UNIF_VARIANT(bits_const_sword_funct_sse2u_ShiftRight);
SWORD_UNIF_VARIANT(InvMulShiftPlaneSWORD_c); // (S(K2 - A) * B) >> shift, under M
SWORD_UNIF_VARIANT(add_sub_mull_sword_funct_sse2_InvMullShift);
SWORD_UNIF_VARIANT(add_sub_mull_sword_funct_sse2u_InvMullShift);
SWORD_UNIF_VARIANT(CmpGTAddValueForSWord_c); // S(A + (K2 where B > K1, else 0)), under M
SWORD_UNIF_VARIANT(CmpGTAddForSWord_sse2_TwoPlane);
SWORD_UNIF_VARIANT(CmpGTAddForSWord_sse2u_TwoPlane);
// The toolkit's names for existing members at any address: the masked pivot with a gain of 4
// words repeated (count = the shift), and the threshold select (rounding down as its family does).
SWORD_UNIF_VARIANT(add_sub_mull_const_sword_funct_sse2u_ScaleAroundPivot);
SWORD_UNIF_VARIANT(CmpGTAddForSWord_sse2u_OnePlane);

// ---- Resize and mirror ----------------------------------------------------------------------

// Nearest-neighbour resize into W8 (the destination width rounded up to 8) words per row; the
// columns past the destination width come from source column 0 unless the padding flag repeats
// the row's start there. A destination stride of 0 is chosen (and written back). A destination
// capacity (bytes) too small for the rows, a missing pointer or a size below 1 is refused before
// anything is written (E_UNEXPECTED, E_INVALIDARG); E_FAIL when the tables cannot be allocated.
using ResizeSwordFunction = HRESULT (*)(const SWORD* source, SWORD* destination, int sourceWidth,
                                        int sourceHeight, int sourceStride, int destinationWidth,
                                        int destinationHeight, int* destinationStride, int destinationCapacity,
                                        BYTE paddingFlag);
HRESULT resize_funct_sword_c(const SWORD*, SWORD*, int, int, int, int, int, int*, int, BYTE);
HRESULT resize_funct_sword_mmx(const SWORD*, SWORD*, int, int, int, int, int, int*, int, BYTE);
HRESULT resize_funct_sword_sse(const SWORD*, SWORD*, int, int, int, int, int, int*, int, BYTE);
HRESULT resize_funct_sword_sse2(const SWORD*, SWORD*, int, int, int, int, int, int*, int, BYTE);

// Unified form: plane A turned upside down in place, whole strides exchanged. E_UNEXPECTED for a
// stride below 2 x width; a height below 2 changes nothing. Answers -1 to the alignment query.
SWORD_UNIF_VARIANTS(YMirror_function);
SWORD_UNIF_VARIANT(YMirror_function_sse2u); // the same name for rows at any address

// ---- Gradient correction and gradient fill --------------------------------------------------

// Maps every word through a curve of at least 256 words (index = the word saturated to 0..255).
using GradientCorrectFunction = HRESULT (*)(SWORD* plane, int stride, int widthInWords, int height,
                                            const SWORD* curve, int curveEntries);
HRESULT GradientCorrectImage_c(SWORD*, int, int, int, const SWORD*, int);
HRESULT GradientCorrectImage_mmx(SWORD*, int, int, int, const SWORD*, int);
HRESULT GradientCorrectImage_sse(SWORD*, int, int, int, const SWORD*, int);
HRESULT GradientCorrectImage_sse2(SWORD*, int, int, int, const SWORD*, int);

// Unified form: plane A filled with a ramp; constant 1 = (base, change across the width, change
// down the height); stride A, width, height. Answers -1 to the alignment query.
HRESULT gradient_fill_sword_funct_c(SWORD*, void*, const void*, void*, const SWORD*, int, int, int, int, int,
                                    const SWORD*, const SWORD*, int*);
HRESULT gradient_fill_sword_funct_mmx(SWORD*, void*, const void*, void*, const SWORD*, int, int, int, int, int,
                                      const SWORD*, const SWORD*, int*);
HRESULT gradient_fill_sword_funct_sse2(SWORD*, void*, const void*, void*, const SWORD*, int, int, int, int, int,
                                       const SWORD*, const SWORD*, int*);
HRESULT gradient_fill_sword_funct_sse2u(SWORD*, void*, const void*, void*, const SWORD*, int, int, int, int, int,
                                        const SWORD*, const SWORD*, int*);

// ---- Matrix effect --------------------------------------------------------------------------

// Every whole 8 x 8 block of plane 1 (and of plane 2 when it and its templates are given) is
// matched against count templates of 64 words and blended towards the tile of the best match.
// Null tile sets or tiles leave their plane's blocks as they are; a null template is skipped.
using MatrixEffectFunction = HRESULT (*)(SWORD* plane1, SWORD* plane2, int stride, int widthInWords, int height,
                                         const SWORD* const* templates1, const SWORD* const* templates2,
                                         const SWORD* const* tiles1, const SWORD* const* tiles2, int count,
                                         SWORD intensity, SWORD threshold);
HRESULT MatrixEffectImage_c(SWORD*, SWORD*, int, int, int, const SWORD* const*, const SWORD* const*,
                            const SWORD* const*, const SWORD* const*, int, SWORD, SWORD);
HRESULT MatrixEffectImage_mmx(SWORD*, SWORD*, int, int, int, const SWORD* const*, const SWORD* const*,
                              const SWORD* const*, const SWORD* const*, int, SWORD, SWORD);
HRESULT MatrixEffectImage_sse2(SWORD*, SWORD*, int, int, int, const SWORD* const*, const SWORD* const*,
                               const SWORD* const*, const SWORD* const*, int, SWORD, SWORD);

// ---- Colour key and band generation ---------------------------------------------------------

// Unified form: under the lane mask plane A takes plane B wherever B is not 0; lanes outside the
// mask become 0.
HRESULT key_source_sword_funct_c(SWORD*, void*, const void*, void*, const SWORD*, int, int, int, int, int,
                                 const SWORD*, const SWORD*, int*);
HRESULT key_source_sword_funct_mmx(SWORD*, void*, const void*, void*, const SWORD*, int, int, int, int, int,
                                   const SWORD*, const SWORD*, int*);
HRESULT key_source_sword_funct_sse2(SWORD*, void*, const void*, void*, const SWORD*, int, int, int, int, int,
                                    const SWORD*, const SWORD*, int*);
HRESULT key_source_sword_funct_sse2u(SWORD*, void*, const void*, void*, const SWORD*, int, int, int, int, int,
                                     const SWORD*, const SWORD*, int*);

// Unified form: row y of plane A becomes, per lane, peak (constant 2) minus 2 (y - centre)^2
// (constant 1), unsigned saturating.
HRESULT GenerateImageFunct_c(SWORD*, void*, const void*, void*, const SWORD*, int, int, int, int, int,
                             const SWORD*, const SWORD*, int*);
HRESULT GenerateImageFunct_mmx(SWORD*, void*, const void*, void*, const SWORD*, int, int, int, int, int,
                               const SWORD*, const SWORD*, int*);
HRESULT GenerateImageFunct_sse2(SWORD*, void*, const void*, void*, const SWORD*, int, int, int, int, int,
                                const SWORD*, const SWORD*, int*);
HRESULT GenerateImageFunct_sse2u(SWORD*, void*, const void*, void*, const SWORD*, int, int, int, int, int,
                                 const SWORD*, const SWORD*, int*);

// ---- Hue correction -------------------------------------------------------------------------

// Rotation matrix (C, -S, S, C twice, in units of 1/4096) and the two 8-fraction-bit tables for an
// angle in degrees; the cosine table needs at least as many entries as the sine table.
HRESULT CreateTablesCorrectHue(DynamicBoundsObject<int32_t>& sineTable, DynamicBoundsObject<int32_t>& cosineTable,
                               StaticBoundsObject<SWORD, 8>& matrix, float degrees);

// Turns the chroma of a UV16 plane about its grey point 128, pair by pair, with the matrix that
// *matrix points to.
using CorrectHueFunction = HRESULT (*)(SWORD* planeUV, const SWORD* const* matrix, int stride, int widthInWords,
                                       int height);
HRESULT CorrectHue_c(SWORD*, const SWORD* const*, int, int, int);
HRESULT CorrectHue_mmx(SWORD*, const SWORD* const*, int, int, int);
HRESULT CorrectHue_sse(SWORD*, const SWORD* const*, int, int, int);
HRESULT CorrectHue_sse2(SWORD*, const SWORD* const*, int, int, int);

// ---- Neighbourhood filters, noise removal and measurements ----------------------------------

// Kernels (9 words, row by row) and small parameter lists are read through the checked access of
// a bounded array: a short one makes the operation log and answer E_FAIL.
using SwordWords = DynamicBoundsObject<SWORD>;

// 3 x 3 convolution of planes laid out for it (8 margin words left and right, one guard row above
// and below; width and height include them): rows 1 to height - 2, whole vectors from column 8
// covering width - 16 words; sum in 32 bits saturated to 16, times scale >> 14, saturated. Both
// convolution entries use it. E_UNEXPECTED for a null plane.
using ConvolutionFunction = HRESULT (*)(const SWORD* source, SWORD* destination, int stride, int width, int height,
                                        const SwordWords& kernel, SWORD scale);
HRESULT Svertka_c(const SWORD*, SWORD*, int, int, int, const SwordWords&, SWORD);
HRESULT Svertka_mmx(const SWORD*, SWORD*, int, int, int, const SwordWords&, SWORD);
HRESULT Svertka_sse2(const SWORD*, SWORD*, int, int, int, const SwordWords&, SWORD);

// The same with kernel A where the condition word is below the threshold (signed), else kernel B.
using ConditionalConvolutionFunction = HRESULT (*)(const SWORD* source, SWORD* destination, const SWORD* condition,
                                                   int stride, int width, int height, SWORD scale,
                                                   const SwordWords& kernelA, const SwordWords& kernelB,
                                                   SWORD threshold);
HRESULT ConditionSvertka_c(const SWORD*, SWORD*, const SWORD*, int, int, int, SWORD, const SwordWords&,
                           const SwordWords&, SWORD);
HRESULT ConditionSvertka_mmx(const SWORD*, SWORD*, const SWORD*, int, int, int, SWORD, const SwordWords&,
                             const SwordWords&, SWORD);
HRESULT ConditionSvertka_sse2(const SWORD*, SWORD*, const SWORD*, int, int, int, SWORD, const SwordWords&,
                              const SwordWords&, SWORD);

// Unified form, in place on plane A (stride A, height), strength = constant 1's first word; the
// run covers (height - 2) x stride bytes from row 1 in whole vectors, and each word sees only the
// neighbours in its own vector group (8 words in the plain and SSE2 code, 4 in MMX). E_FAIL for a
// height below 4; E_UNEXPECTED for a strength whose weight would divide by 0 or less (blur:
// K <= -5, sharpen: K <= -3). Answer -1 to the alignment query.
HRESULT blure_const_sword_funct_c(SWORD*, void*, const void*, void*, const SWORD*, int, int, int, int, int,
                                  const SWORD*, const SWORD*, int*);
HRESULT blure_const_sword_funct_mmx(SWORD*, void*, const void*, void*, const SWORD*, int, int, int, int, int,
                                    const SWORD*, const SWORD*, int*);
HRESULT blure_const_sword_funct_sse2(SWORD*, void*, const void*, void*, const SWORD*, int, int, int, int, int,
                                     const SWORD*, const SWORD*, int*);
HRESULT sharp_const_sword_funct_c(SWORD*, void*, const void*, void*, const SWORD*, int, int, int, int, int,
                                  const SWORD*, const SWORD*, int*);
HRESULT sharp_const_sword_funct_mmx(SWORD*, void*, const void*, void*, const SWORD*, int, int, int, int, int,
                                    const SWORD*, const SWORD*, int*);
HRESULT sharp_const_sword_funct_sse2(SWORD*, void*, const void*, void*, const SWORD*, int, int, int, int, int,
                                     const SWORD*, const SWORD*, int*);
// Unified form: plane A = edge image of plane B (strides A and B), rows 1 to height - 2, the first
// width / 8 x 8 words of each. The SSE2 variant stores past the caches when the rows of plane A
// start on 16-byte boundaries and it shares no byte with plane B.
HRESULT edge_image_sword_funct_c(SWORD*, void*, const void*, void*, const SWORD*, int, int, int, int, int,
                                 const SWORD*, const SWORD*, int*);
HRESULT edge_image_sword_funct_mmx(SWORD*, void*, const void*, void*, const SWORD*, int, int, int, int, int,
                                   const SWORD*, const SWORD*, int*);
HRESULT edge_image_sword_funct_sse2(SWORD*, void*, const void*, void*, const SWORD*, int, int, int, int, int,
                                    const SWORD*, const SWORD*, int*);

// Temporal noise removal: every word of plane A blended with plane B by a weight k in 1/128
// (k of A, 128 - k of B) chosen from their difference; the result goes into both planes. The
// vector code walks whole vectors of each row. E_UNEXPECTED for a null plane or a size that is not
// positive (or a stride below the width).
using RemoveNoiseFunction = HRESULT (*)(SWORD* planeA, SWORD* planeB, int stride, int width, int height,
                                        SWORD threshold, SWORD weightSmall, SWORD weightLarge);
HRESULT RemoveAddNoiseFromImage_c(SWORD*, SWORD*, int, int, int, SWORD, SWORD, SWORD);
HRESULT RemoveAddNoiseFromImage_mmx(SWORD*, SWORD*, int, int, int, SWORD, SWORD, SWORD);
HRESULT RemoveAddNoiseFromImage_sse2(SWORD*, SWORD*, int, int, int, SWORD, SWORD, SWORD);
// thresholds (T1, T2), weights (k0, k1, k2): k = k0 + k1 where d > T1 + k2 where d > T2.
using RemoveNoise2Function = HRESULT (*)(SWORD* planeA, SWORD* planeB, int stride, int width, int height,
                                         const SwordWords& thresholds, const SwordWords& weights);
HRESULT RemoveAddNoiseFromImage2_c(SWORD*, SWORD*, int, int, int, const SwordWords&, const SwordWords&);
HRESULT RemoveAddNoiseFromImage2_mmx(SWORD*, SWORD*, int, int, int, const SwordWords&, const SwordWords&);
HRESULT RemoveAddNoiseFromImage2_sse2(SWORD*, SWORD*, int, int, int, const SwordWords&, const SwordWords&);
// As version 2, but k = the condition weight's first word wherever the condition plane's word is
// above the condition threshold's first word.
using RemoveNoise3Function = HRESULT (*)(SWORD* planeA, SWORD* planeB, const SWORD* condition, int stride,
                                         int width, int height, const SwordWords& thresholds,
                                         const SwordWords& weights, const SwordWords& conditionThreshold,
                                         const SwordWords& conditionWeight);
HRESULT RemoveAddNoiseFromImage3_c(SWORD*, SWORD*, const SWORD*, int, int, int, const SwordWords&,
                                   const SwordWords&, const SwordWords&, const SwordWords&);
HRESULT RemoveAddNoiseFromImage3_mmx(SWORD*, SWORD*, const SWORD*, int, int, int, const SwordWords&,
                                     const SwordWords&, const SwordWords&, const SwordWords&);
HRESULT RemoveAddNoiseFromImage3_sse2(SWORD*, SWORD*, const SWORD*, int, int, int, const SwordWords&,
                                      const SwordWords&, const SwordWords&, const SwordWords&);

// 256 counters of the words saturated to 0..255, counting whole vectors of each row (8 words in
// the plain and SSE2 code, 4 in MMX). E_UNEXPECTED for null pointers, sizes that are not positive,
// a stride below the width or fewer than 256 counters.
using HistogramFunction = HRESULT (*)(const SWORD* plane, int stride, int width, int height, uint32_t* counters,
                                      int counterCount);
HRESULT GetGistogramFromImage_c(const SWORD*, int, int, int, uint32_t*, int);
HRESULT GetGistogramFromImage_mmx(const SWORD*, int, int, int, uint32_t*, int);
HRESULT GetGistogramFromImage_sse2(const SWORD*, int, int, int, uint32_t*, int);

// Unified form: plane A = block averages of plane B (strides A and B, width and height of B),
// extra output = the mean of the averages (unsigned 32-bit; may be null). 8 x 8 blocks, or 2 x 2
// blocks of a Y16 plane or of UV16 chroma pairs (half width, half height). E_FAIL when width x
// height is below 64 or no whole block fits; E_INVALIDARG for a null plane B.
HRESULT Average8x8SWord_c(SWORD*, void*, const void*, void*, const SWORD*, int, int, int, int, int, const SWORD*,
                          const SWORD*, int*);
HRESULT Average8x8SWord_mmx(SWORD*, void*, const void*, void*, const SWORD*, int, int, int, int, int, const SWORD*,
                            const SWORD*, int*);
HRESULT Average8x8SWord_sse2(SWORD*, void*, const void*, void*, const SWORD*, int, int, int, int, int,
                             const SWORD*, const SWORD*, int*);
HRESULT Average2x2Y16SWord_c(SWORD*, void*, const void*, void*, const SWORD*, int, int, int, int, int,
                             const SWORD*, const SWORD*, int*);
HRESULT Average2x2Y16SWord_mmx(SWORD*, void*, const void*, void*, const SWORD*, int, int, int, int, int,
                               const SWORD*, const SWORD*, int*);
// The SSE-integer mean of a step rounds up: (a + b + 1) >> 1.
HRESULT Average2x2Y16SWord_sse(SWORD*, void*, const void*, void*, const SWORD*, int, int, int, int, int,
                               const SWORD*, const SWORD*, int*);
HRESULT Average2x2Y16SWord_sse2(SWORD*, void*, const void*, void*, const SWORD*, int, int, int, int, int,
                                const SWORD*, const SWORD*, int*);
HRESULT Average2x2UV16SWord_c(SWORD*, void*, const void*, void*, const SWORD*, int, int, int, int, int,
                              const SWORD*, const SWORD*, int*);
HRESULT Average2x2UV16SWord_mmx(SWORD*, void*, const void*, void*, const SWORD*, int, int, int, int, int,
                                const SWORD*, const SWORD*, int*);
HRESULT Average2x2UV16SWord_sse(SWORD*, void*, const void*, void*, const SWORD*, int, int, int, int, int,
                                const SWORD*, const SWORD*, int*);
HRESULT Average2x2UV16SWord_sse2(SWORD*, void*, const void*, void*, const SWORD*, int, int, int, int, int,
                                 const SWORD*, const SWORD*, int*);

// ---- The 35-entry operation table -----------------------------------------------------------

// The table's columns are the processor kernel sets; SelectProcessorKernelSet picks one for a mode.
using SwordColumn = ProcessorKernelSet;

// Entry order is fixed: the correction filter keeps these 35 pointers in its object.
struct OptimFunctionTableSWORD
{
    UnifSwordFunction addConstant;               // 0
    UnifSwordFunction sharpen;                   // 1
    UnifSwordFunction blur;                      // 2
    UnifSwordFunction yuy2ToY16UV16;             // 3
    UnifSwordFunction contrastAboutPivot;        // 4
    UnifSwordFunction clampTo255;                // 5
    UnifSwordFunction average8x8;                // 6
    UnifSwordFunction average2x2Y16;             // 7
    UnifSwordFunction average2x2UV16;            // 8
    UnifSwordFunction y8ToY16;                   // 9
    UnifSwordFunction edgeImage;                 // 10
    UnifSwordFunction addWhereAboveThreshold;    // 11
    HistogramFunction histogram;                 // 12
    UnifSwordFunction andConstant;               // 13
    GradientCorrectFunction gradientCorrection;  // 14
    RemoveNoiseFunction removeNoise1;            // 15
    RemoveNoise2Function removeNoise2;           // 16
    SplitUVFunction splitUV;                     // 17
    JoinUVFunction joinUV;                       // 18
    UnifSwordFunction absoluteDifference;        // 19
    Rgb32ToPlanesFunction rgb32ToR16G16B16;      // 20
    UnifSwordFunction mirrorTopToBottom;         // 21
    PlanesToRgbFunction r16g16b16ToRgb24;        // 22
    Rgb24ToYuy2Function rgb24ToYuy2;             // 23
    UnifSwordFunction yuy2ToY16UV16ForBitmaps;   // 24
    MatrixEffectFunction matrixEffect;           // 25
    UnifSwordFunction compareGreater;            // 26
    UnifSwordFunction thresholdSelect;           // 27
    ConvolutionFunction convolution1;            // 28
    ConvolutionFunction convolution2;            // 29
    ConditionalConvolutionFunction conditionalConvolution; // 30
    RemoveNoise3Function removeNoise3;           // 31
    ResizeSwordFunction resize;                  // 32
    UnifSwordFunction setConstant;               // 33
    CorrectHueFunction correctHue;               // 34
};
static_assert(sizeof(OptimFunctionTableSWORD) == 35 * sizeof(void*), "35 consecutive operation pointers");

// Writes all 35 entries of the column SelectProcessorKernelSet gives the mode, so the table never
// holds code the processor cannot run.
void FillOptimFunctionTableSWORD(OptimFunctionTableSWORD& table, uint32_t processorMode);
// One column as it is; callers that already chose a column (or a test that wants the plain
// reference) take it from here.
const OptimFunctionTableSWORD& GetOptimFunctionTableSWORD(SwordColumn column);

