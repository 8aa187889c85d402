# Per-target settings and the one helper every test goes through.

set(PELIDORE_WINEPREFIX "${PROJECT_SOURCE_DIR}/build/wine" CACHE PATH "Wine prefix the Windows tests run in")

# Warnings are per target, so third-party code is never compiled with ours.
function(pelidore_set_warnings target)
    target_compile_options(${target} PRIVATE
        $<$<COMPILE_LANGUAGE:CXX>:-Wall -Wextra -Wshadow=local -Wnon-virtual-dtor -Wno-missing-field-initializers>
        $<$<COMPILE_LANGUAGE:C>:-Wall -Wextra>)
endfunction()

# Everything the project compiles: warnings, sanitizers when asked, and the
# Windows header settings (the one header toolkit/NWindows.h relies on them).
# Include folders are per target: a library offers its own folder to those
# that link it, so a header of a layer the target does not link is not found.
function(pelidore_configure_target target)
    pelidore_set_warnings(${target})
    if(PELIDORE_SANITIZE)
        target_compile_options(${target} PRIVATE -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
        target_link_options(${target} PUBLIC -fsanitize=address,undefined)
    endif()
    if(WIN32)
        target_compile_definitions(${target} PUBLIC UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601)
    endif()
endfunction()

# A header-only target: its folder on the include path of those that link it.
function(pelidore_add_headers name)
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${CMAKE_CURRENT_SOURCE_DIR})
endfunction()

function(pelidore_add_library name)
    cmake_parse_arguments(L "" "" "SOURCES;LIBS" ${ARGN})
    add_library(${name} STATIC ${L_SOURCES})
    pelidore_configure_target(${name})
    target_include_directories(${name} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
    target_link_libraries(${name} PUBLIC ${L_LIBS})
endfunction()

function(pelidore_add_executable name)
    cmake_parse_arguments(E "GUI" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${E_SOURCES})
    pelidore_configure_target(${name})
    target_include_directories(${name} PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
    target_link_libraries(${name} PRIVATE ${E_LIBS})
    if(E_GUI AND WIN32)
        set_target_properties(${name} PROPERTIES WIN32_EXECUTABLE ON)
    endif()
endfunction()

# pelidore_add_test(NAME SOURCES ... [LIBS ...] [NO_GTEST_MAIN] [WINE_GUI] [TIMEOUT s] [LABELS ...])
# One executable, one ctest test. Under the mingw tree ctest runs it through
# Wine (CMAKE_CROSSCOMPILING_EMULATOR); WINE_GUI marks tests that need a display.
function(pelidore_add_test name)
    cmake_parse_arguments(T "NO_GTEST_MAIN;WINE_GUI" "TIMEOUT" "SOURCES;LIBS;LABELS;ARGS" ${ARGN})
    add_executable(${name} ${T_SOURCES})
    pelidore_configure_target(${name})
    target_include_directories(${name} PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
    target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gmock)
    if(NOT T_NO_GTEST_MAIN)
        target_link_libraries(${name} PRIVATE GTest::gtest_main)
    endif()
    target_compile_definitions(${name} PRIVATE PELIDORE_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
    add_test(NAME ${name} COMMAND ${name} ${T_ARGS})
    if(NOT T_TIMEOUT)
        set(T_TIMEOUT 300)
    endif()
    set(labels ${T_LABELS})
    if(CMAKE_CROSSCOMPILING)
        list(APPEND labels windows)
        set_tests_properties(${name} PROPERTIES ENVIRONMENT
            "WINEPREFIX=${PELIDORE_WINEPREFIX};WINEARCH=win64;WINEDEBUG=-all;WINEDLLOVERRIDES=mscoree,mshtml=")
    else()
        list(APPEND labels native)
    endif()
    if(T_WINE_GUI)
        list(APPEND labels gui)
        # One virtual display for all: windows of two tests running at once
        # would cover each other and spoil screen grabs and pointer moves.
        set_tests_properties(${name} PROPERTIES RESOURCE_LOCK pelidore_display)
    endif()
    set_tests_properties(${name} PROPERTIES TIMEOUT ${T_TIMEOUT} LABELS "${labels}")
endfunction()

# pelidore_test_folder(TEST DEFINE FOLDER): DEFINE="FOLDER" for TEST, as the
# test process sees the folder (Wine sees the build machine's root as Z:).
function(pelidore_test_folder name define folder)
    if(CMAKE_CROSSCOMPILING)
        set(folder "Z:${folder}")
    endif()
    target_compile_definitions(${name} PRIVATE ${define}="${folder}")
endfunction()
