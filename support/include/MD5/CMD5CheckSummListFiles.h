// A folder's fingerprint: the files' own MD5 digests, taken in plain byte order of their names,
// hashed once more. Whatever will not open as a file (a subfolder, a locked file) adds an all-zero
// digest, and the walk stays in the one folder.
#pragma once

#include "MD5/MD5.h"

#include <string>

class CMD5CheckSummListFiles
{
public:
    CMD5CheckSummListFiles() = default;

    // 0; the digest is cleared.
    virtual HRESULT SetFolder(const std::string& folder);
    // The folder listing's result; the digest stays zero when the listing fails.
    virtual HRESULT CalcCheckSumm();
    virtual ~CMD5CheckSummListFiles() = default;

    // Copies the 16-byte digest; 0x80070057 for null.
    HRESULT GetCheckSumm(uint8_t* digest) const;

private:
    std::string m_folder;
    std::string m_mask = "*.*";
    uint8_t m_digest[MD5_DIGEST_SIZE] = {};
};
