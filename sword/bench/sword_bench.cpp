// Times every SWORD conversion in each of its variants on whole frames, with a plain copy of the
// operation's source bytes (memcpy and the support library's MemCopy) for reference.
// Usage: sword_bench [runs] [calls per run] [operation]; the minimum over the runs is reported.
// With an operation only those whose names contain it run (for example "RGB24 to YUY2").
#include "OptimFunctionUnifProcessSWORD.h"
#include "SwordBuffers.h"

#include "BenchmarkTiming.h"

#include "KestrelDebugFunct.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <map>
#include <random>
#include <string>
#include <vector>

namespace {

using Settings = BenchmarkSettings;

void Print(const char* operation, const char* variant, double seconds, int pixels, size_t bytes)
{
    std::printf("  %-26s %-8s %8.3f ns/pixel %9.0f MB/s\n", operation, variant, seconds * 1e9 / pixels,
                static_cast<double>(bytes) / seconds / 1e6);
}

// A block of a growable private heap made as the frame heap is, so the buffers lie as the frames
// of the data path do: one after another at the heap's 16-byte alignment, not each at the start of
// its own page (where source and destination would share every address bit below the page).
class HeapBuffer : public FilledBuffer
{
public:
    explicit HeapBuffer(size_t size)
        : FilledBuffer(nullptr, size)
    {
        if (FAILED(SAFE_TASK_ALLOC(&m_data, size, FrameHeap()))) {
            std::fprintf(stderr, "sword_bench: no memory for %zu bytes\n", size);
            std::exit(1);
        }
    }
    ~HeapBuffer() { SAFE_TASK_FREE(&m_data, FrameHeap()); }

private:
    static HANDLE FrameHeap()
    {
        constexpr DWORD kAlign16 = 0x10000;
        static const HANDLE heap = HeapCreate(kAlign16, 0x500000, 0);
        return heap;
    }
};

struct Frames
{
    Frames(int width, int height)
        : width(width), height(height), planeStride(GetSwordPlaneStride(width)),
          planeBytes(static_cast<size_t>(planeStride) * height), yuy2(2 * static_cast<size_t>(width) * height),
          y8(static_cast<size_t>(width) * height), rgb32(4 * static_cast<size_t>(width) * height),
          rgb24(3 * static_cast<size_t>(width) * height), out(4 * static_cast<size_t>(width) * height),
          copyFrom(kLargestSourceBytesPerPixel * static_cast<size_t>(width) * height),
          copyTo(kLargestSourceBytesPerPixel * static_cast<size_t>(width) * height), y(planeBytes), uv(planeBytes), r(planeBytes), g(planeBytes),
          b(planeBytes), u(planeBytes), v(planeBytes)
    {
        std::mt19937 random(5);
        for (HeapBuffer* buffer : {&yuy2, &y8, &rgb32, &rgb24})
            buffer->FillRandom(random);
        for (HeapBuffer* buffer : {&y, &uv, &r, &g, &b, &u, &v})
            buffer->FillRandomWords(random);
    }
    int width, height, planeStride;
    size_t planeBytes;
    // Three planes of words are the largest source of any operation.
    static constexpr size_t kLargestSourceBytesPerPixel = 6;
    HeapBuffer yuy2, y8, rgb32, rgb24, out, copyFrom, copyTo, y, uv, r, g, b, u, v;
};

template <class F>
struct Variant
{
    const char* name;
    F function;
};

class Bench
{
public:
    Bench(const Settings& settings, const char* only, Frames& frames)
        : m_settings(settings), m_only(only), m_frames(frames), m_pixels(frames.width * frames.height)
    {
    }

