// The cost of a group frame's picture: a tick with nothing changed, a full rebuild (GDI drawing into
// the planes, the final buffer, the 32-bit conversion) and the repaint of the ready picture; then
// 7 sliders in 540 x 196 (idle tick, a drag step, a glow step, full rebuild) and 4 buttons in
// 540 x 60 (idle tick, a glow step, a glass step, full rebuild), with the default skins when they
// lie beside the program. The minimum over the runs. Needs a display.
// Usage: toolkit_bench [width x height, 720x416] [runs]
//        toolkit_bench status [runs]   (the status strip and the schedule grid)
//        toolkit_bench property-page [width x height, 720x416] [runs]   (the representative page)
//        toolkit_bench histogram|graph [runs]
//        toolkit_bench list [runs]     (a list of 100 rows)
#include "DataWidgetScenes.h"
#include "GroupObjectUserInterface2.h"
#include "ListBenchScenes.h"
#include "SetButtonsObjectUserInterface2.h"
#include "StatusBenchScenes.h"
#include "ToolkitBenchScenes.h"
#include "TrackbarObjectUserInterface2.h"

#include "BenchWidgets.h"
#include "BenchmarkTiming.h"
#include "DefaultSkinFolder.h"

#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace {

constexpr int IdleTicksPerRun = 10000;
constexpr int RebuildsPerRun = 20;
constexpr int RepaintsPerRun = 50;
constexpr int StepsPerRun = 200;
constexpr int LabelWidth = 14;
constexpr uint32_t SliderCount = 7;
constexpr uint32_t ButtonCount = 4;
const char* const SliderThumbs[SliderCount] = {
    "CorrectImageTrackbarSliderBright.bmp", "CorrectImageTrackbarSliderContrast.bmp",
    "CorrectImageTrackbarSliderSaturation.bmp", "CorrectImageTrackbarSliderHue.bmp",
    "CorrectImageTrackbarSliderSharp.bmp", "CorrectImageTrackbarSliderFrameRateCamera.bmp",
    "CorrectImageTrackbarSliderFrameRate.bmp"};
const char* const ButtonPictures[ButtonCount] = {
    "ExtPropertyEffects_EnableEffect.bmp", "ExtPropertyEffects_BlureHistogram.bmp",
    "ExtPropertyEffects_ShiftHistogram.bmp", "ExtPropertyEffects_ResetManualGroundEffect.bmp"};

ElementListUserInterface2 ThreeFrames()
{
    ElementListUserInterface2 elements;
    elements.Init(3, 0);
    const char* captions[3] = {"Source", "Effects", "Output"};
    for (uint32_t i = 0; i < 3; ++i) {
        InfoElementUserInterface2& element = elements.GetElement(i);
        element.m_header_flag = 1;
        element.Field(GroupObjectUserInterface2::FieldSize).SetFloat(i == 2 ? 200.0f : 0.5f);
        element.Field(GroupObjectUserInterface2::FieldCaption).SetText(captions[i]);
    }
    return elements;
}

// A shown widget of the size with the skin folder and skins, its picture drawn once.
template <class Widget>
bool SetUp(Widget& widget, int width, int height, const std::vector<const char*>& skins)
{
    if (!ShowBenchWidget(widget, width, height, DefaultSkinFolder().c_str(), skins))
        return false;
    widget.OnTimerCycle(widget.GetHWNDReal(), 0, 0, false);
    return true;
}

struct Figures
{
    double idle, drag, glow, glass, rebuild;
};

void PrintFigures(const char* title, const Figures& figures)
{
    std::printf("%s\n", title);
    PrintFigure(LabelWidth, "idle tick", figures.idle, " (target 10 us)");
    if (figures.drag > 0)
        PrintFigure(LabelWidth, "drag step", figures.drag, " (target 2000 us)");
    PrintFigure(LabelWidth, "glow step", figures.glow, " (target 2000 us)");
    if (figures.glass > 0)
        PrintFigure(LabelWidth, "glass step", figures.glass, " (target 2000 us)");
    PrintFigure(LabelWidth, "full rebuild", figures.rebuild, " (target 20000 us)");
}

// Moves the mouse on and off a point each call, so that the glow rises and falls; the test clock
// moves one tick between.
std::function<void()> GlowStep(BaseUserInterface& widget, int x, int y)
{
    return [&widget, x, y, on = false]() mutable {
        on = !on;
        SendMessageA(widget.GetHWNDReal(), WM_MOUSEMOVE, 0, on ? MAKELPARAM(x, y) : MAKELPARAM(1, 1));
        AdvanceTestClockMilliseconds(50);
        widget.OnTimerCycle(widget.GetHWNDReal(), 0, 0, false);
    };
}

