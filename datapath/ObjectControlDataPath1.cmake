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

if(KORVANE_TESTS)
    # The mixer recipe with the real source plug-in on real sources: the sink filter and the test
    # camera are registered for the run.
    korvane_add_test(datapath_source_tests
        SOURCES tests/MixerPathSourceTests.cpp
                ${PROJECT_SOURCE_DIR}/plugins/intavo/graph/tests/GraphTestEnvironment.cpp
                ${PROJECT_SOURCE_DIR}/plugins/intavo/graph/tests/GraphObjectTestSupport.cpp
                ${PROJECT_SOURCE_DIR}/filters/sinkwell/tests/SinkwellGraphFixture.cpp
        LIBRARIES datapath datapath_testkit intavo1_core intavo_reference_frames sinkwell_testing sinkwell_filter
        TIMEOUT 300)
    target_include_directories(datapath_source_tests PRIVATE
        ${PROJECT_SOURCE_DIR}/plugins/intavo/graph/testing ${PROJECT_SOURCE_DIR}/plugins/intavo/graph/tests
        ${PROJECT_SOURCE_DIR}/filters/sinkwell/tests)
    add_dependencies(datapath_source_tests Intavo1 Sinkwell1 KorvaneTestCaptureDevice)
endif()
