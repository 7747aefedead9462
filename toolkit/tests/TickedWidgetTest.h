// A fixture for a data widget on a real window whose cycle only the test's ticks run: its notices go
// to a recorder, posted input is dispatched at once.
#pragma once

#include "TestWidget.h"

#include <gtest/gtest.h>

#include <memory>

// Makes the widget's window with the colours and stops its timer, so that only the test's ticks
// run its cycle; sends its notices to the owner, gives it the skin folder and places it, then
// dispatches what that brought. S_OK, or the first failing step's answer.
template <class Widget>
HRESULT ShowTickedByTest(Widget& widget, const GDIListUserInterface2& colours, HWND owner, const char* skinFolder,
                         const RECT& place)
{
    HRESULT answer = FAILED(widget.SetOptimCPUReal(4))
                         ? E_FAIL
                         : widget.UpdateGDIInfoForObjectReal(&colours, nullptr, static_cast<int32_t>(colours.GetCount()));
    if (answer == S_OK)
        answer = widget.CreateObject();
    if (answer != S_OK)
        return answer;
    KillTimer(widget.m_window, widget.m_timer_id);
    answer = widget.SetWindow(1, owner);
    if (answer == S_OK && FAILED(widget.SetTextVarForObjectReal(1, skinFolder)))
        answer = E_FAIL;
    if (answer == S_OK)
        answer = widget.MoveObjectReal(place.left, place.top, place.right - place.left, place.bottom - place.top);
    PumpPending();
    return answer;
}

template <class Widget>
class TickedWidgetTest : public testing::Test
{
protected:
    // A fresh widget with the colours and skin folder at the place; the recorder starts empty.
    void Show(const GDIListUserInterface2& colours, const char* skinFolder, const RECT& place)
    {
        m_widget = std::make_unique<Widget>();
        ASSERT_EQ(ShowTickedByTest(*m_widget, colours, m_recorder.Handle(), skinFolder, place), S_OK);
        m_recorder.Clear();
    }

    HWND Window() { return m_widget->m_window; }

    void Post(UINT message, int32_t x, int32_t y, WPARAM wParam = 0)
    {
        PostMessageA(Window(), message, wParam, MAKELPARAM(x, y));
        PumpPending();
    }

    void Tick() { ASSERT_TRUE(SUCCEEDED(m_widget->OnTimerCycle(Window(), 0, 0, true))); }

    MessageRecorder m_recorder;
    std::unique_ptr<Widget> m_widget;
};