void BenchSliders(BenchmarkSettings settings)
{
    ElementListUserInterface2 elements;
    elements.Init(SliderCount, 0);
    for (uint32_t i = 0; i < SliderCount; ++i) {
        InfoElementUserInterface2& element = elements.GetElement(i);
        element.m_header_flag = 1;
        element.Field(TrackbarObjectUserInterface2::FieldThumbPicture).SetText(SliderThumbs[i]);
        element.Field(InfoElementUserInterface2::FieldCommand).SetInt(1009 + static_cast<int32_t>(i));
        element.Field(TrackbarObjectUserInterface2::FieldMinimum).SetFloat(1.0f);
        element.Field(TrackbarObjectUserInterface2::FieldMaximum).SetFloat(101.0f);
        element.Field(TrackbarObjectUserInterface2::FieldValue).SetFloat(51.0f);
        element.Field(TrackbarObjectUserInterface2::FieldDefault).SetFloat(51.0f);
        element.Field(8).SetInt(4);
        element.Field(9).SetInt(14);
    }
    TrackbarObjectUserInterface2 sliders(elements, SliderCount, 1, "toolkit_bench sliders", nullptr);
    if (!SetUp(sliders, 540, 196, {"CorrectImageTrackbarBackground.bmp", "CorrectImageTrackbarForground.bmp",
                                   "CorrectImageTrackbarBackgroundStencil.bmp", "CorrectImageTrackbarGenerateStencil.bmp",
                                   "CorrectImageTrackbarSliderStencil.bmp", "CorrectImageTrackbarForgroundStencil.bmp"})) {
        std::fprintf(stderr, "the trackbar's window could not be made\n");
        return;
    }
    HWND window = sliders.GetHWNDReal();
    const auto tick = [&] { sliders.OnTimerCycle(window, 0, 0, false); };
    Figures figures{};
    settings.calls = IdleTicksPerRun;
    figures.idle = FastestCall(settings, tick);
    // Slider 3's thumb, held and moved up and down by 20 pixels.
    RECT thumb = {};
    sliders.GetPosThumbFromValue(3, 51.0f, &thumb);
    const int x = (thumb.left + thumb.right) / 2, y = (thumb.top + thumb.bottom) / 2;
    SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    settings.calls = StepsPerRun;
    figures.drag = FastestCall(settings, [&, down = false]() mutable {
        down = !down;
        SendMessageA(window, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x, down ? y + 20 : y));
        tick();
    });
    // Back to where it was held: the thumb is at its first place again.
    SendMessageA(window, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x, y));
    SendMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    figures.glow = FastestCall(settings, GlowStep(sliders, x, y));
    settings.calls = RebuildsPerRun;
    figures.rebuild = FastestCall(settings, [&] {
        sliders.RebuildObject();
        tick();
    });
    PrintFigures("trackbar 540 x 196, 7 sliders", figures);
}

