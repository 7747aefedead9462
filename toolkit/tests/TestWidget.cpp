#include "TestWidget.h"

#include <algorithm>
#include <thread>

namespace {

const char* const g_testOperationNames[] = {"GMU_TestOperation_TestWidget, Korvane tests"};

} // namespace

int HookRecord::Count(const std::string& name) const
{
    return static_cast<int>(std::count(m_calls.begin(), m_calls.end(), name));
}

TestWidget::TestWidget(HookRecord& record, const ElementListUserInterface2& elements, Settings settings)
    : BaseUserInterface(elements, settings.m_count, settings.m_style, settings.m_name, nullptr, 7, settings.m_period),
      m_record(record)
{
    if (settings.m_class_name != nullptr)
        m_window_class_name = settings.m_class_name;
    m_test_messages.InitMessages(g_testOperationNames, 1);
    AddOperationTable(&m_test_messages);
}

HRESULT TestWidget::TestOperation(HRESULT answer)
{
    return SendOperation(m_test_messages, 0, static_cast<WPARAM>(static_cast<uint32_t>(answer)), 0,
                         "TestWidget::TestOperation");
}

HRESULT TestWidget::CompliteStandartMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, bool* handled)
{
    if (m_messages.GetIndexFromMessage(message) >= 0)
        m_operation_threads.push_back(GetCurrentThreadId());
    if (m_test_messages.GetIndexFromMessage(message) == 0 && handled != nullptr) {
        *handled = true;
        return static_cast<HRESULT>(wParam);
    }
    return BaseUserInterface::CompliteStandartMessage(window, message, wParam, lParam, handled);
}

HRESULT TestWidget::SetTextVarForObjectReal(int32_t index, const char* text)
{
    ++m_text_sets;
    return BaseUserInterface::SetTextVarForObjectReal(index, text);
}

HRESULT TestWidget::OnKeyMessage(UINT message, HWND window, WPARAM wParam, LPARAM lParam)
{
    m_record.m_calls.push_back("OnKeyMessage " + std::to_string(message) + " " + std::to_string(wParam));
    return BaseUserInterface::OnKeyMessage(message, window, wParam, lParam);
}

void TestWidget::SetFinalPicture(const std::vector<uint32_t>& pixels)
{
    const auto size = static_cast<uint32_t>(pixels.size() * sizeof(uint32_t));
    if (m_finall_rgb.m_size != size)
        m_finall_rgb.Allocate(size);
    std::copy(pixels.begin(), pixels.end(), reinterpret_cast<uint32_t*>(m_finall_rgb.m_pixels));
    m_finall_rgb.m_valid_count = 1;
}

TestWidget::~TestWidget()
{
    FreeObject();
}

HRESULT TestWidget::OnCreateWindow(HWND window, WPARAM wParam, LPARAM lParam, uint64_t time)
{
    m_record.m_calls.push_back("OnCreateWindow");
    return BaseUserInterface::OnCreateWindow(window, wParam, lParam, time);
}

HRESULT TestWidget::OnDestroyWindow(HWND window, WPARAM wParam, LPARAM lParam, uint64_t time)
{
    m_record.m_calls.push_back("OnDestroyWindow");
    m_record.m_destroy_thread = GetCurrentThreadId();
    return BaseUserInterface::OnDestroyWindow(window, wParam, lParam, time);
}

HRESULT TestWidget::OnGeneralInfoChanged()
{
    m_record.m_calls.push_back("OnGeneralInfoChanged");
    const auto& flags = m_property_changed.GetElement(0);
    m_record.m_changed_properties_seen = 0;
    for (uint32_t i = 0; i < flags.GetCount(); ++i)
        m_record.m_changed_properties_seen += flags.GetElement(i);
    return BaseUserInterface::OnGeneralInfoChanged();
}

