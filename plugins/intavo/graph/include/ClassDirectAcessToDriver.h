// The source plug-in's access to one video source: owns the graph object and its thread,
// remembers the description and the values last set, and turns each call into an operation of
// the graph object, so that the caller never waits on DirectShow itself. Called from one thread
// (the data path's worker); holds no lock.
#pragma once

#include "ObjectControlGraph1.h"
#include "need_interface.h"

#include "KestrelDebugFunct.h"
#include "StaticAndDynamicBoundsObject.h"

#include <windows.h>

#include <cstdint>
#include <memory>

class InfoDataBufferPath1;

class ClassDirectAcessToDriver
{
public:
    static constexpr uint32_t kNumberExtInfo = 256;

    // The module name finds the instance the graph thread's window class is registered with
    // (empty: the program's own). A graph object with its thread exists from the start.
    explicit ClassDirectAcessToDriver(const char* moduleName);
    virtual ~ClassDirectAcessToDriver();
    ClassDirectAcessToDriver(const ClassDirectAcessToDriver&) = delete;
    ClassDirectAcessToDriver& operator=(const ClassDirectAcessToDriver&) = delete;

    // A fresh graph object and thread. 1 and nothing done while the driver's property pages are open.
    virtual HRESULT Recreate(int32_t unused);
    virtual bool IsRunning() const;
    // 1 when one exists already.
    virtual HRESULT CreateGraphObject();
    // Stops, removes the filters and ends the thread; 1 without a graph object.
    virtual HRESULT DeleteGraphObject();
    virtual HRESULT Run();
    virtual HRESULT Stop();
    virtual HRESULT SafeGetBuffer(InfoDataBufferPath1* frame);
    virtual HRESULT SafeSetCPUUsing(int32_t value);
    // Indexes 0 to 255 are remembered; every index is sent.
    virtual HRESULT SafeUpdateExtInfoForReciver(int32_t index, LONG_PTR value);
    // Rebuilds the graph from the description (or only re-tunes it when its properties-only byte
    // is set); a running source runs on afterwards, a stopped one stays stopped.
    virtual HRESULT SetDriverInfo(const InfoNeedInterface* needInterface);
    // Clamped to [1, 200] and remembered in the description.
    virtual HRESULT SetFrameRate(float framesPerSecond);
    virtual HRESULT SafeUpdateInternalVar(uint32_t code, ExtStateVideoDriver* state);

    const InfoNeedInterface& GetDriverInfo() const { return m_need_interface; }
    int32_t GetCPUUsing() const { return m_cpu_using; }
    // 0 for an index outside the table.
    LONG_PTR GetExtInfoForReciver(int32_t index) const;
    // The graph object now owned (null when none), for tests and diagnostics.
    ObjectControlGraph1* GetGraphObject() const { return m_graph_object.get(); }

private:
    uint32_t m_reserved = 0;
    std::unique_ptr<ObjectControlGraph1> m_graph_object;
    DynamicString m_name_module;
    bool m_running = false;
    int32_t m_cpu_using = 1;
    InfoNeedInterface m_need_interface;
    StaticBoundsObject<LONG_PTR, kNumberExtInfo> m_ext_info;
};
