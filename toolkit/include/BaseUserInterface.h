// Root of every widget. A widget owns one borderless tool window and its timer; both belong to the
// thread that calls CreateObject (the GUI thread), and every ...Real operation, hook and handler
// runs there. The toolkit starts no thread.
// A derived widget calls FreeObject first in its own destructor, so that no hook of it runs while
// its members are being destroyed.
#pragma once

#include "DrawToHDCUserInterface2.h"
#include "FunctLoadBMP32FileToR16G16B16Format.h"
#include "InfoActionUserInterface2.h"
#include "InfoGeneralBufferForUserInterface2.h"
#include "InfoUserInterface2Records.h"

#include "CTimeServer.h"
#include "InfoMessageForUserInterface2.h"
#include "ObjectWindowMessage1.h"
#include "StaticAndDynamicBoundsObject.h"
#include "TimedSendGuard.h"

#include "KestrelDebugFunct.h"
#include "OptimFunctionUnifProcessSWORD.h"

#include <windows.h>

#include <cstdint>

// The 32-bit picture that WM_PAINT draws (top-down pixels), owned through the library's memory.
struct FinalPictureUserInterface2
{
    FinalPictureUserInterface2() = default;
    ~FinalPictureUserInterface2();
    FinalPictureUserInterface2(const FinalPictureUserInterface2&) = delete;
    FinalPictureUserInterface2& operator=(const FinalPictureUserInterface2&) = delete;

    HRESULT Allocate(uint32_t size);
    void Free();

    uint8_t* m_pixels = nullptr;
    uint32_t m_size = 0;
    int32_t m_valid_count = 0;
};

// The widget's operations of one processor kernel set, by operation index: the 13-argument form of
// the image primitives. Index 0, 18, 19, 25 and 36..63 are empty.
constexpr uint32_t OperationCountUserInterface2 = 64;
using OperationTableUserInterface2 = StaticBoundsObject<UnifSwordFunction, OperationCountUserInterface2>;
// anyAlignment: the list for parts of rows that do not start on a whole block.
void FillOperationTableUserInterface2(OperationTableUserInterface2& table, ProcessorKernelSet set, bool anyAlignment);

// How one picture layer of a slot builder looks: the values of the colour, constant and glow
// layers (each used only when its flag is set) and the drawing of a drawn layer.
struct InfoLayerLookUserInterface2
{
    uint8_t m_has_colour = 0;
    COLORREF m_colour = 0;
    uint8_t m_has_constants = 0;
    float m_constants[3] = {};
    uint8_t m_has_glow = 0;
    float m_glow = 0.0f;
    DrawToContextFunction m_draw = nullptr;
    void* m_record = nullptr;
    int m_record_size = 0;

    bool HasValues() const { return m_has_colour != 0 || m_has_constants != 0 || m_has_glow != 0; }
};

// One layer of a three-layer composition: its skin picture, the buffer it is drawn into, its look.
struct InfoLayerUserInterface2
{
    int32_t m_skin_buffer = -1;
    int32_t m_drawn_buffer = -1;
    InfoLayerLookUserInterface2 m_look;

    // The drawn buffer when there is one, else the skin.
    int32_t Picture() const { return m_drawn_buffer >= 0 ? m_drawn_buffer : m_skin_buffer; }
};

class BaseUserInterface
{
public:
    static constexpr uint32_t MaxElements = 16;
    static constexpr uint32_t GeneralBufferCount = 544;
    static constexpr uint32_t StateCount = 16;
    static constexpr uint32_t PropertyTable0Size = 128;
    static constexpr uint32_t MinTimerPeriod = 10;
    static constexpr uint32_t MaxTimerPeriod = 200;
    static constexpr uint32_t StyleDoubleClicks = 0x100000;
    enum StateIndex : int32_t
    {
        StateShown = 1,
        StateFrozen = 2,
        StateRefresh = 3,
    };

