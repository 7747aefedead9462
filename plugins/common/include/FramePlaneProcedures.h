// Plane procedures shared by the filters that work on a frame's child planes (FrameChildPlanes.h):
// scaling an interleaved chroma plane, and rebuilding the reduced copies of levels 1 to 3. Each
// filter hands in the kernels of its own processor mode, so the same code serves all of them.
#pragma once

#include "FrameChildPlanes.h"
#include "OptimFunctionUnifProcessSWORD.h"

#include <cstdint>

// The SWORD kernels the procedures call.
struct FramePlaneKernels
{
    UnifSwordFunction averageLuma = nullptr;   // 2 x 2 averages of a Y16 plane, with their mean
    UnifSwordFunction averageChroma = nullptr; // 2 x 2 averages of the pairs of a UV16 plane
    ResizeSwordFunction resize = nullptr;
};
FramePlaneKernels GetFramePlaneKernels(const OptimFunctionTableSWORD& table);

// Where a scaled picture lies in its target plane: the plane's size, the picture's size and its
// top-left corner (in samples; even, so chroma pairs stay pairs). A picture that leaves part of
// the plane uncovered gets a grey border.
struct PlaneFit
{
    int targetWidth = 0;
    int targetHeight = 0;
    int width = 0;
    int height = 0;
    int x = 0;
    int y = 0;
};
// The picture fills the whole target.
PlaneFit FitWholePlane(int width, int height);

// Scales the UV16 plane source into target as the fit places it, U and V apart so that a sample
// never takes its neighbour's colour: each target pair is the source pair that holds the column
// the nearest-neighbour resize picks, as splitting the plane, resizing U and V and joining them
// gives it, in one pass. target ends up sized targetWidth x targetHeight; source and target may be
// the same plane, the source is then first copied into inPlaceCopy. 1 and nothing changed when a
// plane is missing (inPlaceCopy only when it is needed) or the source is empty; E_FAIL (logged)
// when the picture would not lie inside the target.
HRESULT ResizeUVBuffer(InfoDataBufferPath1* source, InfoDataBufferPath1* target, InfoDataBufferPath1* inPlaceCopy,
                       const PlaneFit& fit);

// The plane takes the layout of another plane (its description, stride and at least its block) at
// a smaller size, as the reduced copies are laid out; a plane that keeps one layout from frame to
// frame keeps its block. Lets the integer 241 out when the two are the same plane.
HRESULT TakePlaneLayout(InfoDataBufferPath1& plane, const InfoDataBufferPath1& from, int width, int height);

// Rebuilds the luma and chroma planes of levels 1 to 3 from the full-size ones by 2 x 2 averages,
// each level from the one above, and gives the output planes of the four levels their size. The
// sizes come from the full-size planes. A level whose source has fewer than 64 samples is sized
// but not averaged. averageLevel (may be null) receives the mean of the first luma reduction
// (0 to 255 for a picture of 8-bit samples). 1 and nothing changed when the full-size luma plane or a level's luma plane is missing;
// chroma is rebuilt only when the frame has all four chroma planes.
HRESULT CreateSmallCopyFrames(const FramePlaneKernels& kernels, InfoDataBufferPath1& frame,
                              uint32_t* averageLevel = nullptr);
