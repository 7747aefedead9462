// Times the render object's per-frame work on Wine's DirectDraw: UploadFrame (the grey
// conversion into the conversion surface) and DrawFrame (composition, captions and the blit to
// the window), and the grey conversion row functions alone, at 640x480 and 1920x1080.
// Usage: rendaradx7_bench [runs] [calls per run]; the minimum over the runs is reported. Needs a
// display at least 1920x1080 (xvfb-run -s "-screen 0 1920x1200x24").
#include "GreyConversion.h"
#include "RenderTestSupport.h"
#include "VideoRendererObjectDx7.h"

#include "BenchmarkTiming.h"

#include "ObjectDataPath1_InfoDataBufferPath1.h"

#include <cstdio>

namespace {

using Settings = BenchmarkSettings;

void Print(const char* what, double seconds, int pixels)
{
    std::printf("  %-34s %9.1f us %8.3f ns/pixel\n", what, seconds * 1e6, seconds * 1e9 / pixels);
}

void TimeGreyRows(const Settings& settings, int width, int height)
{
    const Yuy2Frame frame(width, height, 120);
    GuardedBuffer target(4 * static_cast<size_t>(width) * height);
    const int pixels = width * height;
    struct Variant
    {
        const char* name;
        GreyRowFunction row;
    };
    for (const Variant& variant : {Variant{"grey conversion, plain", GreyRowRGB32_c},
                                   Variant{"grey conversion, SSE2", GreyRowRGB32_sse2}}) {
        const GreyRowFunction row = variant.row;
        Print(variant.name, FastestCall(settings, [&] {
                  for (int y = 0; y < height; ++y)
                      row(frame.Data() + 2 * static_cast<size_t>(width) * y, target.Bytes() + 4 * static_cast<size_t>(width) * y,
                          width);
              }),
              pixels);
    }
}

void TimeRenderObject(const Settings& settings, int width, int height)
{
    VideoRendererObjectDx7 object;
    InfoDataBufferPath1 display;
    HRESULT drawn = S_OK;
    uint8_t needsInit = 0;
    // The window's paint draws, as the output window does; the bench calls DrawFrame directly.
    RenderTestWindow window(0, 0, width, height, nullptr);
    object.SetOutputWindow(window.Handle());
    if (FAILED(object.InitDevice())) {
        std::printf("  InitDevice failed\n");
        return;
    }
    object.SetStatusFlags(0);
    const Yuy2Frame frame(width, height, 120);
    const int pixels = width * height;
    Print("UploadFrame", FastestCall(settings, [&] { object.UploadFrame(frame.Data(), frame.Size(), frame.Header()); }),
          pixels);
    Print("DrawFrame", FastestCall(settings, [&] { drawn = object.DrawFrame(&display, &needsInit); }), pixels);
    Print("UploadFrame and DrawFrame", FastestCall(settings, [&] {
              object.UploadFrame(frame.Data(), frame.Size(), frame.Header());
              drawn = object.DrawFrame(&display, &needsInit);
          }),
          pixels);
    object.SetCaptionFlag(0, 1, 0);
    object.SetCaptionFlag(4, 1, 0);
    object.SetStatusFlags(RenderStatusLostSignal);
    Print("DrawFrame, time, statistics, status", FastestCall(settings, [&] { drawn = object.DrawFrame(&display, &needsInit); }),
          pixels);
    if (FAILED(drawn))
        std::printf("  DrawFrame answered 0x%08lx\n", static_cast<unsigned long>(drawn));
}

} // namespace

int main(int argc, char** argv)
{
    const Settings settings = ReadBenchmarkSettings(argc, argv, Settings{7, 20});
    std::printf("RendaraDx7: minimum of %d runs of %d calls\n", settings.runs, settings.calls);
    for (const auto& [width, height] : {std::pair{640, 480}, std::pair{1920, 1080}}) {
        std::printf("%dx%d\n", width, height);
        TimeGreyRows(settings, width, height);
        TimeRenderObject(settings, width, height);
    }
    return 0;
}