HRESULT TestWidget::OnElementInfoChanged()
{
    m_record.m_calls.push_back("OnElementInfoChanged");
    m_record.m_element_flags_seen.assign(MaxElements, {});
    for (uint32_t i = 0; i < MaxElements; ++i)
        for (uint32_t field = 0; field < InfoElementUserInterface2::FieldCount; ++field)
            if (m_elements.GetElement(i).m_changed.GetElement(field))
                m_record.m_element_flags_seen[i].push_back(static_cast<int>(field));
    return BaseUserInterface::OnElementInfoChanged();
}

HRESULT TestWidget::RebuildObject()
{
    m_record.m_calls.push_back("RebuildObject");
    return BaseUserInterface::RebuildObject();
}

HRESULT TestWidget::SetChangedAllBuffers()
{
    m_record.m_calls.push_back("SetChangedAllBuffers");
    m_record.m_changed_fonts_seen = 0;
    for (uint32_t i = 0; i < GDITableSizeUserInterface2; ++i)
        m_record.m_changed_fonts_seen += m_gdi_changed.GetElement(i);
    return BaseUserInterface::SetChangedAllBuffers();
}

InfoElementUserInterface2 MakeElement(int32_t left, int32_t top, int32_t width, int32_t height, int32_t command,
                                      uint32_t state)
{
    InfoElementUserInterface2 element;
    element.m_header_flag = 1;
    element.Field(InfoElementUserInterface2::FieldRect).SetRect(left, top, width, height);
    element.Field(InfoElementUserInterface2::FieldCommand).SetInt(command);
    element.Field(InfoElementUserInterface2::FieldState).SetInt(static_cast<int32_t>(state));
    return element;
}

uint64_t LibraryHeapInUse()
{
    uint64_t own = 0;
    uint64_t strings = 0;
    SAFE_GET_INFO_HEAP(false, &own, nullptr);
    SAFE_GET_INFO_HEAP(false, &strings, GetHeapForDynamicString());
    return own + strings;
}

void PumpPending()
{
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

bool WaitFor(const std::function<bool()>& condition)
{
    const ULONGLONG end = GetTickCount64() + kWaitForLimitMs;
    for (;;) {
        PumpPending();
        if (condition())
            return true;
        const ULONGLONG now = GetTickCount64();
        if (now >= end)
            return false;
        // Woken by the next message for this thread; what changes elsewhere (the screen, another
        // process) is looked at again after at most 25 ms.
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(std::min<ULONGLONG>(25, end - now)),
                                  QS_ALLINPUT);
    }
}

void RunOnOtherThreadWhilePumping(const std::function<void()>& work)
{
    HANDLE done = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    std::thread worker([&] {
        work();
        SetEvent(done);
    });
    while (MsgWaitForMultipleObjects(1, &done, FALSE, INFINITE, QS_ALLINPUT) != WAIT_OBJECT_0)
        PumpPending();
    worker.join();
    CloseHandle(done);
}

MessageRecorder::MessageRecorder()
{
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = &Procedure;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "KorvaneToolkitTestMessageRecorder";
    RegisterClassExA(&windowClass);
    m_window = CreateWindowExA(0, windowClass.lpszClassName, "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                               windowClass.hInstance, this);
}

MessageRecorder::~MessageRecorder()
{
    DestroyWindow(m_window);
}

const std::vector<MessageRecorder::Message>& MessageRecorder::Received()
{
    PumpPending();
    return m_received;
}

LRESULT CALLBACK MessageRecorder::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE)
        SetWindowLongPtrA(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams));
    auto* recorder = reinterpret_cast<MessageRecorder*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (recorder != nullptr && (message == WM_COMMAND || (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST)))
        recorder->m_received.push_back({message, wParam, lParam});
    return DefWindowProcA(window, message, wParam, lParam);
}

std::vector<uint32_t> ScreenPixels(int32_t left, int32_t top, int32_t width, int32_t height)
{
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, left, top, SRCCOPY);
    GdiFlush();
    const auto* first = static_cast<const uint32_t*>(bits);
    std::vector<uint32_t> pixels(first, first + static_cast<size_t>(width) * height);
    for (uint32_t& pixel : pixels)
        pixel &= 0xFFFFFF;
    SelectObject(memory, previous);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return pixels;
}