    // Copies min(count, 16) descriptions; a count above the list's entries throws the list's
    // index error. Logs and rethrows whatever fails. Makes no window.
    BaseUserInterface(const ElementListUserInterface2& elements, int32_t count, uint32_t styleFlags,
                      const char* objectName, HINSTANCE module, uint32_t controlId, uint32_t timerPeriod);
    BaseUserInterface(const BaseUserInterface&) = delete;
    BaseUserInterface& operator=(const BaseUserInterface&) = delete;

    // ---- virtual slots, in their fixed order ----
    virtual ~BaseUserInterface();
    virtual HRESULT MoveObjectReal(int32_t left, int32_t top, int32_t width, int32_t height);
    virtual HRESULT GetPosObjectReal(int32_t* left, int32_t* top, int32_t* width, int32_t* height);
    virtual HRESULT SetOptimCPUReal(uint32_t mode);
    virtual HRESULT UpdateGDIInfoForObjectReal(const GDIListUserInterface2* entries,
                                               const IndexListUserInterface2* indexes, int32_t count);
    virtual HWND GetHWNDReal();
    virtual HRESULT DumpDebugListResizedBufferReal();
    virtual HRESULT SetTextVarForObjectReal(int32_t index, const char* text);
    virtual HRESULT UpdateGeneralInfoForObjectReal(int32_t table, const TypedValueListUserInterface2* values,
                                                   const IndexListUserInterface2* indexes, int32_t count);
    virtual HRESULT UpdateDataBufferReal(int32_t index, const InfoGeneralBufferForUserInterface2* buffer,
                                         bool mark);
    virtual HRESULT SetElementInfoFromIndexReal(const ElementListUserInterface2* elements,
                                                const IndexListUserInterface2* indexes, int32_t count);
    virtual HRESULT GetElementInfoFromIndexReal(ElementListUserInterface2* elements,
                                                const IndexListUserInterface2* indexes, int32_t count);
    virtual HRESULT CompliteStandartMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                            bool* handled);
    virtual HRESULT DrawFinallBufferToHDC(HWND window, WPARAM wParam, LPARAM lParam, const RECT* update,
                                          HDC context, const PAINTSTRUCT* paint);
    virtual HRESULT OnCreateWindow(HWND window, WPARAM wParam, LPARAM lParam, uint64_t time);
    virtual HRESULT OnDestroyWindow(HWND window, WPARAM wParam, LPARAM lParam, uint64_t time);
    virtual HRESULT CycleBeforeFinalize(HWND window, WPARAM wParam, LPARAM lParam, uint64_t time,
                                        uint64_t elapsed);
    virtual HRESULT CycleAfterFinalize(HWND window, WPARAM wParam, LPARAM lParam, uint64_t time,
                                       uint64_t elapsed);
    virtual HRESULT OnSizeWindow(HWND window, WPARAM wParam, LPARAM lParam, uint64_t time);
    virtual HRESULT OnMouseHoverLeave(HWND window, UINT message, WPARAM wParam, LPARAM lParam, uint64_t time);
    virtual HRESULT OnSetFocus(HWND window, WPARAM wParam, LPARAM lParam);
    virtual HRESULT OnKillFocus(HWND window, WPARAM wParam, LPARAM lParam);
    virtual HRESULT OnKeyMessage(UINT message, HWND window, WPARAM wParam, LPARAM lParam);
    virtual HRESULT OnMouseButton(HWND window, UINT message, WPARAM wParam, LPARAM lParam, uint64_t time,
                                  bool synthetic);
    virtual HRESULT OnMouseMove(HWND window, WPARAM wParam, LPARAM lParam, uint64_t time);
    virtual HRESULT SetupGeneralCycle(uint32_t flags);
    virtual HRESULT SetChangedAllBuffers();
    virtual HRESULT OnGeneralInfoChanged();
    virtual HRESULT OnElementInfoChanged();
    virtual HRESULT RebuildObject();
    virtual HRESULT SetWindowReal(int32_t index, HWND window);
    virtual HRESULT ControlStatObjectShowReal(int32_t index, int32_t value);
    // The first used element below the count whose area strictly holds the point, or -1.
    virtual int32_t GetIndexElementFromPoint(int32_t x, int32_t y);
    virtual HRESULT RefreshObject();

    // ---- public operations: callable from any thread ----
    // Each runs its ...Real operation on the window's thread: at once when called there, else
    // through the window's registered message, waiting at most the send time-out. The result tells
    // delivery only (0, or 0x80004005 for a window that is gone or a send that timed out);
    // values come back through the given pointers.
    static constexpr int32_t SendTimeoutMs = 60000;

    HRESULT SetWindow(int32_t index, HWND window);
    HRESULT ControlStatObjectShow(int32_t index, int32_t value);
    HRESULT MoveObject(int32_t left, int32_t top, int32_t width, int32_t height);
    HRESULT SetOptimCPU(uint32_t mode);
    HRESULT UpdateGDIInfoForObject(const GDIListUserInterface2* entries, const IndexListUserInterface2* indexes,
                                   int32_t count);
    HRESULT SetTextVarForObject(int32_t index, const char* text);
    HRESULT UpdateGeneralInfoForObject(int32_t table, const TypedValueListUserInterface2* values,
                                       const IndexListUserInterface2* indexes, int32_t count);
    HRESULT SetElementInfoFromIndex(const ElementListUserInterface2* elements, const IndexListUserInterface2* indexes,
                                    int32_t count);
    HRESULT GetElementInfoFromIndex(ElementListUserInterface2* elements, const IndexListUserInterface2* indexes,
                                    int32_t count);
    // The window handle, or 0 when the send fails.
    HWND GetHWND();
    HRESULT DumpDebugListResizedBuffer();
    // The four results are 0 unless the operation ran.
    HRESULT GetPosObject(int32_t* left, int32_t* top, int32_t* width, int32_t* height);
    // Copies the buffer into general buffer index (when given) and marks it as asked.
    HRESULT UpdateDataBuffer(int32_t index, const InfoGeneralBufferForUserInterface2* buffer, bool mark);
    // A copy of general buffer index (-1: the final buffer) in the given buffer.
    HRESULT GetBufferFromIndex(int32_t index, InfoGeneralBufferForUserInterface2* buffer);

    // One run of the action's operation over the planes (each side three planes or null), on the
    // window's thread; its result stays inside the widget.
    HRESULT ApplayOperationToBuffers(int16_t* const* destinationPlanes, int16_t* const* sourcePlanes, int32_t width,
                                     int32_t height, int32_t destinationStride, int32_t sourceStride,
                                     int32_t destinationOffset, int32_t sourceOffset,
                                     const InfoActionUserInterface2& action);

    // Shortens the send time-out of every widget; 0 or less restores the 60 seconds.
    static void SetSendTimeoutForTest(int32_t timeoutMs);

    // Rebuilds both operation tables and the granularity table for the stored processor mode:
    // the last granularity query's answer, or E_FAIL (empty tables) for a mode with no set.
    HRESULT SelectOperationSets();
    // Bytes of all general buffers and of the final buffer.
    uint64_t GetSummSizeBuffers() const;
    // Reads a 32-bit BMP skin into the buffer, or makes it 32 x 32 of zeros when the file cannot be
    // read (still 0). E_UNEXPECTED for no folder, 1 for no file name.
    HRESULT LoadBMPFileToGeneralBuffer(const char* fileName, const char* folder,
                                       InfoGeneralBufferForUserInterface2* buffer);
    // Copies a buffer of the same size, else scales each plane into the destination's size.
    // E_INVALIDARG without an operation set or buffer, E_UNEXPECTED onto itself.
    HRESULT CopyGeneralBuffer(InfoGeneralBufferForUserInterface2* destination,
                              const InfoGeneralBufferForUserInterface2* source);

    // ---- slot builders ----
    static constexpr uint32_t ActionSlotCount = 64;
    enum LayerMode : uint32_t
    {
        LayerDrawn = 0,
        LayerCopy = 1,
        LayerColour = 2,
        LayerConstant = 3,
        LayerGlow = 4,
    };
    // Sets slot to build one layer into destination (a copy reads source). A drawn layer is drawn
    // at once when its buffer is marked changed (1 when it is not). 1 for no destination; a copy
    // without a source, or a look without a buffer, throws 241 (E_FAIL).
    HRESULT FillActionForLayer(uint32_t slot, uint32_t mode, int32_t source, int32_t destination,
                               const InfoLayerLookUserInterface2& look);
    // Step number of a three-layer composition into the result buffer: 0..14 the layers' own
    // modes, 15 the first layer as the result, 16..23 the other two combined in through the working
    // buffer. 1 when a needed layer has no buffers; a working buffer of -1 throws 241 (E_FAIL).
    HRESULT FillActionForThreeLayers(uint32_t slot, uint32_t number, int32_t result,
                                     const InfoLayerUserInterface2 (&layers)[3], int32_t working);
    // The glow value at now of an animation started at start (rising 30 a second from minimum, or
    // falling 50 a second from maximum). Asking only: whether *value would change. Else stores it,
    // sets the slot's glow operation and operand and tells whether it changed or is 13.
    bool StepAnimationValueByTime(bool onlyAsk, uint32_t slot, bool falling, uint64_t now, uint64_t start,
                                  int32_t* value, int32_t minimum, int32_t maximum);

    // ---- picture cycle ----
    // One tick: runs the slots whose buffers changed, and converts and repaints the final buffer
    // when one came out. A forced tick also runs for a hidden window but neither converts nor
    // repaints. 1 when the widget skips its ticks.
    HRESULT OnTimerCycle(HWND window, WPARAM wParam, LPARAM lParam, bool forced);
    // Runs the slots and names the final buffer and the buffer of the window's size that shows it
    // (both null when nothing is to be shown).
    HRESULT FinalizeFinallBufferReal(InfoGeneralBufferForUserInterface2** finalBuffer,
                                     InfoGeneralBufferForUserInterface2** shownBuffer, uint64_t now);

    // Makes the window on the calling thread, which then owns the widget. 0x8000FFFF while a
    // window exists; E_FAIL when the window cannot be made.
    HRESULT CreateObject();
    // Destroys the window (from another thread through its owner); 0 when there is none.
    HRESULT FreeObject();

    // Every pixel in its own random colour.
    static HRESULT FunctRandomeFillToHDC(HDC context, int width, int height, void* record, int recordSize);

    // Window procedure of every widget class.
    static LRESULT CALLBACK BaseUserInterfaceWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

