#include "RenderTestSupport.h"

#include <cstring>

namespace {

constexpr const char* kWindowClass = "RendaraDx7 test output window";

void RegisterTestWindowClass(WNDPROC procedure)
{
    static const bool registered = [procedure] {
        WNDCLASSEXA windowClass = {};
        windowClass.cbSize = sizeof(windowClass);
        windowClass.lpfnWndProc = procedure;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
        windowClass.lpszClassName = kWindowClass;
        return RegisterClassExA(&windowClass) != 0;
    }();
    (void)registered;
}

} // namespace

Yuy2Frame::Yuy2Frame(int32_t width, int32_t height, BYTE luma)
    : m_data(std::make_unique<GuardedBuffer>(2 * static_cast<size_t>(width) * height)), m_header{}, m_width(width)
{
    BYTE* bytes = m_data->Bytes();
    for (size_t i = 0; i < m_data->Size(); i += 2) {
        bytes[i] = luma;
        bytes[i + 1] = 128;
    }
    BITMAPINFOHEADER& bitmap = m_header.bmiHeader;
    bitmap.biSize = sizeof(bitmap);
    bitmap.biWidth = width;
    bitmap.biHeight = height;
    bitmap.biPlanes = 1;
    bitmap.biBitCount = 16;
    bitmap.biCompression = MAKEFOURCC('Y', 'U', 'Y', '2');
    bitmap.biSizeImage = static_cast<DWORD>(m_data->Size());
    m_header.rcSource = RECT{0, 0, width, height};
    m_header.rcTarget = m_header.rcSource;
}

void Yuy2Frame::SetLuma(int32_t x, int32_t y, BYTE luma)
{
    m_data->Bytes()[2 * (static_cast<size_t>(y) * m_width + x)] = luma;
}

RenderTestWindow::RenderTestWindow(int x, int y, int width, int height, std::function<void()> onPaint, bool visible)
    : m_on_paint(std::move(onPaint))
{
    RegisterTestWindowClass(Procedure);
    m_window = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, kWindowClass, "", WS_POPUP | (visible ? WS_VISIBLE : 0),
                               x, y, width, height, nullptr, nullptr, GetModuleHandleA(nullptr), this);
}

RenderTestWindow::~RenderTestWindow()
{
    if (m_window != nullptr)
        DestroyWindow(m_window);
}

void RenderTestWindow::Repaint() const
{
    RedrawWindow(m_window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

void RenderTestWindow::Resize(int width, int height) const
{
    SetWindowPos(m_window, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT CALLBACK RenderTestWindow::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<RenderTestWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    switch (message) {
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT: {
        PAINTSTRUCT paint;
        BeginPaint(window, &paint);
        EndPaint(window, &paint);
        if (self != nullptr && self->m_on_paint)
            self->m_on_paint();
        return 0;
    }
    case WM_DESTROY:
        SetWindowLongPtrA(window, GWLP_USERDATA, 0);
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

int Picture::Count(uint32_t colour, int32_t left, int32_t top, int32_t right, int32_t bottom) const
{
    int count = 0;
    for (int32_t y = top; y < bottom; ++y)
        for (int32_t x = left; x < right; ++x)
            count += At(x, y) == colour ? 1 : 0;
    return count;
}

std::pair<int32_t, int32_t> Picture::ColumnSpan(uint32_t colour, int32_t top, int32_t bottom) const
{
    int32_t first = -1, last = -1;
    for (int32_t y = top; y < bottom; ++y)
        for (int32_t x = 0; x < m_width; ++x)
            if (At(x, y) == colour) {
                first = first < 0 || x < first ? x : first;
                last = x > last ? x : last;
            }
    return {first, last};
}

Picture CaptureClientArea(HWND window)
{
    RECT client = {};
    GetClientRect(window, &client);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&client), 2);
    Picture picture(client.right - client.left, client.bottom - client.top);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = picture.Width();
    info.bmiHeader.biHeight = -picture.Height();
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, picture.Width(), picture.Height(), screen, client.left, client.top, SRCCOPY);
    GdiFlush();
    const auto* pixels = static_cast<const uint32_t*>(bits);
    for (int32_t y = 0; y < picture.Height(); ++y)
        for (int32_t x = 0; x < picture.Width(); ++x)
            picture.At(x, y) = pixels[static_cast<size_t>(y) * picture.Width() + x] & 0xFFFFFF;
    SelectObject(memory, previous);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return picture;
}

Picture WaitForScreen(HWND window, const std::function<bool(const Picture&)>& check)
{
    constexpr ULONGLONG kGiveUpMs = 30000;
    constexpr DWORD kCaptureIntervalMs = 10;
    const ULONGLONG start = GetTickCount64();
    Picture previous(0, 0);
    Picture picture = CaptureClientArea(window);
    // Settled: the check passes and a further paint changed nothing.
    while (!(check(picture) && picture == previous) && GetTickCount64() - start < kGiveUpMs) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, kCaptureIntervalMs, QS_ALLINPUT);
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        // DirectDraw draws on the screen over the window; Wine may flush the window's own
        // pixels over it, so the paint is repeated until it shows.
        RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        previous = std::move(picture);
        picture = CaptureClientArea(window);
    }
    return picture;
}
