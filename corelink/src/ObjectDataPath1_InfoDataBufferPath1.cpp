// The frame buffer's description, life cycle, states and the frame heap service.
#include "ObjectDataPath1_InfoDataBufferPath1.h"

#include "CatchAllLog.h"

#include <cstring>
#include <utility>

namespace {

const char kHeapMutexName[] = "Brennick LLC::Plexamo::class InfoDataBufferPath1::mutex for control acess heap";
const DWORD kHeapCreateAlign16 = 0x10000;
const SIZE_T kHeapInitialSize = 0x500000;

// Holds the frame heap's named mutex for one heap operation.
class HeapMutexLock
{
public:
    HeapMutexLock() : m_mutex(CreateMutexA(nullptr, FALSE, kHeapMutexName))
    {
        if (m_mutex == nullptr)
            return;
        const DWORD answer = WaitForSingleObject(m_mutex, INFINITE);
        // A thread ended while it held the mutex: the wait made us its owner all the same.
        if (answer == WAIT_ABANDONED)
            LOG_TEXT("InfoDataBufferPath1::frame heap mutex abandoned by a thread that ended, taken over");
        m_owned = answer == WAIT_OBJECT_0 || answer == WAIT_ABANDONED;
    }
    ~HeapMutexLock()
    {
        if (m_owned)
            ReleaseMutex(m_mutex);
        SAFE_CLOSE_HANDLE(m_mutex);
    }
    HeapMutexLock(const HeapMutexLock&) = delete;
    HeapMutexLock& operator=(const HeapMutexLock&) = delete;
    bool Owned() const { return m_owned; }

private:
    HANDLE m_mutex;
    bool m_owned = false;
};

// Calls apply(field of a, same field of b) for every field of the description, the parameters aside.
template <class Description, class Other, class Apply>
void ForEachDescriptionField(Description& a, Other& b, Apply apply)
{
    apply(a.m_state, b.m_state);
    apply(a.m_reserved, b.m_reserved);
    apply(a.m_major_type, b.m_major_type);
    apply(a.m_subtype, b.m_subtype);
    apply(a.m_format_type, b.m_format_type);
    apply(a.m_count, b.m_count);
    apply(a.m_bih, b.m_bih);
    apply(a.m_extra, b.m_extra);
    apply(a.m_extra_short, b.m_extra_short);
}

} // namespace

// ---- Description ----------------------------------------------------------------------------

InfoCallInterfaceDataPath1::InfoCallInterfaceDataPath1()
{
    try {
        ResetStruct(true);
    }
    CATCH_ALL_RETHROW()
}

InfoCallInterfaceDataPath1::InfoCallInterfaceDataPath1(const InfoCallInterfaceDataPath1& other)
{
    try {
        ResetStruct(true);
        CopyDescription(other);
    }
    CATCH_ALL_RETHROW()
}

InfoCallInterfaceDataPath1& InfoCallInterfaceDataPath1::operator=(const InfoCallInterfaceDataPath1& other)
{
    if (&other != this)
        CopyDescription(other);
    return *this;
}

void InfoCallInterfaceDataPath1::CopyDescription(const InfoCallInterfaceDataPath1& other)
{
    ForEachDescriptionField(*this, other,
                            [](auto& field, const auto& from) { std::memcpy(&field, &from, sizeof(field)); });
}

// Without a temporary description: constructing one would refill its parameters, the clock read
// included, on every exchange of every child buffer.
void InfoCallInterfaceDataPath1::SwapDescription(InfoCallInterfaceDataPath1& other)
{
    ForEachDescriptionField(*this, other, [](auto& field, auto& otherField) { std::swap(field, otherField); });
}

void InfoCallInterfaceDataPath1::ClearExtendedDescription()
{
    std::memset(&m_bih, 0, sizeof(m_bih));
    std::memset(m_extra, 0, sizeof(m_extra));
    m_extra_short = 0;
}

HRESULT InfoCallInterfaceDataPath1::ResetStruct(bool full)
{
    if (full)
        ClearExtendedDescription();
    m_state = kStateEmpty;
    m_reserved[0] = 0;
    m_reserved[1] = 0;
    m_major_type = GUID_NULL;
    m_subtype = GUID_NULL;
    m_format_type = GUID_NULL;
    m_count = 0;
    return InitDefaultParameters();
}

HRESULT InfoCallInterfaceDataPath1::InitDefaultParameters()
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    m_params.GetElement(0).SetUInt(0);
    m_params.GetElement(1).SetUInt(0);
    m_params.GetElement(2).SetSystemTime(now);
    return S_OK;
}

HRESULT InfoCallInterfaceDataPath1::ClearAllParameters()
{
    for (uint32_t i = 0; i < kNumberParams; ++i)
        m_params.GetElement(i).Reset();
    return S_OK;
}

// ---- Life cycle -----------------------------------------------------------------------------

HANDLE InfoDataBufferPath1::m_heap = nullptr;
int32_t InfoDataBufferPath1::m_count_ref_heap = 0;

