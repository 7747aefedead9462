// Times the source's conversions at 640x480 and 1920x1080: every row routine in each variant, and
// the frame-level conversion of YUY2 (stride of whole vectors and not), RGB24 and I420 in each
// processor set. Beside each figure: a cold copy of as many bytes as the routine reads and writes,
// from a pool far larger than the caches.
// Usage: intavo_bench [runs] [calls per run]
//
// The fetch mode times the plug-in's whole per-frame fetch instead: "Intavo1.vdd" plays a
// generated AVI file (YUY2, RGB24, I420) at 100 frames a second into the sink filter, and each
// fetch that brings a frame is timed (the round trip to the graph thread, the exchange, the conversion);
// beside it the conversion alone (of a sample in the caches and of one out of them), a cold copy of
// the frame, the clock, and the round trip alone: a request that does nothing on the graph thread,
// sent through the plug-in as the fetch is, both to an idle graph thread and to the one whose file
// streams.
// Usage: intavo_bench fetch [runs] [frames per run]
#include "BenchmarkTiming.h"
#include "ConversionRoutineTable.h"
#include "MediaSubtypeGuids.h"
#include "TestAviWriter.h"
#include "TestPluginExports.h"

#include "ClassDirectAcessToDriver.h"
#include "need_interface.h"

#include "CTimeServer.h"

#include <cstdio>
#include <cstring>
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

// Slices that cycle through 256 MB, so every call reads and writes memory the caches no longer hold.
class ColdPool
{
public:
    ColdPool() : m_pool(kPoolBytes, 1) {}

    // The fastest call, each on the next slice of the given size.
    double Seconds(const BenchmarkSettings& settings, size_t sliceBytes, const std::function<void(BYTE*)>& call)
    {
        const size_t slices = kPoolBytes / sliceBytes;
        size_t next = 0;
        return FastestCall(settings, [&] {
            call(m_pool.data() + sliceBytes * next);
            next = (next + 1) % slices;
        });
    }

