// The integer an operation throws, for tests of the system's small-integer error signals.
#pragma once

// Returns the thrown integer, or 0 when nothing was thrown.
template <class F>
int ThrownInteger(F&& operation)
{
    try {
        operation();
    } catch (int code) {
        return code;
    }
    return 0;
}