InfoDataBufferPath1::InfoDataBufferPath1(bool)
    : m_data(nullptr), m_capacity(0), m_size_data(0), m_offset_data(0), m_stride(0), m_number_frame(-1),
      m_self_size(sizeof(InfoDataBufferPath1)), m_heap_buffer(nullptr)
{
    try {
        InternalConstructor(false);
    }
    CATCH_ALL_RETHROW()
}

InfoDataBufferPath1::~InfoDataBufferPath1()
{
    try {
        InternalDestructor();
    }
    CATCH_ALL_LOG()
}

HRESULT InfoDataBufferPath1::InternalConstructor(bool enableChildren)
{
    m_data = nullptr;
    m_capacity = 0;
    m_heap_buffer = nullptr;
    const HRESULT result = UpdateCopyHandleHeap(m_heap_buffer, TypeOperationTakeHeap);
    ResetStruct();
    if (enableChildren)
        EnableChildBuffers();
    return result;
}

HRESULT InfoDataBufferPath1::InternalDestructor()
{
    SAFE_TASK_FREE(&m_data, m_heap_buffer);
    m_capacity = 0;
    m_size_data = 0;
    m_child_buffers.FreeAll();
    return UpdateCopyHandleHeap(m_heap_buffer, TypeOperationReleaseHeap);
}

HRESULT InfoDataBufferPath1::ResetStruct()
{
    m_self_size = sizeof(InfoDataBufferPath1);
    m_stride = 0;
    m_size_data = 0;
    m_offset_data = 0;
    m_info.ResetStruct(false);
    m_number_frame = -1;
    return m_index_child.Fill(-1);
}

HRESULT InfoDataBufferPath1::EnableChildBuffers()
{
    if (m_child_buffers.GetCount() == kNumberChildren)
        return S_OK;
    return m_child_buffers.SetSize(kNumberChildren);
}

// ---- States ---------------------------------------------------------------------------------

HRESULT InfoDataBufferPath1::IsVirtualFrame() const
{
    return (m_info.m_state & InfoCallInterfaceDataPath1::kStateVirtual) != 0 ? 0 : 1;
}

HRESULT InfoDataBufferPath1::SetVirtualFrame()
{
    m_info.m_state |= InfoCallInterfaceDataPath1::kStateVirtual;
    return S_OK;
}

HRESULT InfoDataBufferPath1::IsNULLFrame() const
{
    const bool frame = m_self_size == sizeof(InfoDataBufferPath1) && m_data != nullptr && m_capacity > 0 &&
                       m_size_data > 0 && m_info.m_state != InfoCallInterfaceDataPath1::kStateEmpty &&
                       m_info.m_major_type != GUID_NULL && m_info.m_subtype != GUID_NULL &&
                       m_info.m_format_type != GUID_NULL;
    return frame ? 0 : 1;
}

HRESULT InfoDataBufferPath1::SetNULLFrame()
{
    try {
        m_self_size = sizeof(InfoDataBufferPath1);
        m_stride = 0;
        m_size_data = 0;
        m_offset_data = 0;
        m_info.ResetStruct(true);
        return m_info.ClearAllParameters();
    }
    CATCH_ALL_RETURN(E_FAIL)
}

// ---- Dumps and the heap service -------------------------------------------------------------

HRESULT InfoDataBufferPath1::DumpInfo(const DynamicString&) const
{
    return S_OK;
}

HRESULT InfoDataBufferPath1::DumpHeapInfo()
{
    void* none = nullptr;
    return UpdateCopyHandleHeap(none, TypeOperationDumpHeap);
}

HRESULT InfoDataBufferPath1::DumpCountAndMemCommitObjects()
{
    return S_OK;
}

HRESULT InfoDataBufferPath1::UpdateCopyHandleHeap(void*& handle, TypeOperationUpdateCopyHandleHeap operation)
{
    try {
        HeapMutexLock lock;
        if (!lock.Owned()) {
            LOG_TEXT("InfoDataBufferPath1::UpdateCopyHandleHeap::frame heap mutex not taken");
            return E_FAIL;
        }
        switch (operation) {
        case TypeOperationTakeHeap:
            if (m_heap == nullptr) {
                m_heap = HeapCreate(kHeapCreateAlign16, kHeapInitialSize, 0);
                m_count_ref_heap = 0;
            }
            handle = m_heap;
            ++m_count_ref_heap;
            return S_OK;
        case TypeOperationReleaseHeap:
            if (handle == nullptr || handle != m_heap)
                return S_OK;
            if (m_count_ref_heap > 0)
                --m_count_ref_heap;
            if (m_count_ref_heap == 0) {
                HeapDestroy(m_heap);
                m_heap = nullptr;
            }
            handle = nullptr;
            return S_OK;
        case TypeOperationDumpHeap: {
            if (m_heap == nullptr)
                return S_OK;
            DynamicString text("Dump info for heap video&audio data buffers");
            text += " :: ";
            text += static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(m_heap));
            LOG_TEXT(text.GetString());
            uint64_t total = 0;
            const HRESULT result = SAFE_GET_INFO_HEAP(false, &total, m_heap);
            text = "Heap video&audio data buffers :: Size all alloc memory block = ";
            text += static_cast<unsigned long long>(total);
            LOG_TEXT(text.GetString());
            return result;
        }
        }
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}
