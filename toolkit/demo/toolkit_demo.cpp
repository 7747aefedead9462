// Test harness of the widget toolkit: shows one page built by the page's factory in a 720 x 416
// window at the top left of the display, with the default skins beside the program and a colour
// table whose entries above 67 all differ. Prints each child's screen rectangle, then "ready", then
// each WM_COMMAND the page's children post, one line each.
// Usage: toolkit_demo <page> [seconds]   (without seconds it runs until its window is closed)
#include "DemoPages.h"

#include "FunctWorkWithHWND.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <io.h>
#include <string>

namespace {

constexpr int WindowWidth = 720;
constexpr int WindowHeight = 416;
constexpr uint32_t ProcessorMode = 4;
constexpr uint32_t FirstTestColour = 68;
const char WindowClass[] = "KorvaneToolkitDemoWindow";

std::string SkinFolder()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path);
    folder.resize(folder.find_last_of('\\') + 1);
    return folder + "ResourceBMP\\DefaultSchemeKorvane";
}

LRESULT CALLBACK HostProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND:
        std::printf("WM_COMMAND id %u code 0x%X lParam 0x%llX\n", LOWORD(wParam), HIWORD(wParam),
                    static_cast<unsigned long long>(lParam));
        std::fflush(stdout);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

HWND CreateHost(HINSTANCE module)
{
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = HostProcedure;
    windowClass.hInstance = module;
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
    windowClass.lpszClassName = WindowClass;
    RegisterClassExA(&windowClass);
    return CreateWindowExA(0, WindowClass, "toolkit_demo", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, WindowWidth,
                           WindowHeight, nullptr, nullptr, module, nullptr);
}

// The default colours and fonts, and a colour of its own for every entry above 67, so that a
// widget reading a wrong entry shows it.
GDIListUserInterface2 TestColours()
{
    GDIListUserInterface2 table;
    table.Init(GDITableSizeUserInterface2, 0);
    FillDefaultGDITableUserInterface2(&table);
    for (uint32_t entry = FirstTestColour; entry < GDITableSizeUserInterface2; ++entry)
        table.GetElement(entry).m_color = RGB((entry * 67) % 200 + 40, (entry * 131) % 200 + 40, (entry * 29) % 200 + 40);
    return table;
}

void PrintChildren(PageObjectUserInterface2& page, const InfoPageUserInterface2& description)
{
    for (uint32_t row = 0; row < description.m_children.GetCount(); ++row) {
        const ChildRowPageUserInterface2& cells = description.m_children.GetElement(row);
        for (uint32_t column = 0; column < cells.GetCount(); ++column) {
            const InfoChildPageUserInterface2& cell = cells.GetElement(column);
            BaseUserInterface* child = nullptr;
            if (cell.m_element_id == 0 ||
                FAILED(page.GetChildObjectUserInterfaceReal(cell.m_element_id, &child, cell.m_kind)) || child == nullptr)
                continue;
            RECT rect = {};
            GetWindowRect(child->GetHWNDReal(), &rect);
            std::printf("child %u kind %u %ld %ld %ld %ld\n", cell.m_element_id, cell.m_kind, rect.left, rect.top,
                        rect.right, rect.bottom);
            page.FreeChildObjectUserInterfaceReal(child, cell.m_kind);
        }
    }
}

// Dispatches messages until the time is up (0: until the window closes).
void RunMessages(double seconds)
{
    const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(seconds * 1000.0);
    for (;;) {
        if (seconds > 0 && GetTickCount64() >= end)
            return;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT)
                return;
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
}

int Usage()
{
    std::fprintf(stderr, "usage: toolkit_demo <page> [seconds]; pages:");
    for (const DemoPage& page : DemoPages())
        std::fprintf(stderr, " %s", page.m_name);
    std::fprintf(stderr, "\n");
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    // Lines end in "\n" alone for the programs that read them.
    _setmode(_fileno(stdout), _O_BINARY);
    if (argc < 2)
        return Usage();
    const DemoPage* chosen = nullptr;
    for (const DemoPage& page : DemoPages())
        if (std::strcmp(page.m_name, argv[1]) == 0)
            chosen = &page;
    if (chosen == nullptr)
        return Usage();
    const double seconds = argc > 2 ? std::atof(argv[2]) : 0.0;

    HINSTANCE module = GetModuleHandleA(nullptr);
    HWND host = CreateHost(module);
    if (host == nullptr) {
        std::fprintf(stderr, "the window could not be made\n");
        return 1;
    }
    {
        PageObjectUserInterface2 page({}, 0, 0, "toolkit_demo page", module);
        if (FAILED(page.CreateObject())) {
            std::fprintf(stderr, "the page could not be made\n");
            return 1;
        }
        page.SetWindowReal(0, host);
        page.SetWindowReal(1, host);
        page.SetOptimCPUReal(ProcessorMode);
        page.SetTextVarForObjectReal(1, SkinFolder().c_str());
        const GDIListUserInterface2 colours = TestColours();
        page.UpdateGDIInfoForObjectReal(&colours, nullptr, static_cast<int32_t>(colours.GetCount()));
        page.ControlStatObjectShowReal(BaseUserInterface::StateShown, 1);
        page.MoveObjectReal(0, 0, WindowWidth, WindowHeight);
        InfoPageUserInterface2 description;
        chosen->m_describe(description);
        page.UpdatePageReal(&description);
        chosen->m_configure(page);
        PrintChildren(page, description);
        std::printf("ready\n");
        std::fflush(stdout);
        RunMessages(seconds);
        page.FreeObject();
    }
    SafeDestroyWindow(host, "toolkit_demo");
    return 0;
}
