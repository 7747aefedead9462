# GoogleTest from Debian's sources, built for the target; tests run under 64-bit Wine.
option(KORVANE_TESTS "Build the test programs" ON)
if(NOT KORVANE_TESTS)
    function(korvane_add_test)
    endfunction()
    return()
endif()

enable_testing()
set(GOOGLETEST_SOURCE_DIR /usr/src/googletest CACHE PATH "GoogleTest sources")
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
add_subdirectory(${GOOGLETEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

set(KORVANE_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_SOURCE_DIR}/scripts/wine-run ${KORVANE_WINEPREFIX})

# One wineserver for the whole run: a Wine process then starts in a fraction of a second.
add_test(NAME wine_server_start
         COMMAND ${CMAKE_SOURCE_DIR}/scripts/wine-server start ${KORVANE_WINEPREFIX})
add_test(NAME wine_server_stop
         COMMAND ${CMAKE_SOURCE_DIR}/scripts/wine-server stop ${KORVANE_WINEPREFIX})
set_tests_properties(wine_server_start PROPERTIES FIXTURES_SETUP wine)
set_tests_properties(wine_server_stop PROPERTIES FIXTURES_CLEANUP wine)

# korvane_add_test(<name> SOURCES ... [LIBRARIES ...] [TIMEOUT seconds])
# One CTest entry per test program; the program runs under Wine from the binary folder.
function(korvane_add_test name)
    cmake_parse_arguments(ARG "" "TIMEOUT" "SOURCES;LIBRARIES" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE korvane_test_main ${ARG_LIBRARIES})
    add_test(NAME ${name} COMMAND ${name} WORKING_DIRECTORY ${KORVANE_BIN_DIR})
    if(NOT ARG_TIMEOUT)
        set(ARG_TIMEOUT 300)
    endif()
    set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED wine TIMEOUT ${ARG_TIMEOUT})
endfunction()
