// An operation that throws inside and answers through the catch-all, for the log tests.
#pragma once

#include "CatchAllLog.h"

inline int ThrowingOperationLine()
{
    return __LINE__ + 8;
}

inline HRESULT ThrowingOperation()
{
    try {
        throw 2;
    }
    CATCH_ALL_RETURN(E_FAIL)
}
