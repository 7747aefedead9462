#include "ColourConversionSelfCheck.h"

#include "IntavoConversions.h"

#include "CatchAllLog.h"
#include "KestrelDebugFunct.h"

#include <algorithm>
#include <array>

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;
constexpr int kPictureStride = 3 * kWidth;
constexpr int kPictureBytes = kPictureStride * kHeight;
constexpr int kPlaneBytes = 2 * kWidth * kHeight;
constexpr int kNumberSets = 4;
// The set whose planes the check fills.
constexpr int kCheckedSet = 1;

HRESULT AllocateFromSupport(BYTE** slot, uint64_t size)
{
    return SAFE_TASK_ALLOC(slot, size);
}

HRESULT ReleaseToSupport(BYTE** slot)
{
    return SAFE_TASK_FREE(slot);
}

// One set: hue, saturation and lightness planes and the picture they turn back into.
struct ScratchSet
{
    std::array<BYTE*, 3> planes{};
    BYTE* picture = nullptr;
};

// Every block of the check; each taken block is given back when the holder goes.
class ScratchBlocks
{
public:
    explicit ScratchBlocks(const SelfCheckAllocator& allocator) : m_allocator(allocator) {}
    ~ScratchBlocks()
    {
        for (BYTE** slot : Slots())
            if (*slot != nullptr)
                m_allocator.release(slot);
    }
    ScratchBlocks(const ScratchBlocks&) = delete;
    ScratchBlocks& operator=(const ScratchBlocks&) = delete;

    // false as soon as one block cannot be had.
    bool AllocateAll()
    {
        for (ScratchSet& set : m_sets) {
            for (BYTE*& plane : set.planes)
                if (!Allocate(&plane, kPlaneBytes))
                    return false;
            if (!Allocate(&set.picture, kPictureBytes))
                return false;
        }
        return Allocate(&m_source, kPictureBytes);
    }

    ScratchSet& Set(int index) { return m_sets[index]; }
    BYTE* Source() { return m_source; }

private:
    bool Allocate(BYTE** slot, uint64_t size) { return SUCCEEDED(m_allocator.allocate(slot, size)) && *slot != nullptr; }

    std::array<BYTE**, kNumberSets * 4 + 1> Slots()
    {
        std::array<BYTE**, kNumberSets * 4 + 1> slots{};
        size_t k = 0;
        for (ScratchSet& set : m_sets) {
            for (BYTE*& plane : set.planes)
                slots[k++] = &plane;
            slots[k++] = &set.picture;
        }
        slots[k] = &m_source;
        return slots;
    }

    const SelfCheckAllocator& m_allocator;
    std::array<ScratchSet, kNumberSets> m_sets;
    BYTE* m_source = nullptr;
};

} // namespace

const SelfCheckAllocator& DefaultSelfCheckAllocator()
{
    static const SelfCheckAllocator allocator = {AllocateFromSupport, ReleaseToSupport};
    return allocator;
}

bool RunColourConversionSelfCheck(const BYTE* data, int32_t capacity, const SelfCheckAllocator& allocator)
{
    try {
        ScratchBlocks blocks(allocator);
        if (!blocks.AllocateAll())
            return false;
        const int32_t copied = std::clamp(capacity, 0, kPictureBytes);
        if (data != nullptr && copied > 0)
            MemCopy(blocks.Source(), data, static_cast<size_t>(copied), "Intavo1::GetFrame::self-check");
        ScratchSet& set = blocks.Set(kCheckedSet);
        auto* hue = reinterpret_cast<SWORD*>(set.planes[0]);
        auto* saturation = reinterpret_cast<SWORD*>(set.planes[1]);
        auto* lightness = reinterpret_cast<SWORD*>(set.planes[2]);
        int converted = 0;
        ConvertRGB24ToHSL(blocks.Source(), kPictureStride, kWidth, kHeight, kPictureBytes, hue, saturation, lightness,
                          &converted, kPlaneBytes);
        int written = 0;
        ConvertHSLToRGB24(hue, saturation, lightness, kWidth, kHeight, kPictureStride, kPlaneBytes, set.picture,
                          &written, kPictureBytes);
        return true;
    }
    CATCH_ALL_RETURN(false)
}