void BenchButtons(BenchmarkSettings settings)
{
    ElementListUserInterface2 elements;
    elements.Init(ButtonCount, 0);
    for (uint32_t i = 0; i < ButtonCount; ++i) {
        InfoElementUserInterface2& element = elements.GetElement(i);
        element.m_header_flag = 1;
        element.Field(SetButtonsObjectUserInterface2::FieldFace).SetText(ButtonPictures[i]);
        element.Field(SetButtonsObjectUserInterface2::FieldSecond).SetText("ExtPropertyEffects_GlassLayer.bmp");
        element.Field(SetButtonsObjectUserInterface2::FieldThird).SetText("ExtPropertyEffects_StencilLayer.bmp");
        element.Field(SetButtonsObjectUserInterface2::FieldCaption).SetText("");
        element.Field(SetButtonsObjectUserInterface2::FieldSize).SetFloat(1.0f);
        element.Field(InfoElementUserInterface2::FieldCommand).SetInt(2090 + static_cast<int32_t>(i));
        // A toggle without bit 0x200, which would keep its glow off.
        element.Field(InfoElementUserInterface2::FieldState).SetInt(0x1);
        element.Field(8).SetInt(12);
        element.Field(9).SetInt(14);
    }
    const std::vector<const char*> skins = {
        "ExtPropertyEffects_Background.bmp",          "ExtPropertyEffects_CursorForeground.bmp",
        "ExtPropertyEffects_PressedState.bmp",        "ExtPropertyEffects_DisabledState.bmp",
        "ExtPropertyEffects_StencilCursorForeground.bmp", "ExtPropertyEffects_StencilPressedForeground.bmp",
        "ExtPropertyEffects_StencilDisabledForeground2.bmp"};
    Figures figures{};
    {
        SetButtonsObjectUserInterface2 buttons(elements, ButtonCount, 2, "toolkit_bench buttons", nullptr);
        if (!SetUp(buttons, 540, 60, skins)) {
            std::fprintf(stderr, "the button set's window could not be made\n");
            return;
        }
        HWND window = buttons.GetHWNDReal();
        const auto tick = [&] { buttons.OnTimerCycle(window, 0, 0, false); };
        settings.calls = IdleTicksPerRun;
        figures.idle = FastestCall(settings, tick);
        settings.calls = StepsPerRun;
        figures.glow = FastestCall(settings, GlowStep(buttons, 200, 30));
        settings.calls = RebuildsPerRun;
        figures.rebuild = FastestCall(settings, [&] {
            buttons.RebuildObject();
            tick();
        });
    }
    SetButtonsObjectUserInterface2 glass(elements, ButtonCount, 2 | SetButtonsObjectUserInterface2::StyleGlass,
                                         "toolkit_bench glass buttons", nullptr);
    if (SetUp(glass, 540, 60, skins)) {
        settings.calls = StepsPerRun;
        figures.glass = FastestCall(settings, [&] {
            AdvanceTestClockMilliseconds(50);
            glass.OnTimerCycle(glass.GetHWNDReal(), 0, 0, false);
        });
    }
    PrintFigures("button set 540 x 60, 4 buttons", figures);
}

} // namespace

int main(int argc, char** argv)
{
    const int sceneRuns = RunsArgument(argc, argv, 2, BenchmarkSettings().runs);
    if (argc > 1 && std::strcmp(argv[1], "status") == 0)
        return RunStatusAndScheduleScenes(sceneRuns);
    if (argc > 1 && std::strcmp(argv[1], "list") == 0)
        return RunListScenes(sceneRuns);
    if (argc > 1 && std::strcmp(argv[1], "histogram") == 0)
        return RunHistogramScene(sceneRuns);
    if (argc > 1 && std::strcmp(argv[1], "graph") == 0)
        return RunGraphScene(sceneRuns);
    const bool propertyPage = argc > 1 && std::strcmp(argv[1], "property-page") == 0;
    if (propertyPage) {
        --argc;
        ++argv;
    }
    int width = 720, height = 416;
    if (argc > 1 && std::sscanf(argv[1], "%dx%d", &width, &height) != 2) {
        std::fprintf(stderr, "usage: toolkit_bench [property-page] [WIDTHxHEIGHT] [runs]\n");
        return 2;
    }
    BenchmarkSettings settings;
    settings.runs = RunsArgument(argc, argv, 2, settings.runs);
    if (propertyPage)
        return RunPropertyPageScene(width, height, settings.runs);

    GroupObjectUserInterface2 group(ThreeFrames(), 3, GroupObjectUserInterface2::LayoutSideBySide, "toolkit_bench",
                                    nullptr);
    if (!ShowBenchWidget(group, width, height, "bench")) {
        std::fprintf(stderr, "the group's window could not be made\n");
        return 1;
    }
    HWND window = group.GetHWNDReal();

    const auto tick = [&] { group.OnTimerCycle(window, 0, 0, false); };
    const auto rebuild = [&] {
        group.UpdateDataBufferReal(0, nullptr, true);
        tick();
    };
    const auto repaint = [&] {
        InvalidateRect(window, nullptr, FALSE);
        UpdateWindow(window);
    };
    rebuild();
    settings.calls = IdleTicksPerRun;
    const double idle = FastestCall(settings, tick);
    settings.calls = RebuildsPerRun;
    const double full = FastestCall(settings, rebuild);
    settings.calls = RepaintsPerRun;
    const double paint = FastestCall(settings, repaint);

    std::printf("group frame %d x %d, 3 frames, SSE2 operations, minimum of %d runs\n", width, height, settings.runs);
    PrintFigure(LabelWidth, "idle tick", idle);
    PrintFigure(LabelWidth, "full rebuild", full);
    PrintFigure(LabelWidth, "repaint", paint);

    // The glow and glass steps move on the test clock.
    SetTestClockMilliseconds(1000000);
    BenchSliders(settings);
    BenchButtons(settings);
    UseRealClock();
    return 0;
}
