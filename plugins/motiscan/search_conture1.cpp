#include "search_conture1.h"

#include "CatchAllLog.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr uint32_t kContourStep = 32;
// Outline points whose distance from the last kept point departs this much from the path walked
// since (both squared) mark a turn.
constexpr float kTurnTolerance = 0.002f;

int16_t* RowOf(const ContourPlane& plane, int y)
{
    return reinterpret_cast<int16_t*>(reinterpret_cast<BYTE*>(plane.data) + static_cast<ptrdiff_t>(y) * plane.stride);
}

bool IsOnBorder(const ContourPlane& plane, int x, int y)
{
    return x <= 0 || y <= 0 || x >= plane.width - 1 || y >= plane.height - 1;
}

HRESULT CheckPlanes(const ContourPlane& plane, const ContourPlane& zone)
{
    if (plane.data == nullptr || zone.data == nullptr)
        return E_INVALIDARG;
    if (plane.width < 3 || plane.height < 3 || static_cast<int64_t>(plane.stride) < 2 * int64_t{plane.width} ||
        static_cast<int64_t>(zone.stride) < 2 * int64_t{zone.width} || zone.width < plane.width ||
        zone.height < plane.height)
        return E_UNEXPECTED;
    return S_OK;
}

// Depth-first fill over the 8 neighbours from an interior seed at the region's top row: clears
// every sample of the region and records each row's leftmost and rightmost column (rows counted
// from the top). E_UNEXPECTED when the region reaches the border.
HRESULT FillRegion(const ContourPlane& plane, int seedX, int top, ContourSearchWork& work, int* rows)
{
    std::fill(work.left.begin(), work.left.end(), plane.width - 1);
    std::fill(work.right.begin(), work.right.end(), 1);
    *rows = 1;
    std::vector<int32_t>& pending = work.pending;
    pending.clear();
    RowOf(plane, top)[seedX] = 0;
    pending.push_back(seedX);
    pending.push_back(top);
    while (!pending.empty()) {
        const int y = pending.back();
        pending.pop_back();
        const int x = pending.back();
        pending.pop_back();
        const int k = y - top;
        if (k < 0)
            return E_UNEXPECTED;
        work.left[k] = std::min(work.left[k], x);
        work.right[k] = std::max(work.right[k], x);
        *rows = std::max(*rows, k + 1);
        for (int ny = y - 1; ny <= y + 1; ++ny) {
            int16_t* row = RowOf(plane, ny);
            for (int nx = x - 1; nx <= x + 1; ++nx) {
                if (row[nx] == 0)
                    continue;
                if (IsOnBorder(plane, nx, ny))
                    return E_UNEXPECTED;
                row[nx] = 0;
                pending.push_back(nx);
                pending.push_back(ny);
            }
        }
    }
    return S_OK;
}

float SquaredDistance(const InfoCountorePoint& a, const InfoCountorePoint& b)
{
    const float dx = a.m_x - b.m_x;
    const float dy = a.m_y - b.m_y;
    return dx * dx + dy * dy;
}

// Keeps the points where the outline turns and closes it with a copy of its first point.
void ThinOutline(const std::vector<InfoCountorePoint>& outline, DynamicBoundsObject<InfoCountorePoint>& kept,
                 std::vector<InfoCountorePoint>& scratch)
{
    // Built in the scratch vector, so the record's list is sized once.
    scratch.clear();
    if (!outline.empty()) {
        scratch.push_back(outline[0]);
        float walked = 0.0f;
        for (size_t i = 1; i < outline.size(); ++i) {
            walked += SquaredDistance(outline[i], outline[i - 1]);
            if (std::abs(SquaredDistance(outline[i], scratch.back()) - walked) > kTurnTolerance) {
                walked = 0.0f;
                scratch.push_back(outline[i - 1]);
                scratch.push_back(outline[i]);
            }
        }
        scratch.push_back(scratch.front());
    }
    kept.SetSize(static_cast<uint32_t>(scratch.size()));
    for (uint32_t i = 0; i < scratch.size(); ++i)
        kept.GetElement(i) = scratch[i];
}

bool TouchesZone(const ContourPlane& zone, int top, int rows, const ContourSearchWork& work)
{
    for (int k = 0; k < rows; ++k) {
        const int16_t* row = RowOf(zone, top + k);
        for (int x = work.left[k]; x <= work.right[k]; ++x)
            if (row[x] != 0)
                return true;
    }
    return false;
}

// Measures the filled region into the record; clears the whole span of each of its rows.
HRESULT MeasureRegion(const ContourPlane& plane, const ContourPlane& zone, int top, int rows, ContourSearchWork& work,
                      Class_InfoCountore& contour)
{
    const float width = static_cast<float>(plane.width);
    const float height = static_cast<float>(plane.height);
    int64_t area = 0, sumX = 0, sumY = 0;
    work.outline.resize(2 * static_cast<size_t>(rows));
    for (int k = 0; k < rows; ++k) {
        const int left = work.left[k];
        const int right = work.right[k];
        if (right < left)
            return E_UNEXPECTED;
        std::fill(RowOf(plane, top + k) + left, RowOf(plane, top + k) + right + 1, int16_t{0});
        area += right - left + 1;
        sumX += left + right;
        sumY += top + k;
        const float y = static_cast<float>(top + k) / height;
        work.outline[k] = {static_cast<float>(left) / width, y};
        work.outline[2 * static_cast<size_t>(rows) - k - 1] = {static_cast<float>(right) / width, y};
    }
    contour.m_area = std::clamp(static_cast<float>(area) / (width * height), 0.0f, 1.0f);
    contour.m_center_x = static_cast<float>(sumX) / (2.0f * rows) / width;
    contour.m_center_y = static_cast<float>(sumY) / rows / height;
    contour.m_flags[0] = 0;
    contour.m_flags[1] = 0;
    contour.m_flags[2] = TouchesZone(zone, top, rows, work) ? 1 : 0;
    ThinOutline(work.outline, contour.m_points, work.kept);
    return S_OK;
}

Class_InfoCountore& NextContour(DynamicBoundsObject<Class_InfoCountore>& contours, int32_t count)
{
    if (static_cast<uint32_t>(count) >= contours.GetCount()) {
        const HRESULT grown = contours.SetSize(contours.GetCount() + kContourStep);
        if (FAILED(grown))
            throw 240;
    }
    return contours.GetElement(static_cast<uint32_t>(count));
}

} // namespace

HRESULT SearchConture(const ContourPlane& plane, const ContourPlane& zone, DynamicBoundsObject<Class_InfoCountore>& contours,
                      int32_t* count, ContourSearchWork& work)
{
    if (count == nullptr)
        return E_INVALIDARG;
    const HRESULT check = CheckPlanes(plane, zone);
    if (check != S_OK)
        return check;
    *count = 0;
    try {
        work.left.resize(static_cast<size_t>(plane.height));
        work.right.resize(static_cast<size_t>(plane.height));
        for (int y = 1; y < plane.height - 1; ++y) {
            const int16_t* row = RowOf(plane, y);
            for (int x = 1; x < plane.width - 1; ++x) {
                if (row[x] == 0)
                    continue;
                int rows = 0;
                HRESULT result = FillRegion(plane, x, y, work, &rows);
                if (SUCCEEDED(result))
                    result = MeasureRegion(plane, zone, y, rows, work, NextContour(contours, *count));
                if (FAILED(result))
                    return result;
                ++*count;
            }
        }
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}
