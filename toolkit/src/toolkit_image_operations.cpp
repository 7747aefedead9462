// Polylines, the general convolution and the one-pixel hue, saturation and lightness conversions.
#include "ToolkitImageOperations.h"

#include "CatchAllLog.h"
#include "ToolkitHslRows.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

SWORD* SampleAt(SWORD* plane, int stride, int x, int y)
{
    return reinterpret_cast<SWORD*>(reinterpret_cast<BYTE*>(plane) + static_cast<ptrdiff_t>(y) * stride) + x;
}

void Put(SWORD* sample, SWORD value, bool add)
{
    *sample = add ? static_cast<SWORD>(static_cast<uint16_t>(*sample) + static_cast<uint16_t>(value)) : value;
}

struct Plane
{
    SWORD* samples;
    int stride;
    int width;
    int height;
};

// One segment stepped along its longer axis (the stepping one); the cross coordinate runs as a
// float by the slope. Stepping onto the bound of the picture ends the segment; a cross coordinate
// outside it fails.
HRESULT DrawSegment(const Plane& plane, SwordPointF a, SwordPointF b, int steps, bool byRows, SWORD value, bool add)
{
    // A is the point nearer the start of the stepping axis; the second one on a tie.
    if (byRows ? b.m_y <= a.m_y : b.m_x <= a.m_x)
        std::swap(a, b);
    const float stepScale = static_cast<float>(byRows ? plane.height - 1 : plane.width - 1);
    const float crossScale = static_cast<float>(byRows ? plane.width - 1 : plane.height - 1);
    const float stepFrom = byRows ? a.m_y : a.m_x, stepTo = byRows ? b.m_y : b.m_x;
    const float crossFrom = byRows ? a.m_x : a.m_y, crossTo = byRows ? b.m_x : b.m_y;
    const int stepBound = byRows ? plane.height : plane.width;
    const int crossBound = byRows ? plane.width : plane.height;
    const float slope = (crossScale * (crossTo - crossFrom)) / (stepScale * (stepTo - stepFrom));
    float cross = crossScale * crossFrom;
    const int first = static_cast<int>(stepScale * stepFrom);
    const int last = static_cast<int>(stepScale * stepFrom + static_cast<float>(steps));
    for (int step = first; step <= last; ++step, cross += slope) {
        if (step == stepBound)
            return S_OK;
        if (!(cross >= 0.0f && cross < static_cast<float>(crossBound)) || step < 0 || step > stepBound) {
            LOG_TEXT("drawlines_sword_funct::point outside the plane");
            return E_FAIL;
        }
        const int crossIndex = static_cast<int>(cross);
        Put(byRows ? SampleAt(plane.samples, plane.stride, crossIndex, step)
                   : SampleAt(plane.samples, plane.stride, step, crossIndex),
            value, add);
    }
    return S_OK;
}

} // namespace

