// The controller under test, with a way to run a piece of work on its worker thread, and a hidden
// client window on the test thread that collects the event messages.
#pragma once

#include "ObjectControlDataPath1.h"
#include "ObjectDataPath1.h"
#include "StructForInterfaceDataPath1Table.h"
#include "TestFilterKit.h"
#include "interface_static_result.h"

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

// Work handed to the worker through a real operation message, as the path recipes run there.
class TestControlDataPath1 : public ObjectControlDataPath1
{
public:
    // The program fills the interface table at start-up, before any controller exists.
    explicit TestControlDataPath1(const std::string& folder)
        : ObjectControlDataPath1((FillStructForInterfaceDataPath1(), GetModuleHandleA(nullptr)), folder.c_str())
    {
    }
    // The worker calls the overrides below until it has ended.
    ~TestControlDataPath1() override { Shutdown(); }

    // The filter at the table index, read on the worker.
    ObjectDataPath1* FilterAt(int32_t index)
    {
        if (GetCurrentThreadId() == GetWorkerThreadId())
            return GetFilterFromIndex(index);
        ObjectDataPath1* filter = nullptr;
        RunOnWorker([&] {
            filter = GetFilterFromIndex(index);
            return S_OK;
        });
        return filter;
    }

    // The next transform of the object raises one statistics event.
    HRESULT ReportNextFrame(int32_t idObject)
    {
        InfoStaticResultProcessDataPath1 record;
        record.m_flags = InfoStaticResultProcessDataPath1::kFlagReset | InfoStaticResultProcessDataPath1::kFlagSetPeriod;
        record.m_period_report = 1;
        ListParamsDataPath1 params;
        params.SetNumberParams(1);
        params.m_params.GetElement(0).SetPointer(&record, 0, false);
        return CallInterfaceFunctionForIDObject(idObject, 0, IID_IControlStaticResultProcess, 0, &params);
    }

    // The source filter recorded for the mixer input, read on the worker.
    ObjectDataPath1* MixerInput(uint32_t slot)
    {
        ObjectDataPath1* filter = nullptr;
        RunOnWorker([&] {
            filter = m_mixer_inputs.GetElement(slot);
            return S_OK;
        });
        return filter;
    }

    // Exactly that many ticks of the worker's timer, running (then stopped again) or stopped.
    HRESULT PumpTicks(int ticks, bool running = true)
    {
        // A tick's own answer reports the filters' work; the pump goes on regardless.
        return RunOnWorker([this, ticks, running] {
            const HRESULT started = running ? RunReal() : S_OK;
            for (int tick = 0; tick < ticks && SUCCEEDED(started); ++tick)
                ProcessTimerTick(kTimerId, 0);
            const HRESULT stopped = running ? StopReal() : S_OK;
            return FAILED(started) ? started : stopped;
        });
    }

    // Carried by an operation the controller accepts and otherwise ignores.
    HRESULT RunOnWorker(std::function<HRESULT()> work)
    {
        m_work = std::move(work);
        return CreateReciveDataPathForReciverServer(0, 0, 0, 0, 0, 0);
    }

    // Loads the plug-in files (installed in the folder) on the worker; their filter indexes.
    HRESULT MakeFilters(const std::vector<std::string>& names, std::vector<int32_t>* indexes)
    {
        return RunOnWorker([&] {
            DynamicBoundsObject<DynamicString> list;
            DynamicBoundsObject<int32_t> made;
            list.Init(static_cast<uint32_t>(names.size()), 4);
            made.Init(static_cast<uint32_t>(names.size()), 4);
            for (uint32_t k = 0; k < names.size(); ++k)
                list.GetElement(k) = names[k].c_str();
            const HRESULT result = CreateFilters(list, made);
            if (indexes != nullptr) {
                indexes->clear();
                for (uint32_t k = 0; k < made.GetCount(); ++k)
                    indexes->push_back(made.GetElement(k));
            }
            return result;
        });
    }

    HRESULT Link(int32_t source, int32_t output, int32_t target, int32_t input)
    {
        return RunOnWorker(
            [=, this] { return ConnectFilters(GetFilterFromIndex(source), output, GetFilterFromIndex(target), input); });
    }

    HRESULT CreateReciveDataPathForReciverServerReal(int32_t w1, int32_t w2, int32_t w3, int32_t w4, int32_t w5,
                                                     int32_t w6) override
    {
        if (!m_work)
            return ObjectControlDataPath1::CreateReciveDataPathForReciverServerReal(w1, w2, w3, w4, w5, w6);
        // Taken out first: the work may hand the worker more work.
        std::function<HRESULT()> work = std::move(m_work);
        m_work = nullptr;
        return work();
    }

    // Any operation code, sent as the public operations send theirs.
    HRESULT SendCode(uint32_t code, WPARAM wParam, LPARAM lParam) { return SendOperation(code, wParam, lParam, "test"); }

    // Sees every push before the controller does it (worker thread).
    std::function<void(ObjectDataPath1*, InfoDataBufferPath1*, ObjectAllocatorBufferDataPath1*, ListEventsDataPath1*)>
        m_route_hook;
    HRESULT RouteFrameThroughFilter(int32_t* step, int64_t fetchTime, ObjectDataPath1* filter, InfoDataBufferPath1* frame,
                                    ObjectAllocatorBufferDataPath1* pool, ListEventsDataPath1* events,
                                    int32_t inputIndex) override
    {
        if (m_route_hook)
            m_route_hook(filter, frame, pool, events);
        return ObjectControlDataPath1::RouteFrameThroughFilter(step, fetchTime, filter, frame, pool, events, inputIndex);
    }

private:
    std::function<HRESULT()> m_work;
};

// A hidden window on the test thread that receives the controller's event messages.
class TestClientWindow
{
public:
    TestClientWindow() { m_window = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr); }
    ~TestClientWindow() { DestroyWindow(m_window); }
    HWND Handle() const { return m_window; }

    // The first of the two messages in arrival order; other messages are dropped.
    bool WaitForEither(UINT first, UINT second, MSG* received, DWORD timeoutMs)
    {
        const ULONGLONG end = GetTickCount64() + timeoutMs;
        while (GetTickCount64() < end) {
            while (PeekMessageA(received, m_window, 0, 0, PM_REMOVE))
                if (received->message == first || received->message == second)
                    return true;
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        }
        return false;
    }

private:
    HWND m_window;
};
