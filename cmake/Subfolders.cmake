# Adds every direct subfolder of the current source folder that has a CMakeLists.txt,
# so each subsystem owns its own folder of tests, benchmarks, fuzz targets or tools.
function(morvane_add_subfolders)
    file(GLOB children LIST_DIRECTORIES true ${CMAKE_CURRENT_SOURCE_DIR}/*)
    foreach(child ${children})
        if(IS_DIRECTORY ${child} AND EXISTS ${child}/CMakeLists.txt)
            add_subdirectory(${child})
        endif()
    endforeach()
endfunction()
