#include "MD5/CMD5CheckSummListFiles.h"

#include "FunctConvertToText.h"
#include "FunctWorkWithFiles.h"
#include "MD5/CMD5CheckSummFile.h"

#include <algorithm>
#include <cstring>
#include <vector>

HRESULT CMD5CheckSummListFiles::SetFolder(const std::string& folder)
{
    try {
        m_folder = folder;
        std::memset(m_digest, 0, sizeof(m_digest));
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT CMD5CheckSummListFiles::CalcCheckSumm()
{
    try {
        std::memset(m_digest, 0, sizeof(m_digest));
        DynamicBoundsObject<DynamicString> names;
        DynamicBoundsObject<uint32_t> attributes;
        const HRESULT listed = GetListFilesInFolder(m_folder.c_str(), m_mask.c_str(), names, 0, attributes);
        if (FAILED(listed))
            return listed;

        // Plain byte-wise name order, folders mixed in, so the digest does not depend on attributes.
        std::vector<std::string> sortedNames;
        for (uint32_t i = 0; i < names.GetCount(); ++i)
            sortedNames.emplace_back(names.GetElement(i).GetString());
        std::sort(sortedNames.begin(), sortedNames.end());

        MD5Context context;
        MD5Init(&context);
        CMD5CheckSummFile entry;
        for (const std::string& name : sortedNames) {
            DynamicString path;
            CreateFullPathFromFolder(path, m_folder.c_str(), name.c_str());
            entry.SetFile(path.GetString());
            entry.CalcCheckSumm();
            uint8_t entryDigest[MD5_DIGEST_SIZE];
            entry.GetCheckSumm(entryDigest);
            MD5Update(&context, entryDigest, sizeof(entryDigest));
        }
        MD5Final(m_digest, &context);
        return listed;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT CMD5CheckSummListFiles::GetCheckSumm(uint8_t* digest) const
{
    if (digest == nullptr)
        return E_INVALIDARG;
    std::memcpy(digest, m_digest, sizeof(m_digest));
    return S_OK;
}
