// A test double of the outside virtual-camera driver, run as a process of its own. Usage:
//     virtual_camera_reader <parent process id>
// It ends with its parent. Commands arrive one a line on the standard input; each is answered
// with one line on the standard output ("ok ...", or "error ..."):
//     open <kind>              open the kind's section and mutex, creating them as the driver does
//     create <kind> <bytes>    the same, creating the section with the size when it does not exist
//     largest <width> <height> tell the largest frame accepted
//     read | peek              "ok <flag> <width> <height> <stride> <digest>"; read also takes the frame
//     pixel <x> <y>            "ok <y> <u> <v>" of the waiting frame's pixel, the frame left waiting
//     hold | release           take the mutex and keep it, or give it back
//     exit-holding             take the mutex and end without giving it back
//     exit
#include "VirtualCameraDriverDouble.h"

#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <io.h>
#include <string>

namespace {

DWORD WINAPI EndWithParent(void* parent)
{
    WaitForSingleObject(static_cast<HANDLE>(parent), INFINITE);
    ExitProcess(3);
}

void Answer(HRESULT result, const char* details = "")
{
    if (SUCCEEDED(result))
        std::printf("ok%s%s\n", *details != 0 ? " " : "", details);
    else
        std::printf("error 0x%08lX\n", static_cast<unsigned long>(result));
    std::fflush(stdout);
}

HRESULT ReportFrame(VirtualCameraDriverDouble& driver, bool take)
{
    VirtualCameraFrameReport report;
    const HRESULT result = driver.ReadFrame(report, take);
    char details[128];
    std::snprintf(details, sizeof(details), "%d %d %d %d %016" PRIx64, report.flag, report.width, report.height,
                  report.stride, report.digest);
    Answer(result, details);
    return result;
}

void ReportPixel(VirtualCameraDriverDouble& driver, int32_t x, int32_t y)
{
    int32_t yuv[3] = {};
    const HRESULT result = driver.ReadPixel(x, y, yuv);
    char details[64];
    std::snprintf(details, sizeof(details), "%d %d %d", yuv[0], yuv[1], yuv[2]);
    Answer(result, details);
}

void RunCommand(VirtualCameraDriverDouble& driver, const char* line)
{
    char command[32] = {};
    long first = 0;
    long second = 0;
    const int count = std::sscanf(line, "%31s %ld %ld", command, &first, &second);
    const std::string name = count >= 1 ? command : "";
    if (name == "open" && count == 2)
        Answer(driver.Open(static_cast<int32_t>(first)));
    else if (name == "create" && count == 3)
        Answer(driver.Open(static_cast<int32_t>(first), static_cast<uint32_t>(second)));
    else if (name == "largest" && count == 3)
        Answer(driver.SetLargestSize(static_cast<int32_t>(first), static_cast<int32_t>(second)));
    else if (name == "read" || name == "peek")
        ReportFrame(driver, name == "read");
    else if (name == "pixel" && count == 3)
        ReportPixel(driver, static_cast<int32_t>(first), static_cast<int32_t>(second));
    else if (name == "hold")
        Answer(driver.Hold());
    else if (name == "release") {
        driver.Release();
        Answer(S_OK);
    }
    else if (name == "exit-holding") {
        Answer(driver.Hold());
        ExitProcess(0);
    }
    else
        Answer(E_INVALIDARG);
}

} // namespace

int main(int argc, char** argv)
{
    _setmode(_fileno(stdout), _O_BINARY);
    if (argc < 2)
        return 2;
    HANDLE parent = OpenProcess(SYNCHRONIZE, FALSE, static_cast<DWORD>(std::strtoul(argv[1], nullptr, 10)));
    if (parent == nullptr)
        return 2;
    CloseHandle(CreateThread(nullptr, 0, EndWithParent, parent, 0, nullptr));

    VirtualCameraDriverDouble driver;
    char line[256];
    while (std::fgets(line, sizeof(line), stdin) != nullptr) {
        if (std::strncmp(line, "exit", 4) == 0 && (line[4] == '\n' || line[4] == '\r' || line[4] == 0))
            break;
        RunCommand(driver, line);
    }
    return 0;
}
