// The one catch-all of the system: every operation catches what it throws, logs the source file
// and line, and answers a failure code. Only C++ exceptions are caught: processor faults are not,
// so code checks pointers, divisors and ranges itself.
#pragma once

#include "KestrelDebugFunct.h"

inline void LogExceptionAt(const char* sourceFile, int line)
{
    fMfSG(g_add_text_except, nullptr, sourceFile, line, nullptr, false, true);
}

// Writes a text such as "Class::Method::begin" with the caller's file and line.
#define LOG_TEXT(text) fMfSG((text), nullptr, __FILE__, __LINE__, nullptr, false, true)

// catch (...) that logs and returns the given result.
#define CATCH_ALL_RETURN(result)              \
    catch (...)                               \
    {                                         \
        LogExceptionAt(__FILE__, __LINE__);   \
        return (result);                      \
    }

// catch (...) that logs and goes on; for destructors, which never throw.
#define CATCH_ALL_LOG()                       \
    catch (...)                               \
    {                                         \
        LogExceptionAt(__FILE__, __LINE__);   \
    }

// catch (...) that logs and throws on; for constructors.
#define CATCH_ALL_RETHROW()                   \
    catch (...)                               \
    {                                         \
        LogExceptionAt(__FILE__, __LINE__);   \
        throw;                                \
    }