protected:
    static constexpr uint32_t MaxOperationTables = 4;

    // Runs row `index` of one of the widget's operation tables on the window's thread (see the
    // public operations); the label is logged when the send fails.
    HRESULT SendOperation(const ObjectWindowMessage1& table, uint32_t index, WPARAM wParam, LPARAM lParam,
                          const char* label);
    // A derived widget adds its own table, made before its window, so that the window procedure
    // takes its messages only from senders that still wait. 0x8000FFFF when all places are taken.
    HRESULT AddOperationTable(const ObjectWindowMessage1* table);

    // The left-button handling of the window procedure; a synthetic press comes from a drag.
    HRESULT CatchMouseButtonsMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, bool synthetic);

    // One run of the action's operation over the planes, each row split into a block-aligned part
    // and one masked tail block. E_FAIL for an operation index of 64 or more.
    HRESULT ExecuteAction(int16_t* const* destinationPlanes, int16_t* const* sourcePlanes, int32_t width,
                          int32_t height, int32_t destinationStride, int32_t sourceStride, int32_t destinationOffset,
                          int32_t sourceOffset, const InfoActionUserInterface2& action);

    // Draws the look into the destination when it is marked changed (1 when it is not).
    HRESULT DrawLayer(int32_t destination, const InfoLayerLookUserInterface2& look);

    // The operation of GetBufferFromIndex.
    HRESULT CopyBufferFromIndex(int32_t index, InfoGeneralBufferForUserInterface2* destination);

    // A container gives the widgets it makes their control id.
    static void AssignControlId(BaseUserInterface& widget, uint32_t id) { widget.m_control_id = id; }

    // The class name the window is registered under.
    const char* WindowClassName() const;
    bool IsElementUsed(uint32_t index) const;

    // Clears the change flags of both property tables: the base behaviour of OnGeneralInfoChanged.
    HRESULT ClearPropertyChangeFlags();

    DynamicBoundsObject<uint32_t> m_reserved_array;
    HWND m_window = nullptr;
    // 0: parent, 1: receiver of WM_COMMAND notifications, 2: receiver of forwarded mouse messages.
    StaticBoundsObject<HWND, 3> m_related_windows;
    UINT_PTR m_timer_id = 0;
    CTimeServer m_time_server;
    ObjectWindowMessage1 m_messages;
    StaticBoundsObject<int32_t, StateCount> m_state_values;
    DynamicString m_object_name;
    HINSTANCE m_module = nullptr;
    uint32_t m_processor_mode = 1;
    uint64_t m_last_cycle_time = 0;
    int32_t m_left = 0;
    int32_t m_top = 0;
    int32_t m_width = 25;
    int32_t m_height = 25;
    int32_t m_last_mouse_x = 0;
    int32_t m_last_mouse_y = 0;
    uint8_t m_mouse_tracking = 0;
    uint64_t m_mouse_enter_time = 0;
    uint8_t m_left_button_down = 0;
    DynamicBoundsObject<InfoGeneralBufferForUserInterface2> m_array_general_buffers;
    InfoGeneralBufferForUserInterface2 m_finall_buffer;
    FinalPictureUserInterface2 m_finall_rgb;
    GDIListUserInterface2 m_gdi_table;
    StaticBoundsObject<uint8_t, GDITableSizeUserInterface2> m_gdi_changed;
    DynamicString m_text;
    StaticBoundsObject<TypedValueListUserInterface2, 2> m_property_tables;
    StaticBoundsObject<int32_t, 2> m_property_counts;
    StaticBoundsObject<DynamicBoundsObject<uint8_t>, 2> m_property_changed;
    StaticBoundsObject<InfoElementUserInterface2, MaxElements> m_elements;
    int32_t m_element_count = 0;
    StaticBoundsObject<uint8_t, MaxElements> m_hot_flags;
    StaticBoundsObject<uint64_t, MaxElements> m_hot_times;
    StaticBoundsObject<int32_t, MaxElements> m_element_values;
    int32_t m_pressed_element = -1;
    int32_t m_previous_pressed_element = -1;
    DWORD m_ex_style = WS_EX_TOOLWINDOW;
    uint32_t m_style_flags = 0;
    int32_t m_finall_buffer_choice = -1;
    uint32_t m_timer_period = MinTimerPeriod;
    uint8_t m_toggle_enabled = 1;
    uint8_t m_force_finalize = 1;
    uint8_t m_has_focus = 0;
    uint8_t m_rebuild_in_progress = 1;
    uint8_t m_frozen = 0;
    DynamicBoundsObject<uint32_t> m_touched_list;
    uint32_t m_touched_count = 0;
    DynamicString m_window_class_name;
    uint32_t m_control_id = 0;
    uint8_t m_blocking_send = 1;
    // Set by containers that draw no picture of their own: their ticks do nothing.
    uint8_t m_cycle_suspended = 0;
    // Where operation messages sent from other threads find their records; tables of operations
    // that the window procedure passes through it, the widget's own first.
    TimedSendGuard m_send_guard;
    StaticBoundsObject<const ObjectWindowMessage1*, MaxOperationTables> m_operation_tables;
    // The image operations of the processor mode (SetOptimCPUReal): operations for parts of rows
    // that start on a whole block, for the other parts, the block size in bytes of each (-1: none),
    // and the single operations.
    StaticBoundsObject<InfoActionUserInterface2, ActionSlotCount> m_actions;
    OperationTableUserInterface2 m_operations_aligned;
    OperationTableUserInterface2 m_operations_unaligned;
    StaticBoundsObject<int32_t, OperationCountUserInterface2> m_operation_granularity;
    PlanesToRgbFunction m_planes_to_rgb32 = nullptr;
    Rgb32ToPlanesFunction m_rgb32_to_planes = nullptr;
    UnifSwordFunction m_mirror = nullptr;
    ResizeSwordFunction m_resize = nullptr;
    UnifSwordFunction m_clamp = nullptr;
    // The drawing and the colour of each of the three picture layers.
    static constexpr uint32_t LayerCount = 3;
    StaticBoundsObject<StructForDrawToHDC_UserInterface2, LayerCount> m_layer_drawings;
    StaticBoundsObject<unifrgb, LayerCount> m_layer_colours;

