// An operation that throws inside and answers through the catch-all, for the log tests.
#pragma once

#include "CatchAllLog.h"

inline int ThrowingOperationLine()
{
    return __LINE__ + 9;
}

template <class Thrown>
HRESULT ThrowingOperation(const Thrown& thrown)
{
    try {
        throw thrown;
    }
    CATCH_ALL_RETURN(E_FAIL)
}
