# Shared build rules: warnings, sanitizers, and the helper that declares one
# engine library per folder of src/.

set(MORVANE_WARNINGS -Wall -Wextra)

if(MORVANE_SANITIZE)
    add_compile_options(-fsanitize=address,undefined,float-cast-overflow -fno-omit-frame-pointer -fno-sanitize-recover=undefined,float-cast-overflow)
    add_link_options(-fsanitize=address,undefined,float-cast-overflow)
endif()

# Every program of a sanitizer build gets the hooks that keep leak reports about our own code.
function(morvane_sanitizer_hooks target)
    if(MORVANE_SANITIZE)
        target_sources(${target} PRIVATE ${PROJECT_SOURCE_DIR}/cmake/SanitizerHooks.cpp)
        target_link_libraries(${target} PRIVATE ${CMAKE_DL_LIBS})
    endif()
endfunction()

if(MORVANE_FUZZ)
    if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
        message(FATAL_ERROR "MORVANE_FUZZ needs clang (configure with CXX=clang++ CC=clang)")
    endif()
    # Everything is instrumented for coverage; only the fuzz targets get the libFuzzer main.
    add_compile_options(-fsanitize=fuzzer-no-link,address,undefined)
    add_link_options(-fsanitize=address,undefined,float-cast-overflow)
endif()

# The library layering, stated once. Each folder of src/ is one static library
# that links exactly the layers directly below it; a layer whose folder does not
# exist yet is stepped over to the layers beneath it. The renderer's image files,
# device interface, OpenGL device and model files are layers of their own, so
# that tools reading and writing images or models never link the OpenGL device.
set(MORVANE_LAYER_platform "")
set(MORVANE_LAYER_mathutil "")
set(MORVANE_LAYER_resources platform mathutil)
set(MORVANE_LAYER_script resources)
set(MORVANE_LAYER_state script)
set(MORVANE_LAYER_navigation script)
set(MORVANE_LAYER_image resources)
set(MORVANE_LAYER_device resources)
set(MORVANE_LAYER_devicegl device)
set(MORVANE_LAYER_model device navigation)
set(MORVANE_LAYER_render script image model devicegl)
set(MORVANE_LAYER_scene render)
set(MORVANE_LAYER_parser "")
set(MORVANE_LAYER_sound script)
set(MORVANE_LAYER_app state scene parser sound)

# The layers in the order they are built, and the folders of those not directly under src/.
set(MORVANE_LAYERS platform mathutil parser resources script state navigation image device devicegl model
    render scene sound app)
set(MORVANE_FOLDER_image render/image)
set(MORVANE_FOLDER_device render/device)
set(MORVANE_FOLDER_devicegl render/device/gl)
set(MORVANE_FOLDER_model render/model)

# The folder of a layer below src/.
function(morvane_layer_folder layer out)
    if(DEFINED MORVANE_FOLDER_${layer})
        set(${out} ${MORVANE_FOLDER_${layer}} PARENT_SCOPE)
    else()
        set(${out} ${layer} PARENT_SCOPE)
    endif()
endfunction()

function(morvane_lower_layers layer out)
    set(result)
    foreach(lower ${MORVANE_LAYER_${layer}})
        morvane_layer_folder(${lower} folder)
        if(EXISTS ${PROJECT_SOURCE_DIR}/src/${folder}/CMakeLists.txt)
            list(APPEND result morvane_${lower})
        else()
            morvane_lower_layers(${lower} beneath)
            list(APPEND result ${beneath})
        endif()
    endforeach()
    list(REMOVE_DUPLICATES result)
    set(${out} ${result} PARENT_SCOPE)
endfunction()

# morvane_library(NAME SOURCES ... [PUBLIC_LIBS ...] [PRIVATE_LIBS ...])
# Creates the static library morvane_<NAME> with src/ as its include root,
# linked to the layers below it.
function(morvane_library name)
    cmake_parse_arguments(ARG "" "" "SOURCES;PUBLIC_LIBS;PRIVATE_LIBS" ${ARGN})
    add_library(morvane_${name} STATIC ${ARG_SOURCES})
    target_include_directories(morvane_${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    target_compile_options(morvane_${name} PRIVATE ${MORVANE_WARNINGS})
    morvane_lower_layers(${name} lower)
    target_link_libraries(morvane_${name} PUBLIC ${lower} ${ARG_PUBLIC_LIBS} PRIVATE ${ARG_PRIVATE_LIBS})
endfunction()

# morvane_test(NAME SOURCES ... LIBS ... [TIMEOUT SECONDS]): one GoogleTest executable,
# registered with CTest. Its main (tests/support/TestMain.cpp) makes every run headless.
# TIMEOUT replaces the suite's default limit for each of its tests (whole-game runs
# that take minutes in a sanitizer build).
function(morvane_test name)
    cmake_parse_arguments(ARG "" "TIMEOUT" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_compile_options(${name} PRIVATE ${MORVANE_WARNINGS})
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} morvane_testsupport)
    morvane_sanitizer_hooks(${name})
    if(ARG_TIMEOUT)
        gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT ${ARG_TIMEOUT})
    else()
        gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60)
    endif()
endfunction()

# morvane_gl_test(NAME SOURCES ... LIBS ...): a test on the OpenGL device with the
# device tests' scene helpers, comparing with reference images kept in the
# calling folder's golden/; mismatches are written next to the build for inspection.
function(morvane_gl_test name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
    morvane_test(${name}
        SOURCES ${ARG_SOURCES}
            ${PROJECT_SOURCE_DIR}/tests/render_gl/GlTestScene.cpp
            ${PROJECT_SOURCE_DIR}/tests/render_gl/GoldenImage.cpp
        LIBS ${ARG_LIBS})
    target_compile_definitions(${name} PRIVATE
        MORVANE_GOLDEN_DIR="${CMAKE_CURRENT_SOURCE_DIR}/golden"
        MORVANE_GOLDEN_ACTUAL_DIR="${CMAKE_CURRENT_BINARY_DIR}/golden-actual")
endfunction()
