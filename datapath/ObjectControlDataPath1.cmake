# The controller of the data path: worker thread, operations, filter table, frame pump, events.
target_sources(datapath PRIVATE
    src/ObjectControlDataPath1.cpp
    src/ObjectControlDataPath1_ExternalFunction.cpp
    src/ObjectControlDataPath1_InternalFunction.cpp
    src/ObjectControlDataPath1_CallFunction.cpp
    src/ObjectControlDataPath1_RouteFunction.cpp
    src/ObjectControlDataPath1_EventFunction.cpp
    src/ObjectControlDataPath1_CreatePathFunction.cpp
    src/ObjectControlDataPath1_CreatePathForMixerTundrel.cpp
    src/ObjectControlDataPath1_CreateCapturePath.cpp
    src/ObjectControlDataPath1_ArchivePath.cpp)
target_link_libraries(datapath PUBLIC ole32)

if(KORVANE_TESTS)
    korvane_add_test(datapath_controller_tests
        SOURCES tests/ControllerTests.cpp tests/FilterTableTests.cpp tests/FramePumpTests.cpp tests/MixerPathTests.cpp
                tests/CapturePathTests.cpp tests/ArchivePathTests.cpp
        LIBRARIES datapath datapath_testkit filter_frame intavo_graph)
endif()