HRESULT drawlines_sword_funct(SWORD* plane, int stride, int width, int height, const SwordPointList& points,
                              int count, SWORD value, uint8_t add)
{
    try {
        if (plane == nullptr)
            return E_INVALIDARG;
        if (stride < 1 || width < 1 || height < 1 || stride < 2 * static_cast<int64_t>(width) || count < 2 ||
            static_cast<uint32_t>(count) > points.GetCount())
            return E_UNEXPECTED;
        const Plane target{plane, stride, width, height};
        for (int i = 0; i + 1 < count; ++i) {
            const SwordPointF a = points.GetElement(i), b = points.GetElement(i + 1);
            if (a.m_x == b.m_x && a.m_y == b.m_y)
                continue;
            const float dx = std::fabs(b.m_x - a.m_x), dy = std::fabs(b.m_y - a.m_y);
            if (!(dx <= 1.0f && dy <= 1.0f))
                return E_UNEXPECTED;
            const int nx = static_cast<int>(static_cast<float>(width) * dx);
            const int ny = static_cast<int>(static_cast<float>(height) * dy);
            if (nx > width || ny > height)
                return E_UNEXPECTED;
            if (nx == 0 && ny == 0)
                continue;
            const HRESULT drawn = ny > nx ? DrawSegment(target, a, b, ny, true, value, add != 0)
                                          : DrawSegment(target, a, b, nx, false, value, add != 0);
            if (drawn != S_OK)
                return drawn;
        }
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT SvertkaGeneral(const SWORD* source, SWORD* destination, int stride, int width, int height,
                       const SwordWords& kernel, uint32_t kernelWidth, uint32_t kernelHeight)
{
    try {
        if (source == nullptr || destination == nullptr)
            return E_INVALIDARG;
        if (width < 1 || height < 1 || stride < 2 * static_cast<int64_t>(width) || kernelWidth < 1 ||
            kernelHeight < 1 || kernelWidth > 0x8000 || kernelHeight > 0x8000)
            return E_UNEXPECTED;
        const int kw = static_cast<int>(kernelWidth), kh = static_cast<int>(kernelHeight);
        int32_t norm = 0;
        for (int i = 0; i < kw * kh; ++i)
            norm += std::abs(static_cast<int32_t>(kernel.GetElement(i)));
        if (norm == 0)
            return E_FAIL;
        SWORD* const sourceWords = const_cast<SWORD*>(source);
        for (int y = 0; y < height; ++y) {
            const int kyFirst = std::max(0, kh / 2 - y), kyEnd = kh - std::max(0, y - (height - 1 - kh / 2));
            for (int x = 0; x < width; ++x) {
                const int kxFirst = std::max(0, kw / 2 - x), kxEnd = kw - std::max(0, x - (width - 1 - kw / 2));
                int32_t sum = 0;
                for (int ky = kyFirst; ky < kyEnd; ++ky)
                    for (int kx = kxFirst; kx < kxEnd; ++kx)
                        sum = static_cast<int32_t>(static_cast<uint32_t>(sum) +
                                                   static_cast<uint32_t>(
                                                       *SampleAt(sourceWords, stride, x + kx - kw / 2, y + ky - kh / 2) *
                                                       kernel.GetElement(ky * kw + kx)));
                *SampleAt(destination, stride, x, y) = static_cast<SWORD>(std::llabs(static_cast<int64_t>(sum)) / norm);
            }
        }
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT RGBToHSL(const BYTE* red, const BYTE* green, const BYTE* blue, float* hue, float* saturation,
                 float* lightness)
{
    try {
        if (red == nullptr || green == nullptr || blue == nullptr || hue == nullptr || saturation == nullptr ||
            lightness == nullptr)
            return E_INVALIDARG;
        const float r = *red / 255.0f, g = *green / 255.0f, b = *blue / 255.0f;
        const float maximum = std::max({r, g, b}), minimum = std::min({r, g, b});
        const float delta = maximum - minimum;
        *lightness = (maximum + minimum) / 2.0f;
        *hue = 0.0f;
        *saturation = 0.0f;
        if (delta == 0.0f)
            return S_OK;
        *saturation = *lightness < 0.5f ? delta / (maximum + minimum) : delta / (2.0f - maximum - minimum);
        const auto distance = [&](float channel) { return ((maximum - channel) / 6.0f + delta / 2.0f) / delta; };
        const float dR = distance(r), dG = distance(g), dB = distance(b);
        float h = r == maximum ? dB - dG : g == maximum ? 1.0f / 3.0f + dR - dB : 2.0f / 3.0f + dG - dR;
        if (h < 0.0f)
            h += 1.0f;
        if (h > 1.0f)
            h -= 1.0f;
        *hue = h;
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

float HueToRGB(const float* m1, const float* m2, float* h)
{
    try {
        if (m1 == nullptr || m2 == nullptr || h == nullptr)
            return 0.0f;
        if (*h < 0.0f)
            *h += 1.0f;
        if (*h > 1.0f)
            *h -= 1.0f;
        if (6.0f * *h < 1.0f)
            return *m1 + (*m2 - *m1) * 6.0f * *h;
        if (2.0f * *h < 1.0f)
            return *m2;
        if (3.0f * *h < 2.0f)
            return *m1 + (*m2 - *m1) * (2.0f / 3.0f - *h) * 6.0f;
        return *m1;
    }
    CATCH_ALL_RETURN(0.0f)
}

HRESULT HSLToRGB(BYTE* red, BYTE* green, BYTE* blue, const float* hue, const float* saturation,
                 const float* lightness)
{
    try {
        if (red == nullptr || green == nullptr || blue == nullptr || hue == nullptr || saturation == nullptr ||
            lightness == nullptr)
            return E_INVALIDARG;
        const float l = *lightness, s = *saturation;
        if (s == 0.0f) {
            *red = *green = *blue = static_cast<BYTE>(l * 255.0f);
            return S_OK;
        }
        const float m2 = l < 0.5f ? l * (1.0f + s) : (l + s) - s * l;
        const float m1 = 2.0f * l - m2;
        float hueRed = *hue + 1.0f / 3.0f, hueGreen = *hue, hueBlue = *hue - 1.0f / 3.0f;
        *red = static_cast<BYTE>(255.0f * HueToRGB(&m1, &m2, &hueRed));
        *green = static_cast<BYTE>(255.0f * HueToRGB(&m1, &m2, &hueGreen));
        *blue = static_cast<BYTE>(255.0f * HueToRGB(&m1, &m2, &hueBlue));
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT ConvertRGB24ToHSLPlanes(const BYTE* source, int sourceStride, int width, int height, int, uint16_t* hue,
                                uint16_t* saturation, uint16_t* lightness, int* planeStride, int)
{
    try {
        const HslPictureLayout layout{sourceStride, planeStride, width, height, 1};
        const HRESULT checked = CheckHslPicture(source, hue, saturation, lightness, layout);
        if (checked != S_OK)
            return checked;
        for (int y = 0; y < height; ++y) {
            const BYTE* pixels = source + static_cast<ptrdiff_t>(y) * sourceStride;
            HslRow row = HslRowAt(hue, saturation, lightness, *planeStride, y);
            for (int x = 0; x < width; ++x) {
                float h = 0, s = 0, l = 0;
                RGBToHSL(&pixels[3 * x + 2], &pixels[3 * x + 1], &pixels[3 * x], &h, &s, &l);
                row.hue[x] = static_cast<uint16_t>(h * 255.0f);
                row.saturation[x] = static_cast<uint16_t>(s * 255.0f);
                row.lightness[x] = static_cast<uint16_t>(l * 255.0f);
            }
        }
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT ConvertHSLPlanesToRGB24(const uint16_t* hue, const uint16_t* saturation, const uint16_t* lightness,
                                int width, int height, int planeStride, int, BYTE* destination,
                                int* destinationStride, int)
{
    try {
        const HslPictureLayout layout{planeStride, destinationStride, width, height, 1};
        const HRESULT checked = CheckRgbPicture(destination, hue, saturation, lightness, layout);
        if (checked != S_OK)
            return checked;
        for (int y = 0; y < height; ++y) {
            BYTE* pixels = destination + static_cast<ptrdiff_t>(y) * *destinationStride;
            const HslRow row = HslRowAt(const_cast<uint16_t*>(hue), const_cast<uint16_t*>(saturation),
                                        const_cast<uint16_t*>(lightness), planeStride, y);
            for (int x = 0; x < width; ++x) {
                const float h = row.hue[x] / 255.0f, s = row.saturation[x] / 255.0f, l = row.lightness[x] / 255.0f;
                HSLToRGB(&pixels[3 * x + 2], &pixels[3 * x + 1], &pixels[3 * x], &h, &s, &l);
            }
        }
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT QuantizeHueRGB24(BYTE* picture, int stride, int width, int height, int)
{
    // Fractions of a turn; the last two are out of order, and no wrap-around is looked at.
    static constexpr float Hues[] = {0.0f,           25.0f / 360.0f,  55.0f / 360.0f,  75.0f / 360.0f,
                                     95.0f / 360.0f, 140.0f / 360.0f, 170.0f / 360.0f, 200.0f / 360.0f,
                                     220.0f / 360.0f, 250.0f / 360.0f, 1.0f / 3.0f,     2.0f / 3.0f};
    try {
        if (picture == nullptr)
            return E_INVALIDARG;
        if (width < 1 || height < 1 || stride < 3 * static_cast<int64_t>(width))
            return E_UNEXPECTED;
        for (int y = 0; y < height; ++y) {
            BYTE* pixels = picture + static_cast<ptrdiff_t>(y) * stride;
            for (int x = 0; x < width; ++x) {
                BYTE* pixel = pixels + 3 * x;
                float h = 0, s = 0, l = 0;
                RGBToHSL(&pixel[2], &pixel[1], &pixel[0], &h, &s, &l);
                float nearest = Hues[0];
                for (float entry : Hues)
                    if (std::fabs(h - entry) < std::fabs(h - nearest))
                        nearest = entry;
                HSLToRGB(&pixel[2], &pixel[1], &pixel[0], &nearest, &s, &l);
            }
        }
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}
