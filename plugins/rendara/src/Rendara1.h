// The video output Rendara1: the filter at the end of a path. It shows every frame that reaches it
// in an output window of its own, through a render library (".vdr") it loads per instance,
// measures the frame rate, reports mouse input as events and lets zones be painted with the mouse.
// One object per process serves every instance record; each instance's window belongs to the
// thread that initialised it, where its frames and interface calls also arrive.
#pragma once

#include "InfoFilterStateRendara1.h"

class Rendara1 : public FilterObjectFrameDataPath1<Rendara1, InfoFilterStateRendara1>
{
public:
    static constexpr uint32_t kSupportedModes = 15;
    static constexpr UINT_PTR kTimerId = 12000;
    static constexpr const char* kWindowClassName = "Quillmark2005::Class for output video::Rendara1::23.07.2005";
    static constexpr uint32_t kClassStyle = CS_BYTEALIGNWINDOW | CS_BYTEALIGNCLIENT | CS_DBLCLKS;
    static constexpr DWORD kWindowExStyle = WS_EX_TOPMOST | WS_EX_TOOLWINDOW;

    explicit Rendara1(HINSTANCE module);
    ~Rendara1() override;

    HRESULT InitInfoFilterImpl(InfoFilterObjectDataPath1* instance, int32_t mode) override;
    HRESULT FreeInfoFilterImpl(InfoFilterObjectDataPath1* instance) override;
    HRESULT TransformFilterImpl(InfoDataBufferPath1* frame, uint32_t frameSize, InfoDataBufferPath1* output,
                                uint32_t outputSize, InfoFilterObjectDataPath1* instance,
                                ListEventsDataPath1* events, int32_t inputIndex) override;
    HRESULT DispatchInterfaceCall(GUID iid, int32_t indexMethod, ListParamsDataPath1* params,
                                  InfoFilterObjectDataPath1* instance) override;

    // What the frame needs of the class.
    HRESULT FillConnectionPoints(ListConnectionPointsDataPath1* points, int32_t size);
    bool IsInterfaceImplemented(const GUID& iid) const;

    // The frame display path: measures, converts the fitting scaled copy, uploads it and consumes
    // the frame.
    HRESULT DoRenderSample(InfoFilterStateRendara1* state, InfoDataBufferPath1* frame, uint32_t frameSize,
                           ListEventsDataPath1* events);

    // ---- Video output interface ----
    HRESULT GetFrameSize(InfoFilterStateRendara1* state, InfoParamDataPath1& width, InfoParamDataPath1& height);
    HRESULT SetSourceRect(InfoFilterStateRendara1* state, int32_t x, int32_t y, int32_t width, int32_t height);
    HRESULT GetSourceRect(InfoFilterStateRendara1* state, ListParamsDataPath1& params);
    HRESULT ShowOutputWindow(InfoFilterStateRendara1* state, bool show);
    HRESULT SetWeeklyTable(InfoFilterStateRendara1* state, const uint8_t* table, int32_t length);
    HRESULT SetWindowRect(InfoFilterStateRendara1* state, RECT rect);
    HRESULT GetWindowRect(InfoFilterStateRendara1* state, InfoParamDataPath1& out);
    HRESULT SetParentWindow(InfoFilterStateRendara1* state, HWND parent);
    HRESULT GetParentWindow(InfoFilterStateRendara1* state, InfoParamDataPath1& out);
    HRESULT SetWindowStyle(InfoFilterStateRendara1* state, DWORD style);
    HRESULT GetWindowStyle(InfoFilterStateRendara1* state, InfoParamDataPath1& out);
    HRESULT SetCaptionText(InfoFilterStateRendara1* state, int32_t index, const char* text);
    // Copies at most size - 1 characters and terminates the buffer.
    HRESULT GetCaptionText(InfoFilterStateRendara1* state, int32_t index, char* buffer, int32_t size);
    HRESULT GetOutputWindow(InfoFilterStateRendara1* state, InfoParamDataPath1& out);
    HRESULT SetValue14(InfoFilterStateRendara1* state, LONG_PTR value);
    HRESULT SetCaptionFlag(InfoFilterStateRendara1* state, int32_t index, int32_t flag, int32_t redraw);
    HRESULT EnableSignalTimeout(InfoFilterStateRendara1* state, bool enabled);
    HRESULT SetChannel(InfoFilterStateRendara1* state, int32_t channel, int32_t secondValue);
    HRESULT GetChannel(InfoFilterStateRendara1* state, InfoParamDataPath1& out);
    HRESULT SetCaptionColour(InfoFilterStateRendara1* state, const uint8_t* colour, int32_t length);
    HRESULT Start(InfoFilterStateRendara1* state);
    HRESULT SetValue22(InfoFilterStateRendara1* state, int32_t value);
    HRESULT SetEventTarget(InfoFilterStateRendara1* state, ObjectControlDataPath1* target);
    HRESULT SetAlternateColours(InfoFilterStateRendara1* state, int32_t flag);
    HRESULT SetOptionByte(InfoFilterStateRendara1* state, int32_t index, int32_t value);
    HRESULT SetDisplayMode(InfoFilterStateRendara1* state, uint32_t mode, int32_t value);
    // Direction non-zero: the state's masks into the capture record; zero: the record's into the state.
    HRESULT ExchangeZoneMasks(InfoFilterStateRendara1* state, StructFormatGraph1* record, int32_t direction);
    HRESULT SetAccessRecord(InfoFilterStateRendara1* state, const InfoUserKestrelUserServer* record);

