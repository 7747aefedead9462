// Entry point of every test program under Wine.
#include "KestrelDebugFunct.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <io.h>
#include <cstdio>

int main(int argc, char** argv)
{
    // msvcrt's text mode would put a carriage return into every line CTest reads.
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    // A crash ends the test program with the exception code and a log line, never a dialog.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
    SetUnhandledExceptionFilter(MainUnhandledExceptionFilterForProcess);

    testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    std::fflush(stdout);
    if (testing::UnitTest::GetInstance()->test_to_run_count() == 0) {
        std::fprintf(stderr, "no test selected\n");
        return 1;
    }
    return result;
}
