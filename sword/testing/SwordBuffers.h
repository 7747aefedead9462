// Test buffers: each ends right before an inaccessible page, so a read or write past its last
// byte faults at once. The benchmark fills blocks of its own placement through the same base.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <random>

// A block of bytes with the random fills of the tests and the benchmark.
class FilledBuffer
{
public:
    BYTE* Bytes() const { return m_data; }
    int16_t* Words() const { return reinterpret_cast<int16_t*>(m_data); }
    size_t Size() const { return m_size; }

    void FillRandom(std::mt19937& random) const
    {
        for (size_t i = 0; i < m_size; ++i)
            m_data[i] = static_cast<BYTE>(random());
    }
    // Words mostly in 0..255, some below and above, so saturation is exercised both ways.
    void FillRandomWords(std::mt19937& random) const
    {
        std::uniform_int_distribution<int> value(-400, 700);
        for (size_t i = 0; i + 1 < m_size; i += 2) {
            const int16_t word = static_cast<int16_t>(random() % 16 == 0 ? static_cast<int16_t>(random()) : value(random));
            std::memcpy(m_data + i, &word, sizeof(word));
        }
    }

    // Words of 0 to 255, as the luma planes split from a frame hold.
    void FillRandomLuma(std::mt19937& random) const
    {
        for (size_t i = 0; i + 1 < m_size; i += 2) {
            const int16_t word = static_cast<int16_t>(random() % 256);
            std::memcpy(m_data + i, &word, sizeof(word));
        }
    }

protected:
    FilledBuffer(BYTE* data, size_t size)
        : m_data(data), m_size(size)
    {
    }
    FilledBuffer(const FilledBuffer&) = delete;
    FilledBuffer& operator=(const FilledBuffer&) = delete;
    ~FilledBuffer() = default;

    BYTE* m_data;
    size_t m_size;
};

class GuardedBuffer : public FilledBuffer
{
public:
    explicit GuardedBuffer(size_t size)
        : FilledBuffer(nullptr, size)
    {
        SYSTEM_INFO info;
        GetSystemInfo(&info);
        const size_t page = info.dwPageSize;
        const size_t dataPages = (size + page - 1) / page;
        m_reserved = (dataPages + 1) * page;
        m_base = static_cast<BYTE*>(VirtualAlloc(nullptr, m_reserved, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
        if (m_base != nullptr) {
            DWORD old = 0;
            VirtualProtect(m_base + dataPages * page, page, PAGE_NOACCESS, &old);
        }
        m_data = m_base != nullptr ? m_base + dataPages * page - size : nullptr;
    }
    ~GuardedBuffer()
    {
        if (m_base != nullptr)
            VirtualFree(m_base, 0, MEM_RELEASE);
    }

private:
    size_t m_reserved = 0;
    BYTE* m_base = nullptr;
};

// The last size bytes of a guarded buffer: a smaller block that still ends at the guard page, so
// one buffer serves many cases without a new allocation each.
class GuardedTail : public FilledBuffer
{
public:
    GuardedTail(const GuardedBuffer& whole, size_t size)
        : FilledBuffer(size <= whole.Size() ? whole.Bytes() + whole.Size() - size : nullptr, size)
    {
    }
};
