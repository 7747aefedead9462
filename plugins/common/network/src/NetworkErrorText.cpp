// Texts of the Winsock error codes the object reports.
#include "ObjectNetwork1.h"

#include "CatchAllLog.h"

#include <cstdio>

namespace {

struct NetworkErrorText
{
    int32_t m_code;
    const char* m_text;
};

const NetworkErrorText g_error_texts[] = {
    {10013, "Permission denied."},
    {10048, "Address already in use."},
    {10049, "Cannot assign requested address."},
    {10047, "Address family not supported by protocol family."},
    {10037, "Operation already in progress."},
    {10053, "Software caused connection abort."},
    {10061, "Connection refused."},
    {10054, "Connection reset by peer."},
    {10039, "Destination address required."},
    {10014, "Bad address."},
    {10064, "Host is down."},
    {10065, "No route to host."},
    {10036, "Operation now in progress."},
    {10004, "Interrupted function call."},
    {10022, "Invalid argument."},
    {10056, "Socket is already connected."},
    {10024, "Too many open files."},
    {10040, "Message too long."},
    {10050, "Network is down."},
    {10052, "Network dropped connection on reset."},
    {10051, "Network is unreachable."},
    {10055, "No buffer space available."},
    {10042, "Bad protocol option."},
    {10057, "Socket is not connected."},
    {10038, "Socket operation on nonsocket."},
    {10045, "Operation not supported."},
    {10046, "Protocol family not supported."},
    {10067, "Too many processes."},
    {10043, "Protocol not supported."},
    {10041, "Protocol wrong type for socket."},
    {10058, "Cannot send after socket shutdown."},
    {10044, "Socket type not supported."},
    {10060, "Connection timed out."},
    {10109, "Class type not found."},
    {10035, "Resource temporarily unavailable."},
    {11001, "Host not found."},
    {6, "Specified event object handle is invalid."},
    {87, "One or more parameters are invalid."},
    {10104, "Invalid procedure table from service provider."},
    {10105, "Invalid service provider version number."},
    {996, "Overlapped I/O event object not in signaled state."},
    {997, "Overlapped operations will complete later."},
    {8, "Insufficient memory available."},
    {10093, "Successful WSAStartup not yet performed."},
    {11004, "Valid name, no data record of requested type."},
    {11003, "This is a nonrecoverable error."},
    {10106, "Unable to initialize a service provider."},
    {10107, "System call failure."},
    {10091, "Network subsystem is unavailable."},
    {11002, "Nonauthoritative host not found."},
    {10092, "Winsock.dll version out of range."},
    {10101, "Graceful shutdown in progress."},
    {995, "Overlapped operation aborted."},
};
static_assert(sizeof(g_error_texts) / sizeof(g_error_texts[0]) == 53);

// Every text fits with room to spare.
constexpr int32_t kMinDestinationSize = 128;

} // namespace

HRESULT GetTextFromNetworkErrorCode(int32_t code, char* destination, int32_t size)
{
    try {
        if (destination == nullptr || size < kMinDestinationSize)
            return E_UNEXPECTED;
        const char* text = "error id network error";
        for (const NetworkErrorText& entry : g_error_texts) {
            if (entry.m_code == code) {
                text = entry.m_text;
                break;
            }
        }
        std::snprintf(destination, static_cast<size_t>(size), "%s", text);
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

void LogNetworkError(const char* caller, int32_t code)
{
    char text[kMinDestinationSize];
    GetTextFromNetworkErrorCode(code, text, sizeof(text));
    DynamicString line(caller);
    line += "::";
    line += text;
    LOG_TEXT(line.GetString());
}
