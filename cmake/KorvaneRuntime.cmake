# Copies the GCC runtime DLLs beside the binaries.
if(KORVANE_32BIT)
    set(_korvane_runtime libstdc++-6.dll libgcc_s_dw2-1.dll libwinpthread-1.dll)
else()
    set(_korvane_runtime libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
endif()
file(MAKE_DIRECTORY ${KORVANE_BIN_DIR})
foreach(dll IN LISTS _korvane_runtime)
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll}
                    OUTPUT_VARIABLE _path OUTPUT_STRIP_TRAILING_WHITESPACE)
    if(NOT EXISTS "${_path}")
        message(FATAL_ERROR "GCC runtime ${dll} not found")
    endif()
    file(COPY ${_path} DESTINATION ${KORVANE_BIN_DIR})
endforeach()

# Modules whose entry points are found with GetProcAddress by plain name (plug-ins, the COM
# server, render libraries): 32-bit __stdcall exports must not carry their @N decoration.
function(korvane_undecorated_exports target)
    if(KORVANE_32BIT)
        target_link_options(${target} PRIVATE -Wl,--kill-at)
    endif()
endfunction()
