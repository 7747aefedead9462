#include "BenchWidgets.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

void PumpMessages()
{
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

bool ShowBenchWidget(BaseUserInterface& widget, int width, int height, const char* skinFolder,
                     const std::vector<const char*>& skins)
{
    widget.SetOptimCPUReal(4);
    if (FAILED(widget.CreateObject()))
        return false;
    KillTimer(widget.GetHWNDReal(), reinterpret_cast<UINT_PTR>(&widget));
    widget.SetTextVarForObjectReal(1, skinFolder);
    widget.ControlStatObjectShowReal(1, 1);
    widget.MoveObjectReal(0, 0, width, height);
    if (!skins.empty()) {
        const auto count = static_cast<uint32_t>(skins.size());
        TypedValueListUserInterface2 values;
        IndexListUserInterface2 indexes;
        values.Init(count, 0);
        indexes.Init(count, 0);
        for (uint32_t i = 0; i < count; ++i) {
            values.GetElement(i).SetText(skins[i]);
            indexes.GetElement(i) = static_cast<int32_t>(i);
        }
        widget.UpdateGeneralInfoForObjectReal(0, &values, &indexes, static_cast<int32_t>(count));
    }
    PumpMessages();
    return true;
}

void PrintFigure(int labelWidth, const char* label, double seconds, const char* note)
{
    std::printf("  %-*s%10.3f us%s\n", labelWidth, label, seconds * 1e6, note);
}

int RunsArgument(int argc, char** argv, int index, int fallback)
{
    return argc > index ? std::max(1, std::atoi(argv[index])) : fallback;
}