    // One operation: its variants, then the reference copies of its source bytes.
    template <class F, class Call>
    void Run(const char* operation, std::initializer_list<Variant<F>> variants, size_t sourceBytes,
             size_t destinationBytes, Call call)
    {
        if (m_only != nullptr && std::strstr(operation, m_only) == nullptr)
            return;
        for (const Variant<F>& v : variants)
            Print(operation, v.name, FastestCall(m_settings, [&] { call(v.function); }), m_pixels,
                  sourceBytes + destinationBytes);
        PrintCopies(sourceBytes);
    }

private:
    void PrintCopies(size_t bytes)
    {
        auto known = m_copies.find(bytes);
        if (known == m_copies.end()) {
            BYTE* to = m_frames.copyTo.Bytes();
            const BYTE* from = m_frames.copyFrom.Bytes();
            const double plain = FastestCall(m_settings, [&] { std::memcpy(to, from, bytes); });
            const double own = FastestCall(m_settings, [&] { MemCopy(to, from, bytes, "sword_bench"); });
            known = m_copies.emplace(bytes, std::make_pair(plain, own)).first;
        }
        const std::string label = "  copy of " + std::to_string(bytes) + " bytes";
        Print(label.c_str(), "memcpy", known->second.first, m_pixels, 2 * bytes);
        Print(label.c_str(), "MemCopy", known->second.second, m_pixels, 2 * bytes);
    }

