// The library keeps no per-process or per-thread state of its own: the frame heap is made and
// released by the buffers themselves.
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID)
{
    return TRUE;
}
