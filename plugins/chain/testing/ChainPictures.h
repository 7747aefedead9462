// The pictures of the generated sources the mixer path is tested and timed with: four flat colour
// stripes, with a grey band across the middle where a bright block moves from frame to frame.
#pragma once

#include <cstdint>
#include <vector>

struct Yuv
{
    int y, u, v;
};

// The stripes of every generated picture, left to right; the middle band is grey with the block.
inline constexpr Yuv kStripes[4] = {{40, 100, 160}, {100, 160, 90}, {170, 60, 200}, {220, 128, 128}};
inline constexpr Yuv kBandGrey = {128, 128, 128};
inline constexpr Yuv kBlock = {235, 128, 128};

// YUY2 rows, top first, of frame n of the generated source; the stripes in reverse order when
// mirrored, so that a second source's picture tells itself apart.
std::vector<uint8_t> MakeChainPicture(int width, int height, int frame, bool mirrored = false);
inline const Yuv& StripeColour(int stripe, bool mirrored) { return kStripes[mirrored ? 3 - stripe : stripe]; }
// The block's left column in frame n.
int BlockLeft(int width, int frame);
// The centre column of stripe k, even, and a row inside the stripes above the band.
int StripeColumn(int width, int stripe);
inline int StripeRow(int height) { return height / 8; }
