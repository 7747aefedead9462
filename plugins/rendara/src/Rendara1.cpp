#include "Rendara1.h"

#include "FunctWorkWithHWND.h"

namespace {

LRESULT CALLBACK OutputWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    // The instance record rides in the user data from WM_CREATE on; its state names the object.
    auto* instance = reinterpret_cast<InfoFilterObjectDataPath1*>(
        message == WM_CREATE ? reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams)
                             : GetWindowLongPtrA(window, GWLP_USERDATA));
    auto* state = instance != nullptr ? static_cast<InfoFilterStateRendara1*>(instance->m_state) : nullptr;
    auto* object = state != nullptr ? static_cast<Rendara1*>(state->m_owner) : nullptr;
    if (message == WM_CREATE)
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(instance));
    if (object == nullptr) {
        if (message == WM_DESTROY)
            SetWindowLongPtrA(window, GWLP_USERDATA, 0);
        return message == WM_CREATE ? 0 : DefWindowProcA(window, message, wParam, lParam);
    }
    return object->HandleWindowMessage(instance, window, message, wParam, lParam);
}

} // namespace

Rendara1::Rendara1(HINSTANCE module) : m_module(module)
{
    try {
        m_text_id = "Rendara1";
        m_version = 1.21f;
        WNDCLASSEXA windowClass = {};
        windowClass.cbSize = sizeof(windowClass);
        windowClass.style = kClassStyle;
        windowClass.lpfnWndProc = OutputWindowProcedure;
        windowClass.hInstance = module;
        windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
        windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH));
        windowClass.lpszClassName = kWindowClassName;
        RegisterWindowClass(&windowClass);
    }
    CATCH_ALL_RETHROW()
}

Rendara1::~Rendara1()
{
    UnregisterClassA(kWindowClassName, m_module);
}

HRESULT Rendara1::FillConnectionPoints(ListConnectionPointsDataPath1* points, int32_t size)
{
    if (points == nullptr)
        return E_INVALIDARG;
    if (size < static_cast<int32_t>(sizeof(ListConnectionPointsDataPath1)))
        return E_UNEXPECTED;
    try {
        ListConnectionPointsDataPath1::DeclarePoint(points->m_inputs.GetElement(0), "DataInput1",
                                                    kTypeInputPointDataPath1);
        // The output point is described, but the frame ends here: nothing is forwarded.
        ListConnectionPointsDataPath1::DeclarePoint(points->m_outputs.GetElement(0), "DataOutput1",
                                                    kTypeOutputPointDataPath1);
        points->m_count_inputs = 1;
        points->m_count_outputs = 0;
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

bool Rendara1::IsInterfaceImplemented(const GUID& iid) const
{
    return IsEqualGUID(iid, IID_IVideoOutputRender1) || IsEqualGUID(iid, IID_IControlOptimProcessor) ||
           IsEqualGUID(iid, IID_IFilter_GeneralCompress);
}

HRESULT Rendara1::InitInfoFilterImpl(InfoFilterObjectDataPath1* instance, int32_t mode)
{
    const HRESULT filled = FilterObjectFrameDataPath1::InitInfoFilterImpl(instance, mode);
    if (FAILED(filled))
        return filled;
    try {
        auto* state = static_cast<InfoFilterStateRendara1*>(instance->m_state);
        CreateOutputWindow(instance, state);
        state->m_start_time = 0;
        // Registered for the program's use; nothing here posts or handles them.
        state->m_message_failed = RegisterWindowMessageA("Quillmark::UserFailedEvent::28.08.2005");
        state->m_message_succeeded = RegisterWindowMessageA("Quillmark::UserSucceesEvent::28.08.2005");
        return LoadRenderLibrary(state, false);
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT Rendara1::CreateOutputWindow(InfoFilterObjectDataPath1* instance, InfoFilterStateRendara1* state)
{
    state->m_window = SafeCreateWindow(kWindowExStyle, kWindowClassName, nullptr, state->m_style, state->m_window_x,
                                       state->m_window_y, state->m_window_width, state->m_window_height, nullptr,
                                       nullptr, m_module, instance, "Rendara1::Rendara1");
    if (state->m_window == nullptr)
        return E_FAIL;
    // The system gives a new top-level window a caption, and a captioned window its smallest size;
    // the output window has neither.
    SetWindowLongA(state->m_window, GWL_STYLE, static_cast<LONG>(state->m_style));
    SetWindowPos(state->m_window, nullptr, state->m_window_x, state->m_window_y, state->m_window_width,
                 state->m_window_height, SWP_FRAMECHANGED | SWP_NOZORDER | SWP_NOACTIVATE);
    return S_OK;
}

HRESULT Rendara1::FreeInfoFilterImpl(InfoFilterObjectDataPath1* instance)
{
    if (instance == nullptr)
        return E_INVALIDARG;
    try {
        if (!instance->m_in_use || instance->m_text_id != m_text_id)
            return E_UNEXPECTED;
        auto* state = static_cast<InfoFilterStateRendara1*>(instance->m_state);
        const HRESULT unloaded = state != nullptr ? LoadRenderLibrary(state, true) : S_OK;
        // The state's destruction also destroys the output window, from any thread.
        const HRESULT freed = FilterObjectFrameDataPath1::FreeInfoFilterImpl(instance);
        return FAILED(freed) ? freed : unloaded;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT Rendara1::DispatchInterfaceCall(GUID iid, int32_t indexMethod, ListParamsDataPath1* params,
                                        InfoFilterObjectDataPath1* instance)
{
    return DispatchToOwnState(instance, params, [&](InfoFilterStateRendara1& state, ListParamsDataPath1& list) {
        if (IsEqualGUID(iid, IID_IVideoOutputRender1))
            return DispatchVideoOutput(&state, indexMethod, list);
        if (IsEqualGUID(iid, IID_IControlOptimProcessor))
            return state.m_optim.DispatchSelecting(indexMethod, &list, kSupportedModes, state.m_kernels,
                                                   SelectPackYuy2Kernels);
        if (IsEqualGUID(iid, IID_IFilter_GeneralCompress))
            return DispatchCompress(&state, indexMethod, list);
        return E_FAIL;
    });
}

HRESULT CallRenderObject(const Rendara1* owner, InfoFilterStateRendara1* state, RenderObjectOperation operation)
{
    if (state == nullptr)
        return E_INVALIDARG;
    if (state->m_owner != owner)
        return E_UNEXPECTED;
    GeneralVideoRendererObject* object = state->m_render.m_object;
    if (object == nullptr)
        return S_OK;
    try {
        return (object->*operation)();
    }
    CATCH_ALL_RETURN(E_FAIL)
}

void RedrawOutputWindow(const InfoFilterStateRendara1* state)
{
    if (SUCCEEDED(CheckIsWindow(state->m_window)))
        InvalidateRect(state->m_window, nullptr, FALSE);
}
