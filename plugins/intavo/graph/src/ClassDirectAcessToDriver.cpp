#include "ClassDirectAcessToDriver.h"

#include "CatchAllLog.h"

ClassDirectAcessToDriver::ClassDirectAcessToDriver(const char* moduleName)
{
    try {
        m_name_module = moduleName;
        m_need_interface.ResetStruct();
        m_ext_info.Fill(0);
        Recreate(0);
    }
    CATCH_ALL_RETHROW()
}

ClassDirectAcessToDriver::~ClassDirectAcessToDriver()
{
    try {
        DeleteGraphObject();
    }
    CATCH_ALL_LOG()
}

HRESULT ClassDirectAcessToDriver::Recreate(int32_t /*unused*/)
{
    try {
        if (m_graph_object && m_graph_object->IsPropertyPagesOpen()) {
            LOG_TEXT("ClassDirectAcessToDriver::Recreate::refused while the property pages are open");
            return S_FALSE;
        }
        DeleteGraphObject();
        return CreateGraphObject();
    }
    CATCH_ALL_RETURN(E_FAIL)
}

bool ClassDirectAcessToDriver::IsRunning() const
{
    return m_running;
}

HRESULT ClassDirectAcessToDriver::CreateGraphObject()
{
    try {
        if (m_graph_object)
            return S_FALSE;
        const char* name = m_name_module.GetLenString() > 0 ? m_name_module.GetString() : nullptr;
        m_graph_object = std::make_unique<ObjectControlGraph1>(GetModuleHandleA(name));
        return m_graph_object->CreateThreadObject();
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT ClassDirectAcessToDriver::DeleteGraphObject()
{
    try {
        Stop();
        if (!m_graph_object)
            return S_FALSE;
        m_graph_object->SafeRemoveAndDeleteAllFiltersFromGraph();
        m_graph_object->ClearSignalFlag();
        const HRESULT result = m_graph_object->DestroyDependThreadObject();
        m_graph_object.reset();
        return result;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT ClassDirectAcessToDriver::Run()
{
    try {
        if (m_running)
            return S_OK;
        m_running = true;
        return m_graph_object ? m_graph_object->Run() : E_FAIL;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT ClassDirectAcessToDriver::Stop()
{
    try {
        if (!m_running)
            return S_OK;
        m_running = false;
        return m_graph_object ? m_graph_object->Stop() : S_FALSE;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT ClassDirectAcessToDriver::SafeGetBuffer(InfoDataBufferPath1* frame)
{
    try {
        if (frame == nullptr)
            return E_INVALIDARG;
        return m_graph_object ? m_graph_object->SafeGetBuffer(frame) : E_FAIL;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT ClassDirectAcessToDriver::SafeSetCPUUsing(int32_t value)
{
    try {
        m_cpu_using = value;
        return m_graph_object ? m_graph_object->SafeSetCPUUsing(value) : S_FALSE;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT ClassDirectAcessToDriver::SafeUpdateExtInfoForReciver(int32_t index, LONG_PTR value)
{
    try {
        if (index >= 0 && index < static_cast<int32_t>(kNumberExtInfo))
            m_ext_info.GetElement(static_cast<uint32_t>(index)) = value;
        return m_graph_object ? m_graph_object->SafeUpdateExtInfoForReciver(index, value) : E_FAIL;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

LONG_PTR ClassDirectAcessToDriver::GetExtInfoForReciver(int32_t index) const
{
    if (index < 0 || index >= static_cast<int32_t>(kNumberExtInfo))
        return 0;
    return m_ext_info.GetElement(static_cast<uint32_t>(index));
}

HRESULT ClassDirectAcessToDriver::SetDriverInfo(const InfoNeedInterface* needInterface)
{
    try {
        const bool wasRunning = m_running;
        if (wasRunning)
            Stop();
        if (needInterface != nullptr && needInterface != &m_need_interface)
            m_need_interface = *needInterface;
        m_need_interface.m_disabled = 0;
        if (!m_graph_object)
            return E_FAIL;
        HRESULT result = S_OK;
        if (m_need_interface.m_properties_only != 0) {
            result = m_graph_object->ApplayPropertyToVideoDriver(&m_need_interface);
        } else {
            Recreate(0);
            m_graph_object->SafeRemoveAndDeleteAllFiltersFromGraph();
            result = m_graph_object->SafeCreateGraphFromFormat1(0.0f, 0, &m_need_interface);
        }
        m_need_interface.m_properties_only = 0;
        return wasRunning ? Run() : result;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT ClassDirectAcessToDriver::SetFrameRate(float framesPerSecond)
{
    try {
        const float rate = ClampFrameRateToVideoDriver(framesPerSecond);
        m_need_interface.m_frame_rate = rate;
        return m_graph_object ? m_graph_object->SafeSetFrameRateToVideoDriver(rate) : E_FAIL;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT ClassDirectAcessToDriver::SafeUpdateInternalVar(uint32_t code, ExtStateVideoDriver* state)
{
    try {
        return m_graph_object ? m_graph_object->SafeUpdateInternalVar(code, state) : E_FAIL;
    }
    CATCH_ALL_RETURN(E_FAIL)
}
