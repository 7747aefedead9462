// Public operations of the stream network object: each sends its registered message, so that its
// body runs on the object's thread.
#include "ObjectNetwork1.h"

#include "CatchAllLog.h"

namespace {

template <class T>
WPARAM AsParameter(T* record)
{
    return reinterpret_cast<WPARAM>(record);
}

} // namespace

HRESULT ObjectNetwork1::SendNetworkOperation(uint32_t code, WPARAM wParam, const char* name)
{
    try {
        DynamicString label("ObjectNetwork1::");
        label += name;
        return SendGuardedOperation(m_messages_network, code, wParam, 0, label.GetString());
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT ObjectNetwork1::SetBestNetworkProtocol()
{
    return SendNetworkOperation(CodeSetBestNetworkProtocol, 0, "SetBestNetworkProtocol");
}

HRESULT ObjectNetwork1::SetNetworkProtocol(const WSAPROTOCOL_INFOA* protocol)
{
    return SendNetworkOperation(CodeSetNetworkProtocol, AsParameter(protocol), "SetNetworkProtocol");
}

HRESULT ObjectNetwork1::GetNetworkProtocol(WSAPROTOCOL_INFOA* protocol)
{
    return SendNetworkOperation(CodeGetNetworkProtocol, AsParameter(protocol), "GetNetworkProtocol");
}

HRESULT ObjectNetwork1::SetSocketAddress(const sockaddr_in* address)
{
    return SendNetworkOperation(CodeSetSocketAddress, AsParameter(address), "SetSocketAddress");
}

HRESULT ObjectNetwork1::GetSocketAddress(sockaddr_in* address)
{
    return SendNetworkOperation(CodeGetSocketAddress, AsParameter(address), "GetSocketAddress");
}

HRESULT ObjectNetwork1::SetConnectAddress(const sockaddr_in* address)
{
    return SendNetworkOperation(CodeSetConnectAddress, AsParameter(address), "SetConnectAddress");
}

HRESULT ObjectNetwork1::GetConnectAddress(sockaddr_in* address)
{
    return SendNetworkOperation(CodeGetConnectAddress, AsParameter(address), "GetConnectAddress");
}

HRESULT ObjectNetwork1::SafeBindSocketToAddress()
{
    return SendNetworkOperation(CodeSafeBindSocketToAddress, 0, "SafeBindSocketToAddress");
}

HRESULT ObjectNetwork1::SetBufferForSend(const void* payload, int32_t size)
{
    InfoMessageSetBufferForSend record;
    record.m_buffer = payload;
    record.m_size = size;
    return SendNetworkOperation(CodeSetBufferForSend, AsParameter(&record), "SetBufferForSend");
}

HRESULT ObjectNetwork1::GetBufferForRecive(void* destination, int32_t size, int32_t* received)
{
    if (received == nullptr)
        return E_FAIL;
    *received = 0;
    InfoMessageGetBufferForRecive record;
    record.m_buffer = destination;
    record.m_size = size;
    const HRESULT result = SendNetworkOperation(CodeGetBufferForRecive, AsParameter(&record), "GetBufferForRecive");
    *received = record.m_size_recived;
    return result;
}

HRESULT ObjectNetwork1::RunSendNetworkOperation()
{
    return SendNetworkOperation(CodeRunSendNetworkOperation, 0, "RunSendNetworkOperation");
}

HRESULT ObjectNetwork1::RunRecvNetworkOperation()
{
    return SendNetworkOperation(CodeRunRecvNetworkOperation, 0, "RunRecvNetworkOperation");
}

HRESULT ObjectNetwork1::CreateSocket()
{
    return SendNetworkOperation(CodeCreateSocket, 0, "CreateSocket");
}

HRESULT ObjectNetwork1::FreeSocket()
{
    return SendNetworkOperation(CodeFreeSocket, 0, "FreeSocket");
}

HRESULT ObjectNetwork1::SetHWNDForNetworkMessage(HWND window)
{
    return SendNetworkOperation(CodeSetHWNDForNetworkMessage, reinterpret_cast<WPARAM>(window), "SetHWNDForNetworkMessage");
}

HRESULT ObjectNetwork1::Listen()
{
    return SendNetworkOperation(CodeListen, 0, "Listen");
}

HRESULT ObjectNetwork1::Connect()
{
    return SendNetworkOperation(CodeConnect, 0, "Connect");
}

HRESULT ObjectNetwork1::Terminate()
{
    return SendNetworkOperation(CodeTerminate, 0, "Terminate");
}

HRESULT ObjectNetwork1::GetStatusNeworkObject(int32_t* state)
{
    return SendNetworkOperation(CodeGetStatusNeworkObject, AsParameter(state), "GetStatusNeworkObject");
}

HRESULT ObjectNetwork1::SetCallBackRecvFunct(LONG_PTR value)
{
    return SendNetworkOperation(CodeSetCallBackRecvFunct, static_cast<WPARAM>(value), "SetCallBackRecvFunct");
}

HRESULT ObjectNetwork1::IsSideOperation(int32_t* side)
{
    return SendNetworkOperation(CodeIsSideOperation, AsParameter(side), "IsSideOperation");
}

HRESULT ObjectNetwork1::GetNowNumberMessage(uint64_t* count)
{
    return SendNetworkOperation(CodeGetNowNumberMessage, AsParameter(count), "GetNowNumberMessage");
}

HRESULT ObjectNetwork1::GetSizeUnSendData(int32_t* size)
{
    return SendNetworkOperation(CodeGetSizeUnSendData, AsParameter(size), "GetSizeUnSendData");
}

HRESULT ObjectNetwork1::GetSizeRecivedData(int32_t* size)
{
    return SendNetworkOperation(CodeGetSizeRecivedData, AsParameter(size), "GetSizeRecivedData");
}

HRESULT ObjectNetwork1::GetPeerAddress(sockaddr_in* address)
{
    return SendNetworkOperation(CodeGetPeerAddress, AsParameter(address), "GetPeerAddress");
}
