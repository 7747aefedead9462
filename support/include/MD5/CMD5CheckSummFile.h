// MD5 digest of one file, read sequentially in 128 KiB blocks.
#pragma once

#include "MD5/MD5.h"

#include <string>

class CMD5CheckSummFile
{
public:
    explicit CMD5CheckSummFile(const std::string& fileName = std::string());
    CMD5CheckSummFile(const CMD5CheckSummFile& other);
    CMD5CheckSummFile& operator=(const CMD5CheckSummFile& other);

    virtual HRESULT SetFile(const std::string& fileName);
    // Digest of the object's own file into the object's digest.
    virtual HRESULT CalcCheckSumm();
    // 0, or 0x80004005 with a zero digest when the file cannot be read or the digest is null.
    virtual HRESULT CalcCheckSummFile(const std::string& fileName, uint8_t* digest);
    virtual ~CMD5CheckSummFile() = default;

    // Copies the 16-byte digest; 0x80070057 for null.
    HRESULT GetCheckSumm(uint8_t* digest) const;
    // Same object, or equal names and digests.
    bool operator==(const CMD5CheckSummFile& other) const;

private:
    std::string m_fileName;
    uint8_t m_digest[MD5_DIGEST_SIZE] = {};
};
