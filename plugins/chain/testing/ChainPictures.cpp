#include "ChainPictures.h"

#include <cstddef>

int BlockLeft(int width, int frame)
{
    const int step = width / 10 & ~1;
    return frame * step % (width - step);
}

int StripeColumn(int width, int stripe)
{
    return (2 * stripe + 1) * width / 8 & ~1;
}

namespace {

void PutPair(uint8_t* at, const Yuv& colour)
{
    at[0] = static_cast<uint8_t>(colour.y);
    at[1] = static_cast<uint8_t>(colour.u);
    at[2] = static_cast<uint8_t>(colour.y);
    at[3] = static_cast<uint8_t>(colour.v);
}

} // namespace

std::vector<uint8_t> MakeChainPicture(int width, int height, int frame, bool mirrored)
{
    std::vector<uint8_t> rows(static_cast<size_t>(2 * width * height));
    const int bandTop = 3 * height / 8;
    const int bandBottom = 5 * height / 8;
    const int blockLeft = BlockLeft(width, frame);
    const int blockRight = blockLeft + width / 10;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; x += 2) {
            const bool band = y >= bandTop && y < bandBottom;
            const bool block = band && y >= bandTop + height / 16 && y < bandBottom - height / 16 && x >= blockLeft &&
                               x < blockRight;
            const Yuv& colour = block ? kBlock : band ? kBandGrey : StripeColour(x * 4 / width, mirrored);
            PutPair(&rows[static_cast<size_t>(2 * (y * width + x))], colour);
        }
    return rows;
}