private:
    void FillDefaultElements();
    void FillDefaultProperties();
    void CopyGivenElements(const ElementListUserInterface2& elements, int32_t count);
    // Both lists are set whenever count is above 0.
    HRESULT CopyIntoPropertyTable0(const TypedValueListUserInterface2* values, const IndexListUserInterface2* indexes,
                                   int32_t count);
    HRESULT CopyIntoPropertyTable1(const TypedValueListUserInterface2* values, const IndexListUserInterface2* indexes,
                                   int32_t count);
    void UpdateExclusiveGroup(uint32_t changed);
    HRESULT FreezeBuffers();
    HRESULT ReleaseResources();

    bool IsOperationMessage(UINT message) const;
    // On the window's thread: the dispatcher's result when a derived dispatcher handled the
    // message, else 0.
    LRESULT RunOperationMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    // The operation of a message sent through the guard; nothing is read when its sender gave up.
    LRESULT RunGuardedOperation(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    HRESULT MoveObjectFromList(const ListParamsDataPath1* list);
    HRESULT WriteHWND(HWND* result);
    void SetSingleOperations(ProcessorKernelSet set);
    // The runs of one slot: the destination of the last run that reached its operation, or -1.
    int32_t RunActionSlot(uint32_t slot, uint64_t now);
    void ClampBuffer(InfoGeneralBufferForUserInterface2& buffer) const;
    void ClearChangedMarks();
    bool SkipsTick(bool forced) const;
    // Whether the run may touch the buffer's region; a refused region is logged.
    bool CheckActionRegion(const InfoGeneralBufferForUserInterface2& buffer, const char* side, int32_t offset,
                           int32_t stride, int32_t width, int32_t height, int32_t rowBlock) const;
    // The final buffer into the 32-bit picture of the window's size.
    HRESULT ConvertShownBuffer(const InfoGeneralBufferForUserInterface2& shown);

    LRESULT HandleWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnCreateMessage(HWND window, WPARAM wParam, LPARAM lParam);
    LRESULT OnDestroyMessage(HWND window, WPARAM wParam, LPARAM lParam);
    LRESULT OnPaintMessage(HWND window, WPARAM wParam, LPARAM lParam);
    void OnMouseMoveMessage(HWND window, WPARAM wParam, LPARAM lParam);
    LRESULT OnMouseHoverLeaveMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    void UpdateHotFlags(int32_t hit, uint64_t time);
    void PressElement(int32_t hit, bool synthetic);
    void ReleaseElement(int32_t hit, bool synthetic);
    void NotifyDoubleClick(int32_t hit);
    // Toggles the clicked element's check state as its state word asks.
    void ToggleElement(uint32_t index);
    void UncheckOtherGroupMembers(uint32_t clicked);
    void PostCommand(uint32_t index);
    void ForwardMouseMessage(UINT message, WPARAM wParam, LPARAM lParam);
};
