#include "MD5/CMD5CheckSummFile.h"

#include "MemoryBlockClass.h"
#include "g_managment_mem.h"

#include <cstring>

namespace {

constexpr DWORD kReadBlockSize = 131072;

} // namespace

CMD5CheckSummFile::CMD5CheckSummFile(const std::string& fileName) : m_fileName(fileName) {}

CMD5CheckSummFile::CMD5CheckSummFile(const CMD5CheckSummFile& other) : m_fileName(other.m_fileName)
{
    std::memcpy(m_digest, other.m_digest, sizeof(m_digest));
}

CMD5CheckSummFile& CMD5CheckSummFile::operator=(const CMD5CheckSummFile& other)
{
    if (&other == this)
        return *this;
    m_fileName = other.m_fileName;
    std::memcpy(m_digest, other.m_digest, sizeof(m_digest));
    return *this;
}

HRESULT CMD5CheckSummFile::SetFile(const std::string& fileName)
{
    try {
        m_fileName = fileName;
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT CMD5CheckSummFile::CalcCheckSumm()
{
    return CalcCheckSummFile(m_fileName, m_digest);
}

HRESULT CMD5CheckSummFile::CalcCheckSummFile(const std::string& fileName, uint8_t* digest)
{
    try {
        if (digest == nullptr)
            return E_FAIL;
        std::memset(digest, 0, MD5_DIGEST_SIZE);
        AutoFileHandle file(CreateFileA(fileName.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr),
                            false);
        if (file.Get() == INVALID_HANDLE_VALUE)
            return E_FAIL;
        SetFilePointer(file.Get(), 0, nullptr, FILE_BEGIN);
        MemoryBlockClass<uint8_t> buffer;
        if (FAILED(buffer.CreateBlock(kReadBlockSize)))
            return E_FAIL;
        MD5Context context;
        MD5Init(&context);
        for (;;) {
            DWORD bytesRead = 0;
            if (!ReadFile(file.Get(), buffer.GetData(), buffer.GetSize(), &bytesRead, nullptr))
                return E_FAIL;
            if (bytesRead == 0)
                return MD5Final(digest, &context);
            MD5Update(&context, buffer.GetData(), bytesRead);
        }
    }
    catch (...) {
        LogExceptionAt(__FILE__, __LINE__);
        if (digest != nullptr)
            std::memset(digest, 0, MD5_DIGEST_SIZE);
        return E_FAIL;
    }
}

HRESULT CMD5CheckSummFile::GetCheckSumm(uint8_t* digest) const
{
    if (digest == nullptr)
        return E_INVALIDARG;
    std::memcpy(digest, m_digest, sizeof(m_digest));
    return S_OK;
}

bool CMD5CheckSummFile::operator==(const CMD5CheckSummFile& other) const
{
    if (&other == this)
        return true;
    return m_fileName == other.m_fileName && std::memcmp(m_digest, other.m_digest, sizeof(m_digest)) == 0;
}