    // ---- Compression interface: the render library's file ----
    HRESULT UpdateAvaibleCodecs(InfoFilterStateRendara1* state);
    HRESULT SetActiveCodecForCompress(InfoFilterStateRendara1* state, const char* fileName);

    // ---- The output window, on its own thread ----
    LRESULT HandleWindowMessage(InfoFilterObjectDataPath1* instance, HWND window, UINT message, WPARAM wParam,
                                LPARAM lParam);
    HRESULT MouseInput(InfoFilterStateRendara1* state, UINT message, WPARAM wParam, LPARAM lParam);
    HRESULT PaintOutputWindow(InfoFilterStateRendara1* state);
    HRESULT OnTimer(InfoFilterStateRendara1* state);

    // Unloads the instance's render library and, unless unloadOnly, loads the one its binding
    // names from this module's folder. A missing or incomplete library is not an error.
    HRESULT LoadRenderLibrary(InfoFilterStateRendara1* state, bool unloadOnly);

    HINSTANCE GetModule() const { return m_module; }

private:
    HRESULT DispatchVideoOutput(InfoFilterStateRendara1* state, int32_t indexMethod, ListParamsDataPath1& params);
    HRESULT DispatchCompress(InfoFilterStateRendara1* state, int32_t indexMethod, ListParamsDataPath1& params);
    HRESULT CreateOutputWindow(InfoFilterObjectDataPath1* instance, InfoFilterStateRendara1* state);
    HRESULT RecomputeAccess(InfoFilterStateRendara1* state);
    // The display steps of a frame in a shown window: format, statistics, the upload.
    HRESULT ShowFrame(InfoFilterStateRendara1* state, InfoDataBufferPath1& frame, ListEventsDataPath1* events);
    // Converts copy `level` of the frame into the scratch buffer and uploads it; a new ratio
    // raises its event into the list.
    HRESULT UploadScaledCopy(InfoFilterStateRendara1* state, InfoDataBufferPath1& frame, int level,
                             ListEventsDataPath1* events);
    HRESULT PaintFallbackText(InfoFilterStateRendara1* state);
    HRESULT PaintZoneCell(InfoFilterStateRendara1* state, WPARAM wParam, LPARAM lParam);
    // Hands one event to the event target; the event is deleted when it is not taken.
    HRESULT RaiseWindowEvent(InfoFilterStateRendara1* state, InfoEventDataFrame1* event);

    HINSTANCE m_module;
};

// The video output calls the render object only for its own states, through these.
using RenderObjectOperation = HRESULT (GeneralVideoRendererObject::*)();
// E_INVALIDARG without state, E_UNEXPECTED for another object's state, 0 without a render object,
// else the operation's result.
HRESULT CallRenderObject(const Rendara1* owner, InfoFilterStateRendara1* state, RenderObjectOperation operation);

// Redraws the output window without erasing, when it is live.
void RedrawOutputWindow(const InfoFilterStateRendara1* state);