    double CopySeconds(const BenchmarkSettings& settings, size_t bytes)
    {
        return Seconds(settings, 2 * bytes, [&](BYTE* slice) { MemCopy(slice + bytes, slice, bytes, "intavo_bench"); });
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

void TimeRowRoutines(const BenchmarkSettings& settings, ColdPool& cold, const Size& size)
{
    for (const PackedRoutine& routine : kPackedRoutines) {
        const int sourceStride = StrideForEveryVariant(size.width, routine.sourceBytesPerPixel);
        const int destinationStride = StrideForEveryVariant(size.width, routine.destinationBytesPerPixel);
        Bytes source = RandomBytes(static_cast<size_t>(sourceStride) * size.height);
        Bytes destination(static_cast<size_t>(destinationStride) * size.height);
        const size_t touched = static_cast<size_t>(size.width) * size.height *
                               (routine.sourceBytesPerPixel + routine.destinationBytesPerPixel);
        const double copy = cold.CopySeconds(settings, touched / 2);
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
        const double copy = cold.CopySeconds(settings, (capacity + destination.size()) / 2);
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

void TimeFrameConversions(const BenchmarkSettings& settings, ColdPool& cold, const Size& size)
{
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
        const double copy = cold.CopySeconds(settings, static_cast<size_t>(size.width) * size.height *
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

    // I420 takes one pass in the fetch: into the source's own YUY2 frame, whose block the data
    // path's frame then takes over by exchange.
    const int capacity = static_cast<int>(GetPlanar420FrameBytes(size.width, size.height));
    Bytes planar = RandomBytes(static_cast<size_t>(capacity));
    Bytes own(2 * static_cast<size_t>(size.width) * size.height);
    const double copy = cold.CopySeconds(settings, (capacity + own.size()) / 2);
    for (const ProcessorSet& set : kSets) {
        ConversionRoutinesIntavo1 routines{};
        SelectConversionRoutines(routines, set.mode);
        const double seconds = FastestCall(settings, [&] {
            routines.i420ToYuy2(own.data(), planar.data(), 2 * size.width, size.width, size.height, capacity);
        });
        Print(size, "frame I420", set.name, seconds, copy);
    }
}

// ---- Fetch mode ------------------------------------------------------------------------------

double Now()
{
    LARGE_INTEGER count, frequency;
    QueryPerformanceCounter(&count);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(count.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// One instance of the plug-in, loaded from its file and called as the data path calls it.
class SourceInstance
{
public:
    explicit SourceInstance(const TestPluginExports& exports) : m_exports(exports) { m_exports.init(&m_record, 1); }
    ~SourceInstance() { m_exports.free(&m_record); }
    SourceInstance(const SourceInstance&) = delete;
    SourceInstance& operator=(const SourceInstance&) = delete;

    HRESULT Call(const GUID& iid, int32_t index, const std::function<void(ListParamsDataPath1&)>& setup)
    {
        ListParamsDataPath1 params;
        params.SetNumberParams(2);
        setup(params);
        return m_exports.call({iid, index, &params, &m_record});
    }
    // A request that reads one of the graph thread's variables and does nothing else: the round
    // trip of the fetch without its exchange and conversion.
    void AskGraphThread()
    {
        ExtStateVideoDriver variables;
        Call(IID_ISourceFilterDataPath1, 4, [&](ListParamsDataPath1& p) {
            p.m_params.GetElement(0).SetInt(static_cast<int32_t>(InternalVarRead | InternalVarPictureInterval));
            p.m_params.GetElement(1).SetPointer(&variables, sizeof(variables), false);
        });
    }
    // Whether a frame came.
    bool Fetch(InfoDataBufferPath1& frame)
    {
        Call(IID_ISourceFilterDataPath1, 2, [&](ListParamsDataPath1& p) {
            p.m_params.GetElement(0).SetInt(1);
            p.m_params.GetElement(1).SetPointer(&frame, sizeof(frame), false);
        });
        return frame.IsNULLFrame() == S_OK;
    }

private:
    const TestPluginExports& m_exports;
    InfoFilterObjectDataPath1 m_record;
};

// The file plays on the graph's clock at this rate, as a camera delivers: the streaming thread
// rests between samples, and most fetches find nothing new.
constexpr uint32_t kFileFramesPerSecond = 100;
// At its end the graph thread rewinds the file, stopping and running the graph again: a file that
// lasts 0.6 s lets most runs of fetches (about 0.2 s each) pass without that pause.
constexpr uint32_t kFileFrames = 60;

struct FetchCase
{
    const char* name;
    GUID subtype;
    DWORD compression;
    WORD bitCount;
};

struct FetchTimes
{
    double delivered = 0.0; // seconds a fetch that brought a frame, 0 when frames stopped coming
    double empty = 0.0;     // seconds a fetch that found nothing new
};

// Calls are at least 1.2 ms apart, so the source's gate (1000 frames a second) lets each through
// to the graph thread.
constexpr double kCallSpacing = 0.0012;

// The caller sleeps between calls as the data path's worker does between its ticks, and leaves
// the processor to the streaming threads meanwhile.
void WaitForNextCall(double last)
{
    Sleep(1);
    while (Now() - last < kCallSpacing) {
    }
}

// The fastest run's means.
FetchTimes TimeFetches(const BenchmarkSettings& settings, SourceInstance& source)
{
    InfoDataBufferPath1 frame;
    FetchTimes best{1e30, 1e30};
    for (int run = 0; run < settings.runs; ++run) {
        FetchTimes total;
        int delivered = 0;
        int empty = 0;
        const double giveUp = Now() + 10.0;
        double last = 0.0;
        while (delivered < settings.calls) {
            WaitForNextCall(last);
            if (Now() > giveUp)
                return {};
            const double start = Now();
            last = start;
            const bool came = source.Fetch(frame);
            const double spent = Now() - start;
            (came ? total.delivered : total.empty) += spent;
            ++(came ? delivered : empty);
        }
        best.delivered = std::min(best.delivered, total.delivered / delivered);
        if (empty > 0)
            best.empty = std::min(best.empty, total.empty / empty);
    }
    return best;
}

// The round trip alone, spaced as the fetches are: the fastest run's mean of as many requests as
// a run of fetches makes calls.
double TimeRoundTrip(const BenchmarkSettings& settings, SourceInstance& source)
{
    const int requests = settings.calls * 5;
    double best = 1e30;
    for (int run = 0; run < settings.runs; ++run) {
        double total = 0.0;
        double last = 0.0;
        for (int k = 0; k < requests; ++k) {
            WaitForNextCall(last);
            last = Now();
            source.AskGraphThread();
            total += Now() - last;
        }
        best = std::min(best, total / requests);
    }
    return best;
}

// The conversion of one sample into a warm frame block, the sample read from wherever sourceAt
// puts it.
class SampleConversion
{
public:
    SampleConversion(const FetchCase& fetchCase, const Size& size)
        : m_case(fetchCase), m_size(size), m_planar(fetchCase.subtype == media_guids::MediaSubtypeI420),
          m_capacity(static_cast<int>(GetPlanar420FrameBytes(size.width, size.height))),
          m_stride(size.width * (fetchCase.bitCount / 8)), m_own(2 * static_cast<size_t>(size.width) * size.height)
    {
        SelectConversionRoutines(m_routines, 4);
    }

    size_t SampleBytes() const { return m_planar ? m_capacity : static_cast<size_t>(m_stride) * m_size.height; }

    void Convert(BYTE* sample)
    {
        if (m_planar) {
            m_routines.i420ToYuy2(m_own.data(), sample, 2 * m_size.width, m_size.width, m_size.height, m_capacity);
            return;
        }
        m_frame.m_info.m_subtype = m_case.subtype;
        m_frame.m_info.m_bih.biWidth = m_size.width;
        m_frame.m_info.m_bih.biHeight = m_size.height;
        ConvertDataBufferToYUY2orY8Formats(m_routines, m_scratch, sample, m_stride, m_frame, true);
    }

private:
    const FetchCase& m_case;
    const Size m_size;
    const bool m_planar;
    const int m_capacity;
    const int m_stride;
    ConversionRoutinesIntavo1 m_routines{};
    InfoDataBufferPath1 m_frame{false};
    MemoryBlockClass<BYTE> m_scratch;
    Bytes m_own;
};

struct ConversionTimes
{
    double warm = 0.0; // the sample in the caches, as a lone conversion runs
    double cold = 0.0; // the sample out of them, as another thread's write leaves it for this core
};

ConversionTimes TimeConversion(const BenchmarkSettings& settings, ColdPool& pool, const FetchCase& fetchCase,
                               const Size& size)
{
    SampleConversion conversion(fetchCase, size);
    Bytes sample = RandomBytes(conversion.SampleBytes());
    ConversionTimes times;
    times.warm = FastestCall(settings, [&] { conversion.Convert(sample.data()); });
    times.cold = pool.Seconds(settings, sample.size(), [&](BYTE* slice) { conversion.Convert(slice); });
    return times;
}

double TimeClockReading(const BenchmarkSettings& settings)
{
    CTimeServer clock;
    clock.Initialize();
    volatile uint64_t sink = 0;
    return FastestCall(settings, [&] {
               for (int k = 0; k < 1000; ++k)
                   sink = sink + clock.GetTime();
           }) /
           1000.0;
}

std::string WriteBenchAvi(const FetchCase& fetchCase, const Size& size)
{
    char folder[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, folder);
    const std::string path = std::string(folder) + "korvane_intavo_bench_" + std::to_string(GetCurrentProcessId()) +
                             "_" + fetchCase.name + ".avi";
    const TestAviFormat format = {fetchCase.compression, fetchCase.bitCount, size.width, size.height};
    std::vector<std::vector<uint8_t>> frames;
    for (int k = 0; k < 4; ++k)
        frames.push_back(RandomBytes(TestAviFrameSize(format)));
    for (uint32_t k = 4; k < kFileFrames; ++k)
        frames.push_back(frames[k % 4]);
    return WriteTestAvi(std::wstring(path.begin(), path.end()), format, kFileFramesPerSecond, frames) ? path
                                                                                              : std::string();
}

void TimeFetch(const BenchmarkSettings& settings, const TestPluginExports& exports, ColdPool& cold,
               const FetchCase& fetchCase, const Size& size, double idleRoundTrip)
{
    const std::string path = WriteBenchAvi(fetchCase, size);
    SourceInstance source(exports);
    source.Call(IID_IControlOptimProcessor, 1, [](ListParamsDataPath1& p) { p.m_params.GetElement(0).SetInt(4); });
    source.Call(IID_IControlDriverDirectShow, 3, [](ListParamsDataPath1& p) { p.m_params.GetElement(0).SetFloat(1000.0f); });
    InfoNeedInterface record;
    record.m_type_driver = TypeSourceVideoFile;
    record.m_name_file = path.c_str();
    record.m_media_type.m_format_type = FORMAT_VideoInfo;
    record.m_frame_rate = 200.0f;
    source.Call(IID_IControlDriverDirectShow, 0, [&](ListParamsDataPath1& p) {
        p.m_params.GetElement(0).SetPointer(&record, sizeof(record), false);
    });
    const FetchTimes times = TimeFetches(settings, source);
    const double roundTrip = TimeRoundTrip(settings, source);
    const double fetch = times.delivered;
    const ConversionTimes conversion = TimeConversion(settings, cold, fetchCase, size);
    const double copy = cold.CopySeconds(settings, static_cast<size_t>(TestAviFrameSize(
                                                       {fetchCase.compression, fetchCase.bitCount, size.width, size.height})));
    const double budget = conversion.warm + copy + roundTrip;
    std::printf("  %4dx%-4d fetch %-5s %7.3f ms (empty %6.3f ms)   conversion %6.3f ms + cold copy %6.3f ms + "
                "round trip while streaming %6.3f ms (idle %6.3f ms) = %6.3f ms   %s\n"
                "            conversion of a sample out of the caches %6.3f ms + round trip while streaming = %6.3f ms\n",
                size.width, size.height, fetchCase.name, fetch * 1e3, times.empty * 1e3, conversion.warm * 1e3,
                copy * 1e3, roundTrip * 1e3, idleRoundTrip * 1e3, budget * 1e3,
                fetch == 0.0 ? "no frames" : (fetch <= budget ? "within" : "ABOVE"), conversion.cold * 1e3,
                (conversion.cold + roundTrip) * 1e3);
    DeleteFileA(path.c_str());
}

int RunFetchBenchmark(const BenchmarkSettings& settings)
{
    if (FAILED(CoInitializeEx(nullptr, COINIT_MULTITHREADED)))
        return 1;
    // The file graphs end in the sink filter, registered in this prefix.
    HMODULE sink = LoadLibraryA("Sinkwell1.vfd");
    const TestPluginExports exports(LoadLibraryA("Intavo1.vdd"));
    const auto registerSink = TestPluginExports::Bind<HRESULT(WINAPI*)()>(sink, "DllRegisterServer");
    if (exports.init == nullptr || registerSink == nullptr || FAILED(registerSink())) {
        std::printf("intavo_bench fetch: Intavo1.vdd or Sinkwell1.vfd missing beside the program\n");
        return 1;
    }
    std::printf("intavo_bench fetch: fastest of %d runs of %d delivered fetches, SSE2\n", settings.runs,
                settings.calls);
    // The same request to a graph thread that has no graph to run.
    double idleRoundTrip = 0.0;
    {
        SourceInstance idle(exports);
        idleRoundTrip = TimeRoundTrip(settings, idle);
    }
    const double clock = TimeClockReading(settings);
    std::printf("  round trip to an idle graph thread %.3f ms; clock reading %.3f us (1 a fetch that brings a frame, "
                "2 an empty one)\n",
                idleRoundTrip * 1e3, clock * 1e6);
    ColdPool cold;
    const FetchCase cases[] = {{"YUY2", MEDIASUBTYPE_YUY2, MAKEFOURCC('Y', 'U', 'Y', '2'), 16},
                               {"RGB24", MEDIASUBTYPE_RGB24, BI_RGB, 24},
                               {"I420", media_guids::MediaSubtypeI420, MAKEFOURCC('I', '4', '2', '0'), 12}};
    for (const Size& size : {Size{640, 480}, Size{1920, 1080}})
        for (const FetchCase& fetchCase : cases)
            TimeFetch(settings, exports, cold, fetchCase, size, idleRoundTrip);
    CoUninitialize();
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc > 1 && std::strcmp(argv[1], "fetch") == 0)
        return RunFetchBenchmark(ReadBenchmarkSettings(argc - 1, argv + 1, {5, 20}));
    const BenchmarkSettings settings = ReadBenchmarkSettings(argc, argv, {7, 10});
    std::printf("intavo_bench: fastest of %d runs of %d calls\n", settings.runs, settings.calls);
    ColdPool cold;
    for (const Size& size : {Size{640, 480}, Size{1920, 1080}}) {
        TimeRowRoutines(settings, cold, size);
        TimeFrameConversions(settings, cold, size);
    }
    return 0;
}
