// The one catch-all of the system: every operation catches what it throws, logs the source file
// and line, and answers a failure code. Only C++ exceptions are caught: processor faults are not,
// so code checks pointers, divisors and ranges itself.
#pragma once

#include "KestrelDebugFunct.h"

#include <cstdio>
#include <exception>

// The generic text and, inside a catch handler, what was thrown (an integer code, the text of a
// standard exception, or "unknown"), with the source file and line.
inline void LogExceptionAt(const char* sourceFile, int line)
{
    char text[320];
    std::snprintf(text, sizeof(text), "%s", g_add_text_except);
    const std::exception_ptr current = std::current_exception();
    try {
        if (current)
            std::rethrow_exception(current);
    }
    catch (int code) {
        std::snprintf(text, sizeof(text), "%s: integer %d", g_add_text_except, code);
    }
    catch (long code) {
        std::snprintf(text, sizeof(text), "%s: integer %ld (0x%08lX)", g_add_text_except, code,
                      static_cast<unsigned long>(code));
    }
    catch (unsigned code) {
        std::snprintf(text, sizeof(text), "%s: integer %u", g_add_text_except, code);
    }
    catch (const std::exception& exception) {
        std::snprintf(text, sizeof(text), "%s: %s", g_add_text_except, exception.what());
    }
    catch (const char* message) {
        std::snprintf(text, sizeof(text), "%s: %s", g_add_text_except, message != nullptr ? message : "(null)");
    }
    catch (...) {
        std::snprintf(text, sizeof(text), "%s: unknown", g_add_text_except);
    }
    fMfSG(text, nullptr, sourceFile, line, nullptr, false, true);
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
