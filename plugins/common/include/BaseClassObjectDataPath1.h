// The plug-in filter frame: the one process-wide object of a ".vdd" library, behind its seven
// exports. The exports call the object's virtual operations; one object serves every instance
// record the host hands it, each with its own per-instance state.
#pragma once

#include "StructForInterfaceDataPath1.h"

#include "CatchAllLog.h"
#include "KestrelDebugFunct.h"

#include <windows.h>

#include <cstdint>

// How CallInterfaceFunction answers an all-zero interface identifier: E_UNEXPECTED once the
// other arguments passed their checks, or (the source plug-in) E_FAIL before anything else.
enum class ZeroInterfaceRule
{
    UnexpectedAfterArguments,
    FailsFirst,
};

class BaseClassObjectDataPath1
{
public:
    BaseClassObjectDataPath1();
    virtual ~BaseClassObjectDataPath1();
    BaseClassObjectDataPath1(const BaseClassObjectDataPath1&) = delete;
    BaseClassObjectDataPath1& operator=(const BaseClassObjectDataPath1&) = delete;

    virtual HRESULT ReservedHook1() = 0;
    virtual HRESULT ReservedHook2() = 0;
    virtual HRESULT ReservedHook3();
    virtual HRESULT InitInfoFilterImpl(InfoFilterObjectDataPath1* instance, int32_t mode) = 0;
    virtual HRESULT FreeInfoFilterImpl(InfoFilterObjectDataPath1* instance) = 0;
    virtual HRESULT TransformFilterImpl(InfoDataBufferPath1* frame, uint32_t frameSize, InfoDataBufferPath1* output,
                                        uint32_t outputSize, InfoFilterObjectDataPath1* instance,
                                        ListEventsDataPath1* events, int32_t inputIndex) = 0;
    virtual HRESULT DispatchInterfaceCall(GUID iid, int32_t indexMethod, ListParamsDataPath1* params,
                                          InfoFilterObjectDataPath1* instance) = 0;
    // 0 when the plug-in implements the interface, 1 when not.
    virtual HRESULT QueryInterfaceImpl(GUID iid) = 0;
    // E_INVALIDARG for no record, E_FAIL for a record of another plug-in, else 0.
    virtual HRESULT CheckInfoFilter(InfoFilterObjectDataPath1* instance) = 0;
    virtual HRESULT GetNameFilterImpl(DynamicString* name, float* version);

    const DynamicString& GetTextId() const { return m_text_id; }
    float GetVersion() const { return m_version; }
    ZeroInterfaceRule GetZeroInterfaceRule() const { return m_zero_interface_rule; }

protected:
    DynamicString m_text_id;
    float m_version = 0.0f;
    ZeroInterfaceRule m_zero_interface_rule = ZeroInterfaceRule::UnexpectedAfterArguments;
};

// Every per-instance state begins with this head: the plug-in's internal filter name and the
// plug-in object that created the state.
struct InfoFilterStateDataPath1
{
    DynamicString m_name;
    BaseClassObjectDataPath1* m_owner = nullptr;
};

// The parameter of an interface call at its position, and its pointer as the type it points to.
inline InfoParamDataPath1& Param(ListParamsDataPath1& params, uint32_t index)
{
    return params.m_params.GetElement(index);
}

template <class T>
T* ParamPointer(ListParamsDataPath1& params, uint32_t index)
{
    return static_cast<T*>(Param(params, index).GetPointer());
}

// Each plug-in defines these two in its exports file: the object its library holds, and the
// class's own fill of the connection points for GetConnectionPoints.
BaseClassObjectDataPath1* CreateFilterObjectDataPath1(HINSTANCE module);
HRESULT FillConnectionPointsDataPath1(BaseClassObjectDataPath1* object, ListConnectionPointsDataPath1* points,
                                      int32_t size);

// The parts of the frame that are the same in every plug-in: instance initialisation and
// release, the record check, the interface query and the state check of the dispatcher.
// Plugin supplies, without virtual slots of its own:
//   HRESULT FillConnectionPoints(ListConnectionPointsDataPath1* points, int32_t size);
//   bool IsInterfaceImplemented(const GUID& iid) const;
// State derives from InfoFilterStateDataPath1 and is made with new.
template <class Plugin, class State>
class FilterObjectFrameDataPath1 : public BaseClassObjectDataPath1
{
public:
    HRESULT ReservedHook1() override { return S_OK; }
    HRESULT ReservedHook2() override { return S_OK; }

    HRESULT InitInfoFilterImpl(InfoFilterObjectDataPath1* instance, int32_t /*mode*/) override
    {
        if (instance == nullptr)
            return E_INVALIDARG;
        if (instance->m_in_use)
            return E_UNEXPECTED;
        try {
            const HRESULT result = Self().FillConnectionPoints(&instance->m_points,
                                                               sizeof(ListConnectionPointsDataPath1));
            instance->m_version = m_version;
            instance->m_in_use = true;
            instance->m_text_id = m_text_id;
            State* state = new State();
            state->m_owner = this;
            instance->m_state = state;
            return result;
        }
        CATCH_ALL_RETURN(E_FAIL)
    }

    HRESULT FreeInfoFilterImpl(InfoFilterObjectDataPath1* instance) override
    {
        if (instance == nullptr)
            return E_INVALIDARG;
        try {
            if (!instance->m_in_use || instance->m_text_id != m_text_id)
                return E_UNEXPECTED;
            instance->m_in_use = false;
            DeleteState(static_cast<State*>(instance->m_state));
            instance->m_state = nullptr;
            return S_OK;
        }
        CATCH_ALL_RETURN(E_FAIL)
    }

    HRESULT QueryInterfaceImpl(GUID iid) override
    {
        try {
            return Self().IsInterfaceImplemented(iid) ? S_OK : S_FALSE;
        }
        CATCH_ALL_RETURN(E_FAIL)
    }

    HRESULT CheckInfoFilter(InfoFilterObjectDataPath1* instance) override
    {
        if (instance == nullptr)
            return E_INVALIDARG;
        try {
            return instance->m_text_id == m_text_id ? S_OK : E_FAIL;
        }
        CATCH_ALL_RETURN(E_FAIL)
    }

protected:
    // An interface call's frame: the own state and the parameters checked, then the call routed
    // by route(state, params), anything thrown logged and answered E_FAIL.
    template <class Route>
    HRESULT DispatchToOwnState(InfoFilterObjectDataPath1* instance, ListParamsDataPath1* params, Route route)
    {
        State* state = nullptr;
        const HRESULT own = TakeOwnState(instance, &state);
        if (FAILED(own))
            return own;
        if (params == nullptr)
            return E_INVALIDARG;
        try {
            return route(*state, *params);
        }
        CATCH_ALL_RETURN(E_FAIL)
    }

    // The dispatcher's first rule: a state made by this object, else E_INVALIDARG or E_UNEXPECTED.
    HRESULT TakeOwnState(InfoFilterObjectDataPath1* instance, State** state)
    {
        if (instance == nullptr || state == nullptr)
            return E_INVALIDARG;
        State* own = static_cast<State*>(instance->m_state);
        if (own == nullptr || own->m_owner == nullptr)
            return E_INVALIDARG;
        if (own->m_owner != this)
            return E_UNEXPECTED;
        *state = own;
        return S_OK;
    }

private:
    Plugin& Self() { return static_cast<Plugin&>(*this); }

    // A state whose destruction fails is still gone for the record.
    static void DeleteState(State* state)
    {
        try {
            delete state;
        }
        CATCH_ALL_LOG()
    }
};
