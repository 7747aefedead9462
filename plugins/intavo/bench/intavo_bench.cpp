// Times the source's conversions at 640x480 and 1920x1080: every row routine in each variant, and
// the frame-level conversion of YUY2 (stride of whole vectors and not), RGB24 and I420 in each
// processor set. Beside each figure: a cold copy of as many bytes as the routine reads and writes,
// from a pool far larger than the caches.
// Usage: intavo_bench [runs] [calls per run]
#include "BenchmarkTiming.h"
#include "ConversionRoutineTable.h"
#include "MediaSubtypeGuids.h"

#include <cstdio>
#include <random>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<BYTE>;

Bytes RandomBytes(size_t size)
{
    std::mt19937 random(7);
    Bytes bytes(size);
    for (BYTE& byte : bytes)
        byte = static_cast<BYTE>(random());
    return bytes;
}

// Copies of the given size from slices that cycle through 256 MB, so every copy reads memory the
// caches no longer hold.
class ColdCopy
{
public:
    ColdCopy() : m_pool(kPoolBytes, 1) {}

    double Seconds(const BenchmarkSettings& settings, size_t bytes)
    {
        const size_t slices = kPoolBytes / (2 * bytes);
        size_t next = 0;
        return FastestCall(settings, [&] {
            BYTE* from = m_pool.data() + 2 * bytes * next;
            MemCopy(from + bytes, from, bytes, "intavo_bench");
            next = (next + 1) % slices;
        });
    }

private:
    static constexpr size_t kPoolBytes = size_t{256} << 20;
    Bytes m_pool;
};

struct Size
{
    int width;
    int height;
};

void Print(const Size& size, const std::string& operation, const char* variant, double seconds, double copySeconds)
{
    std::printf("  %4dx%-4d %-26s %-5s %8.3f ms %7.3f ns/pixel   cold copy %8.3f ms   ratio %5.2f\n", size.width,
                size.height, operation.c_str(), variant, seconds * 1e3,
                seconds * 1e9 / (static_cast<double>(size.width) * size.height), copySeconds * 1e3,
                seconds / copySeconds);
}

void TimeRowRoutines(const BenchmarkSettings& settings, ColdCopy& cold, const Size& size)
{
    for (const PackedRoutine& routine : kPackedRoutines) {
        const int sourceStride = StrideForEveryVariant(size.width, routine.sourceBytesPerPixel);
        const int destinationStride = StrideForEveryVariant(size.width, routine.destinationBytesPerPixel);
        Bytes source = RandomBytes(static_cast<size_t>(sourceStride) * size.height);
        Bytes destination(static_cast<size_t>(destinationStride) * size.height);
        const size_t touched = static_cast<size_t>(size.width) * size.height *
                               (routine.sourceBytesPerPixel + routine.destinationBytesPerPixel);
        const double copy = cold.Seconds(settings, touched / 2);
        for (size_t variant = 0; variant < routine.variants.size(); ++variant) {
            const double seconds = FastestCall(settings, [&] {
                routine.variants[variant](destination.data(), source.data(), destinationStride, sourceStride,
                                          size.width, size.height);
            });
            Print(size, routine.name, kVariantNames[variant], seconds, copy);
        }
    }
    for (const PlanarRoutine& routine : kPlanarRoutines) {
        const int capacity = static_cast<int>(GetPlanar420FrameBytes(size.width, size.height));
        Bytes source = RandomBytes(static_cast<size_t>(capacity));
        Bytes destination(2 * static_cast<size_t>(size.width) * size.height);
        const double copy = cold.Seconds(settings, (capacity + destination.size()) / 2);
        for (size_t variant = 0; variant < routine.variants.size(); ++variant) {
            const double seconds = FastestCall(settings, [&] {
                routine.variants[variant](destination.data(), source.data(), 2 * size.width, size.width, size.height,
                                          capacity);
            });
            Print(size, routine.name, kVariantNames[variant], seconds, copy);
        }
    }
}

struct ProcessorSet
{
    const char* name;
    uint32_t mode;
};
// Mode 2 runs the plain routines, mode 1 the MMX ones.
constexpr ProcessorSet kSets[] = {{"plain", 2}, {"MMX", 1}, {"SSE2", 4}};

struct FrameCase
{
    const char* name;
    GUID subtype;
    int bytesPerPixel;
    int extraStride;
};

void TimeFrameConversions(const BenchmarkSettings& settings, ColdCopy& cold, const Size& size)
{
    using namespace media_guids;
    const FrameCase cases[] = {
        {"frame YUY2", MEDIASUBTYPE_YUY2, 2, 0},
        {"frame YUY2, stride off 16", MEDIASUBTYPE_YUY2, 2, 8},
        {"frame RGB24", MEDIASUBTYPE_RGB24, 3, 0},
    };
    InfoDataBufferPath1 frame(false);
    MemoryBlockClass<BYTE> scratch;
    for (const FrameCase& frameCase : cases) {
        const int sourceStride = size.width * frameCase.bytesPerPixel + frameCase.extraStride;
        Bytes source = RandomBytes(static_cast<size_t>(sourceStride) * size.height);
        const double copy = cold.Seconds(settings, static_cast<size_t>(size.width) * size.height *
                                                       (frameCase.bytesPerPixel + 2) / 2);
        for (const ProcessorSet& set : kSets) {
            ConversionRoutinesIntavo1 routines{};
            SelectConversionRoutines(routines, set.mode);
            const double seconds = FastestCall(settings, [&] {
                frame.m_info.m_subtype = frameCase.subtype;
                frame.m_info.m_bih.biWidth = size.width;
                frame.m_info.m_bih.biHeight = size.height;
                ConvertDataBufferToYUY2orY8Formats(routines, scratch, source.data(), sourceStride, frame, true);
            });
            Print(size, frameCase.name, set.name, seconds, copy);
        }
    }

    // I420 takes two passes in the fetch: into the source's own YUY2 frame, then into the data
    // path's frame.
    const int capacity = static_cast<int>(GetPlanar420FrameBytes(size.width, size.height));
    Bytes planar = RandomBytes(static_cast<size_t>(capacity));
    Bytes own(2 * static_cast<size_t>(size.width) * size.height);
    const double copy = cold.Seconds(settings, (capacity + 2 * own.size()) / 2 + own.size() / 2);
    for (const ProcessorSet& set : kSets) {
        ConversionRoutinesIntavo1 routines{};
        SelectConversionRoutines(routines, set.mode);
        const double seconds = FastestCall(settings, [&] {
            routines.i420ToYuy2(own.data(), planar.data(), 2 * size.width, size.width, size.height, capacity);
            frame.m_info.m_subtype = MEDIASUBTYPE_YUY2;
            frame.m_info.m_bih.biWidth = size.width;
            frame.m_info.m_bih.biHeight = size.height;
            ConvertDataBufferToYUY2orY8Formats(routines, scratch, own.data(), 2 * size.width, frame, true);
        });
        Print(size, "frame I420", set.name, seconds, copy);
    }
}

} // namespace

int main(int argc, char** argv)
{
    const BenchmarkSettings settings = ReadBenchmarkSettings(argc, argv, {7, 10});
    std::printf("intavo_bench: fastest of %d runs of %d calls\n", settings.runs, settings.calls);
    ColdCopy cold;
    for (const Size& size : {Size{640, 480}, Size{1920, 1080}}) {
        TimeRowRoutines(settings, cold, size);
        TimeFrameConversions(settings, cold, size);
    }
    return 0;
}
