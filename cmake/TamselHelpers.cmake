# Common compile options every target of the project links.
add_library(tamsel_options INTERFACE)
target_compile_features(tamsel_options INTERFACE cxx_std_17)
target_compile_options(tamsel_options INTERFACE -Wall -Wextra)
target_compile_definitions(tamsel_options INTERFACE
    QT_NO_CAST_FROM_ASCII
    QT_USE_QSTRINGBUILDER
    QT_NO_NARROWING_CONVERSIONS_IN_CONNECT)

# tamsel_add_library(NAME SOURCES ... LIBS ...)
# A static library whose folder is its public include root.
function(tamsel_add_library name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
    add_library(${name} STATIC ${ARG_SOURCES})
    target_include_directories(${name} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
    target_link_libraries(${name} PUBLIC tamsel_options ${ARG_LIBS})
endfunction()

# tamsel_add_test(NAME SOURCES ... LIBS ... [GUI] [TIMEOUT s] [OUTPUT_DIR dir] [LABELS ...] [DEFINES ...])
# Every test runs with private settings, data, config and temporary folders,
# so it never touches the real user's files or a running copy of the program.
function(tamsel_add_test name)
    cmake_parse_arguments(ARG "GUI" "TIMEOUT;OUTPUT_DIR" "SOURCES;LIBS;LABELS;DEFINES" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE tamsel_options Qt6::Test ${ARG_LIBS})
    target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/tests/common)
    target_compile_definitions(${name} PRIVATE ${ARG_DEFINES})
    if(NOT ARG_OUTPUT_DIR)
        set(ARG_OUTPUT_DIR ${CMAKE_BINARY_DIR}/tests)
    endif()
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${ARG_OUTPUT_DIR})
    add_test(NAME ${name} COMMAND ${CMAKE_SOURCE_DIR}/tests/sandbox.sh $<TARGET_FILE:${name}>)
    if(NOT ARG_TIMEOUT)
        set(ARG_TIMEOUT 120)
    endif()
    set(env "TAMSEL_BIN_DIR=${TAMSEL_BIN_DIR}"
            "GST_PLUGIN_FEATURE_RANK=pulsesink:NONE,alsasink:NONE,openalsink:NONE,jackaudiosink:NONE,oss4sink:NONE,osssink:NONE")
    if(ARG_GUI)
        list(APPEND env "QT_QPA_PLATFORM=offscreen")
        list(APPEND ARG_LABELS gui)
    endif()
    get_filename_component(subsystem ${CMAKE_CURRENT_SOURCE_DIR} NAME)
    set_tests_properties(${name} PROPERTIES
        TIMEOUT ${ARG_TIMEOUT}
        LABELS "${subsystem};${ARG_LABELS}"
        ENVIRONMENT "${env}")
endfunction()