    const Settings& m_settings;
    const char* m_only;
    Frames& m_frames;
    int m_pixels;
    std::map<size_t, std::pair<double, double>> m_copies;
};

// Gradient, matrix effect, colour key, band and hue on the frame's planes (in place where the
// operation works in place).
void RunEffects(Bench& bench, Frames& f)
{
    const size_t px = static_cast<size_t>(f.width) * f.height;
    const int w = f.width, h = f.height, ps = f.planeStride;
    SWORD* const Y = f.y.Words();
    SWORD* const UV = f.uv.Words();
    std::vector<SWORD> curve(256);
    for (int i = 0; i < 256; ++i)
        curve[i] = static_cast<SWORD>(255 - i);
    bench.Run<GradientCorrectFunction>("gradient correction",
                                       {{"c", GradientCorrectImage_c},
                                        {"mmx", GradientCorrectImage_mmx},
                                        {"sse", GradientCorrectImage_sse},
                                        {"sse2", GradientCorrectImage_sse2}},
                                       2 * px, 2 * px, [&](GradientCorrectFunction fn) { fn(Y, ps, w, h, curve.data(), 256); });

    alignas(16) const SWORD ramp[8] = {20, 200, 100};
    bench.Run<UnifSwordFunction>(
        "gradient fill",
        {{"c", gradient_fill_sword_funct_c}, {"mmx", gradient_fill_sword_funct_mmx},
         {"sse2", gradient_fill_sword_funct_sse2}, {"sse2 any", gradient_fill_sword_funct_sse2u}},
        2 * px, 0, [&](UnifSwordFunction fn) { fn(f.u.Words(), nullptr, nullptr, nullptr, nullptr, ps, 0, w, h, 0, ramp, nullptr, nullptr); });

    alignas(16) const SWORD allLanes[8] = {-1, -1, -1, -1, -1, -1, -1, -1};
    bench.Run<UnifSwordFunction>(
        "colour key",
        {{"c", key_source_sword_funct_c}, {"mmx", key_source_sword_funct_mmx}, {"sse2", key_source_sword_funct_sse2},
         {"sse2 any", key_source_sword_funct_sse2u}},
        4 * px, 2 * px, [&](UnifSwordFunction fn) {
            fn(f.v.Words(), nullptr, f.r.Words(), nullptr, allLanes, ps, ps, w, h, 0, nullptr, nullptr, nullptr);
        });

    alignas(16) const SWORD centres[8] = {100, 100, 120, 120, 140, 140, 160, 160};
    alignas(16) const SWORD peaks[8] = {255, 255, 255, 255, 255, 255, 255, 255};
    bench.Run<UnifSwordFunction>(
        "band generation",
        {{"c", GenerateImageFunct_c}, {"mmx", GenerateImageFunct_mmx}, {"sse2", GenerateImageFunct_sse2},
         {"sse2 any", GenerateImageFunct_sse2u}},
        2 * px, 0, [&](UnifSwordFunction fn) {
            fn(f.g.Words(), nullptr, nullptr, nullptr, nullptr, ps, 0, w, h, 0, centres, peaks, nullptr);
        });

    // 16 templates with their tiles for both planes; the threshold lets close blocks be redrawn.
    std::mt19937 random(9);
    std::vector<SWORD> patterns(4 * 16 * 64);
    for (SWORD& word : patterns)
        word = static_cast<SWORD>(random() % 256);
    std::vector<const SWORD*> templates1, templates2, tiles1, tiles2;
    for (int k = 0; k < 16; ++k) {
        templates1.push_back(&patterns[(4 * k) * 64]);
        templates2.push_back(&patterns[(4 * k + 1) * 64]);
        tiles1.push_back(&patterns[(4 * k + 2) * 64]);
        tiles2.push_back(&patterns[(4 * k + 3) * 64]);
    }
    bench.Run<MatrixEffectFunction>(
        "matrix effect 16 templates",
        {{"c", MatrixEffectImage_c}, {"mmx", MatrixEffectImage_mmx}, {"sse2", MatrixEffectImage_sse2}}, 4 * px, 4 * px,
        [&](MatrixEffectFunction fn) {
            fn(Y, UV, ps, w, h, templates1.data(), templates2.data(), tiles1.data(), tiles2.data(), 16, 128, 200);
        });

    DynamicBoundsObject<int32_t> sine, cosine;
    sine.Init(256, 0);
    cosine.Init(256, 0);
    StaticBoundsObject<SWORD, 8> matrix;
    CreateTablesCorrectHue(sine, cosine, matrix, 10.0f);
    const SWORD* rotation = &matrix.GetElement(0);
    bench.Run<CorrectHueFunction>(
        "hue correction",
        {{"c", CorrectHue_c}, {"mmx", CorrectHue_mmx}, {"sse", CorrectHue_sse}, {"sse2", CorrectHue_sse2}}, 2 * px,
        2 * px, [&](CorrectHueFunction fn) { fn(UV, &rotation, ps, w, h); });
}

// Fastest single copy of bytes whose source and destination were pushed out of the caches first.
double FastestColdCopy(const Settings& settings, size_t bytes)
{
    static std::vector<BYTE> evict(64u << 20);
    std::vector<BYTE> from(bytes, 1), to(bytes, 2);
    double best = 1e30;
    for (int run = 0; run < settings.runs; ++run) {
        std::memset(evict.data(), run, evict.size());
        LARGE_INTEGER start, end;
        QueryPerformanceCounter(&start);
        std::memcpy(to.data(), from.data(), bytes);
        QueryPerformanceCounter(&end);
        best = std::min(best, SecondsBetween(start, end));
    }
    return best;
}

void PrintRatio(const char* what, double seconds, const char* reference, double referenceSeconds)
{
    std::printf("  = %-30s %6.2f x %s\n", what, seconds / referenceSeconds, reference);
}

// Convolutions, blur, sharpen, edge image, noise removal, histogram and block averages. The
// targets: SSE2 noise removal and histogram against a cold copy of the bytes they read and write,
// the SSE2 convolution against the SSE2 blur of the same plane.
void RunFilters(const Settings& settings, Bench& bench, Frames& f)
{
    const size_t px = static_cast<size_t>(f.width) * f.height;
    const int w = f.width, h = f.height, ps = f.planeStride;
    // A plane with the convolution margins: 8 words left and right, one guard row above and below.
    const int cw = w + 16, ch = h + 2, cs = GetSwordPlaneStride(cw);
    HeapBuffer source(static_cast<size_t>(cs) * ch), destination(static_cast<size_t>(cs) * ch),
        condition(static_cast<size_t>(cs) * ch);
    std::mt19937 random(6);
    source.FillRandomWords(random);
    condition.FillRandomWords(random);
    SwordWords kernel, kernelB, thresholds, weights, tc, kc;
    kernel.Init(9, 0);
    kernelB.Init(9, 0);
    for (uint32_t i = 0; i < 9; ++i) {
        kernel.GetElement(i) = 1;
        kernelB.GetElement(i) = i == 4 ? 8 : -1;
    }
    thresholds.Init(2, 0);
    thresholds.GetElement(0) = 8;
    thresholds.GetElement(1) = 24;
    weights.Init(3, 0);
    weights.GetElement(0) = 32;
    weights.GetElement(1) = 48;
    weights.GetElement(2) = 48;
    tc.Init(1, 0);
    tc.GetElement(0) = 1;
    kc.Init(1, 0);
    kc.GetElement(0) = 12;
    const SWORD scale = GetNormalizeKoeffSvertka3x3(&kernel.GetElement(0));
    alignas(16) const SWORD strength[8] = {};
    const size_t planeBytes = static_cast<size_t>(cs) * ch;

    const auto convolve = [&](ConvolutionFunction fn) {
        fn(source.Words(), destination.Words(), cs, cw, ch, kernel, scale);
    };
    const auto blur = [&](UnifSwordFunction fn) {
        fn(source.Words(), nullptr, nullptr, nullptr, nullptr, cs, 0, cw, ch, 0, strength, nullptr, nullptr);
    };
    bench.Run<ConvolutionFunction>("convolution 3x3", {{"c", Svertka_c}, {"mmx", Svertka_mmx}, {"sse2", Svertka_sse2}},
                                   planeBytes, planeBytes, convolve);
    bench.Run<ConditionalConvolutionFunction>(
        "conditional convolution",
        {{"c", ConditionSvertka_c}, {"mmx", ConditionSvertka_mmx}, {"sse2", ConditionSvertka_sse2}}, 2 * planeBytes,
        planeBytes, [&](ConditionalConvolutionFunction fn) {
            fn(source.Words(), destination.Words(), condition.Words(), cs, cw, ch, scale, kernel, kernelB, 100);
        });
    bench.Run<UnifSwordFunction>(
        "blur",
        {{"c", blure_const_sword_funct_c}, {"mmx", blure_const_sword_funct_mmx}, {"sse2", blure_const_sword_funct_sse2}},
        planeBytes, planeBytes, blur);
    bench.Run<UnifSwordFunction>(
        "sharpen",
        {{"c", sharp_const_sword_funct_c}, {"mmx", sharp_const_sword_funct_mmx}, {"sse2", sharp_const_sword_funct_sse2}},
        planeBytes, planeBytes, blur);
    bench.Run<UnifSwordFunction>(
        "edge image",
        {{"c", edge_image_sword_funct_c}, {"mmx", edge_image_sword_funct_mmx}, {"sse2", edge_image_sword_funct_sse2}},
        2 * px, 2 * px, [&](UnifSwordFunction fn) {
            fn(f.r.Words(), nullptr, f.y.Words(), nullptr, nullptr, ps, ps, w, h, 0, nullptr, nullptr, nullptr);
        });

    HeapBuffer luma(f.planeBytes);
    luma.FillRandomLuma(random);
    bench.Run<UnifSwordFunction>(
        "edge image of luma",
        {{"c", edge_image_sword_funct_c}, {"mmx", edge_image_sword_funct_mmx}, {"sse2", edge_image_sword_funct_sse2}},
        2 * px, 2 * px, [&](UnifSwordFunction fn) {
            fn(f.r.Words(), nullptr, luma.Words(), nullptr, nullptr, ps, ps, w, h, 0, nullptr, nullptr, nullptr);
        });

    const auto noise1 = [&](RemoveNoiseFunction fn) { fn(f.y.Words(), f.u.Words(), ps, w, h, 8, 32, 96); };
    const auto noise2 = [&](RemoveNoise2Function fn) { fn(f.y.Words(), f.u.Words(), ps, w, h, thresholds, weights); };
    const auto noise3 = [&](RemoveNoise3Function fn) {
        fn(f.y.Words(), f.u.Words(), f.v.Words(), ps, w, h, thresholds, weights, tc, kc);
    };
    bench.Run<RemoveNoiseFunction>(
        "noise removal 1",
        {{"c", RemoveAddNoiseFromImage_c}, {"mmx", RemoveAddNoiseFromImage_mmx}, {"sse2", RemoveAddNoiseFromImage_sse2}},
        4 * px, 4 * px, noise1);
    bench.Run<RemoveNoise2Function>("noise removal 2",
                                    {{"c", RemoveAddNoiseFromImage2_c},
                                     {"mmx", RemoveAddNoiseFromImage2_mmx},
                                     {"sse2", RemoveAddNoiseFromImage2_sse2}},
                                    4 * px, 4 * px, noise2);
    bench.Run<RemoveNoise3Function>("noise removal 3",
                                    {{"c", RemoveAddNoiseFromImage3_c},
                                     {"mmx", RemoveAddNoiseFromImage3_mmx},
                                     {"sse2", RemoveAddNoiseFromImage3_sse2}},
                                    6 * px, 4 * px, noise3);
    std::vector<uint32_t> counters(256);
    const auto histogram = [&](HistogramFunction fn) { fn(f.y.Words(), ps, w, h, counters.data(), 256); };
    bench.Run<HistogramFunction>(
        "histogram",
        {{"c", GetGistogramFromImage_c}, {"mmx", GetGistogramFromImage_mmx}, {"sse2", GetGistogramFromImage_sse2}},
        2 * px, 1024, histogram);
    bench.Run<HistogramFunction>(
        "histogram of luma",
        {{"c", GetGistogramFromImage_c}, {"mmx", GetGistogramFromImage_mmx}, {"sse2", GetGistogramFromImage_sse2}},
        2 * px, 1024, [&](HistogramFunction fn) { fn(luma.Words(), ps, w, h, counters.data(), 256); });
    uint32_t mean = 0;
    const auto averages = [&](UnifSwordFunction fn) {
        fn(f.r.Words(), &mean, f.y.Words(), nullptr, nullptr, ps, ps, w, h, 0, nullptr, nullptr, nullptr);
    };
    bench.Run<UnifSwordFunction>(
        "8x8 averages", {{"c", Average8x8SWord_c}, {"mmx", Average8x8SWord_mmx}, {"sse2", Average8x8SWord_sse2}},
        2 * px, px / 32, averages);
    bench.Run<UnifSwordFunction>("2x2 averages Y16",
                                 {{"c", Average2x2Y16SWord_c},
                                  {"mmx", Average2x2Y16SWord_mmx},
                                  {"sse", Average2x2Y16SWord_sse},
                                  {"sse2", Average2x2Y16SWord_sse2}},
                                 2 * px, px / 2, averages);
    bench.Run<UnifSwordFunction>("2x2 averages UV16",
                                 {{"c", Average2x2UV16SWord_c},
                                  {"mmx", Average2x2UV16SWord_mmx},
                                  {"sse", Average2x2UV16SWord_sse},
                                  {"sse2", Average2x2UV16SWord_sse2}},
                                 2 * px, px / 2, averages);

    // Targets and plain-to-SSE2 speed-ups.
    const auto time = [&](auto call) { return FastestCall(settings, call); };
    const double convolution = time([&] { convolve(Svertka_sse2); });
    const double blurred = time([&] { blur(blure_const_sword_funct_sse2); });
    PrintRatio("convolution 3x3 sse2", convolution, "blur sse2", blurred);
    const double coldNoise = FastestColdCopy(settings, 8 * px), coldNoise3 = FastestColdCopy(settings, 10 * px);
    const double coldHistogram = FastestColdCopy(settings, 2 * px + 1024);
    PrintRatio("noise removal 1 sse2", time([&] { noise1(RemoveAddNoiseFromImage_sse2); }), "cold memcpy (8 B/px)", coldNoise);
    PrintRatio("noise removal 2 sse2", time([&] { noise2(RemoveAddNoiseFromImage2_sse2); }), "cold memcpy (8 B/px)", coldNoise);
    PrintRatio("noise removal 3 sse2", time([&] { noise3(RemoveAddNoiseFromImage3_sse2); }), "cold memcpy (10 B/px)", coldNoise3);
    PrintRatio("histogram sse2", time([&] { histogram(GetGistogramFromImage_sse2); }), "cold memcpy (2 B/px)", coldHistogram);
    std::printf("  plain-to-SSE2 speed-up:\n");
    const auto speedUp = [&](const char* what, const std::function<void()>& plain, const std::function<void()>& sse2) {
        std::printf("    %-26s %6.2f\n", what, time(plain) / time(sse2));
    };
    speedUp("convolution 3x3", [&] { convolve(Svertka_c); }, [&] { convolve(Svertka_sse2); });
    speedUp("blur", [&] { blur(blure_const_sword_funct_c); }, [&] { blur(blure_const_sword_funct_sse2); });
    speedUp("noise removal 2", [&] { noise2(RemoveAddNoiseFromImage2_c); }, [&] { noise2(RemoveAddNoiseFromImage2_sse2); });
    speedUp("histogram", [&] { histogram(GetGistogramFromImage_c); }, [&] { histogram(GetGistogramFromImage_sse2); });
    speedUp("8x8 averages", [&] { averages(Average8x8SWord_c); }, [&] { averages(Average8x8SWord_sse2); });
}

// Operations with constants and between planes, resize and mirror, on the frame's planes in place.
void RunArithmetic(Bench& bench, Frames& f)
{
    const size_t px = static_cast<size_t>(f.width) * f.height;
    const int w = f.width, h = f.height, ps = f.planeStride;
    alignas(16) const SWORD allLanes[8] = {-1, -1, -1, -1, -1, -1, -1, -1};
    alignas(16) const SWORD gain[8] = {320, 320, 320, 320, 320, 320, 320, 320};
    alignas(16) const SWORD pivot[8] = {128, 128, 128, 128, 128, 128, 128, 128};
    const auto unif = [&](const char* name, std::initializer_list<Variant<UnifSwordFunction>> variants, bool twoPlanes,
                          int count, const SWORD* k1, const SWORD* k2) {
        bench.Run<UnifSwordFunction>(name, variants, (twoPlanes ? 4 : 2) * px, 2 * px, [&](UnifSwordFunction fn) {
            fn(f.u.Words(), nullptr, f.v.Words(), nullptr, allLanes, ps, ps, w, h, count, k1, k2, nullptr);
        });
    };
#define SWORD_BENCH_VARIANTS(name) {{"c", name##_c}, {"mmx", name##_mmx}, {"sse2", name##_sse2}}
#define SWORD_BENCH_VARIANTS_AND_TWIN(name) \
    {{"c", name##_c}, {"mmx", name##_mmx}, {"sse2", name##_sse2}, {"sse2 any", name##_sse2u}}
    unif("add constant", SWORD_BENCH_VARIANTS_AND_TWIN(AddConstSWORD), false, 0, pivot, nullptr);
    unif("contrast about a pivot", SWORD_BENCH_VARIANTS_AND_TWIN(ContrastPivotSWORD), false, 8, gain, pivot);
    unif("clamp to 0..255", SWORD_BENCH_VARIANTS(ClampTo255SWORD), false, 0, nullptr, nullptr);
    unif("AND constant", SWORD_BENCH_VARIANTS_AND_TWIN(AndConstSWORD), false, 0, pivot, nullptr);
    unif("compare greater", SWORD_BENCH_VARIANTS_AND_TWIN(CmpGTConstSWORD), false, 0, pivot, nullptr);
    unif("set constant", SWORD_BENCH_VARIANTS_AND_TWIN(SetConstSWORD), false, 0, pivot, nullptr);
    unif("add planes", SWORD_BENCH_VARIANTS_AND_TWIN(AddPlaneSWORD), true, 0, nullptr, nullptr);
    unif("absolute difference", SWORD_BENCH_VARIANTS_AND_TWIN(AbsDiffSWORD), true, 0, nullptr, nullptr);
    unif("add where above threshold", SWORD_BENCH_VARIANTS_AND_TWIN(CmpGTAddForSWord), true, 0, pivot, nullptr);
    unif("threshold select", SWORD_BENCH_VARIANTS(ThresholdSelectSWORD), false, 0, pivot, gain);
    unif("mirror top to bottom", SWORD_BENCH_VARIANTS(YMirror_function), false, 0, nullptr, nullptr);
#undef SWORD_BENCH_VARIANTS
#undef SWORD_BENCH_VARIANTS_AND_TWIN

    // Half size in each direction, into a plane of the frame's size.
    bench.Run<ResizeSwordFunction>(
        "resize to half size",
        {{"c", resize_funct_sword_c}, {"mmx", resize_funct_sword_mmx}, {"sse", resize_funct_sword_sse},
         {"sse2", resize_funct_sword_sse2}},
        2 * px, px / 2, [&](ResizeSwordFunction fn) {
            int stride = 0;
            fn(f.y.Words(), f.r.Words(), w, h, ps, w / 2, h / 2, &stride, static_cast<int>(f.planeBytes), 0);
        });
}

void RunSize(const Settings& settings, const char* only, int width, int height)
{
    Frames f(width, height);
    Bench bench(settings, only, f);
    const size_t px = static_cast<size_t>(width) * height;
    const int w = width, h = height, ps = f.planeStride;
    SWORD* const Y = f.y.Words();
    SWORD* const UV = f.uv.Words();
    std::printf("%dx%d (%zu pixels), plane stride %d\n", width, height, px, ps);

    bench.Run<UnifSwordFunction>(
        "YUY2 to Y16+UV16",
        {{"c", ConvertYUY2toY16UV16_c}, {"mmx", ConvertYUY2toY16UV16_mmx}, {"sse2", ConvertYUY2toY16UV16_sse2}},
        2 * px, 4 * px, [&](UnifSwordFunction fn) {
            fn(Y, UV, f.yuy2.Bytes(), nullptr, nullptr, ps, 2 * w, w, h, 0, nullptr, nullptr, nullptr);
        });
    bench.Run<UnifSwordFunction>(
        "Y8 to Y16", {{"c", ConvertY8toY16_c}, {"mmx", ConvertY8toY16_mmx}, {"sse2", ConvertY8toY16_sse2}}, px, 2 * px,
        [&](UnifSwordFunction fn) {
            fn(Y, nullptr, f.y8.Bytes(), nullptr, nullptr, ps, w, w, h, 0, nullptr, nullptr, nullptr);
        });
    bench.Run<Rgb32ToPlanesFunction>(
        "RGB32 to R16G16B16",
        {{"c", rgb32_to_r16g16b16_c},
         {"mmx", rgb32_to_r16g16b16_mmx},
         {"sse", rgb32_to_r16g16b16_sse},
         {"sse2", rgb32_to_r16g16b16_sse2}}, 4 * px,
        6 * px, [&](Rgb32ToPlanesFunction fn) {
            SWORD* r = f.r.Words();
            SWORD* g = f.g.Words();
            SWORD* b = f.b.Words();
            int capacity = static_cast<int>(f.planeBytes), stride = 0;
            fn(f.rgb32.Bytes(), &r, &g, &b, &capacity, 4 * w, &stride, w, h);
        });
    bench.Run<SplitUVFunction>(
        "split UV16", {{"c", SpliteUVImageToU_V_c}, {"mmx", SpliteUVImageToU_V_mmx}, {"sse2", SpliteUVImageToU_V_sse2}},
        2 * px, 4 * px, [&](SplitUVFunction fn) { fn(UV, f.u.Words(), f.v.Words(), ps, w, h); });
    bench.Run<JoinUVFunction>(
        "join U and V", {{"c", JoinU_VImageToUV_c}, {"mmx", JoinU_VImageToUV_mmx}, {"sse2", JoinU_VImageToUV_sse2}},
        4 * px, 2 * px, [&](JoinUVFunction fn) { fn(UV, f.u.Words(), f.v.Words(), ps, w, h); });
    const auto planesTo = [&](PlanesToRgbFunction fn) {
        int stride = 0;
        fn(f.r.Words(), f.g.Words(), f.b.Words(), f.out.Bytes(), static_cast<int>(f.out.Size()), ps, &stride, w, h);
    };
    bench.Run<PlanesToRgbFunction>(
        "R16G16B16 to RGB32",
        {{"c", r16g16b16_to_rgb32_c}, {"mmx", r16g16b16_to_rgb32_mmx}, {"sse2", r16g16b16_to_rgb32_sse2}}, 6 * px,
        4 * px, planesTo);
    bench.Run<PlanesToRgbFunction>("R16G16B16 to RGB24", {{"plain", r16g16b16_to_rgb24}}, 6 * px, 3 * px, planesTo);
    bench.Run<PlanesToRgb16Function>(
        "R16G16B16 to RGB16 565",
        {{"c", r16g16b16_to_rgb16_c}, {"mmx", r16g16b16_to_rgb16_mmx}, {"sse2", r16g16b16_to_rgb16_sse2}}, 6 * px,
        2 * px, [&](PlanesToRgb16Function fn) {
            int stride = 0;
            fn(f.r.Words(), f.g.Words(), f.b.Words(), f.out.Bytes(), static_cast<int>(f.out.Size()), ps, &stride, w,
               h, 0);
        });
    bench.Run<Rgb24ToYuy2Function>(
        "RGB24 to YUY2",
        {{"c", ConvertRGB24ToYUY2_c}, {"mmx", ConvertRGB24ToYUY2_mmx}, {"sse2", ConvertRGB24ToYUY2_sse2}}, 3 * px,
        2 * px, [&](Rgb24ToYuy2Function fn) { fn(f.out.Bytes(), f.rgb24.Bytes(), 2 * w, 3 * w, w, h); });
    bench.Run<Rgb24ToYuy2Function>("RGB24 to YUY2 in place", {{"plain", nullptr}}, 3 * px, 2 * px,
                                   [&](Rgb24ToYuy2Function) { ConvertRGB24ToYUY2InPlace(f.out.Bytes(), w, h, 3 * w); });
    bench.Run<Y16UV16ToYuy2Function>(
        "Y16+UV16 to YUY2",
        {{"c", ConvertY16UV16ToYUY2_c}, {"mmx", ConvertY16UV16ToYUY2_mmx}, {"sse2", ConvertY16UV16ToYUY2_sse2}},
        4 * px, 2 * px, [&](Y16UV16ToYuy2Function fn) { fn(Y, UV, ps, f.out.Bytes(), 2 * w, w, h); });
    bench.Run<Y16ToYuy2Function>(
        "Y16 to YUY2", {{"c", ConvertY16ToYUY2_c}, {"mmx", ConvertY16ToYUY2_mmx}, {"sse2", ConvertY16ToYUY2_sse2}},
        2 * px, 2 * px, [&](Y16ToYuy2Function fn) { fn(Y, ps, f.out.Bytes(), 2 * w, w, h); });
    RunEffects(bench, f);
    RunArithmetic(bench, f);
    RunFilters(settings, bench, f);
}

} // namespace

int main(int argc, char** argv)
{
    const Settings settings = ReadBenchmarkSettings(argc, argv, Settings{});
    std::printf("SWORD conversions: fastest of %d runs of %d calls; MB/s counts bytes read and written\n",
                settings.runs, settings.calls);
    const char* only = argc > 3 ? argv[3] : nullptr;
    RunSize(settings, only, 640, 480);
    RunSize(settings, only, 1920, 1080);
    return 0;
}
