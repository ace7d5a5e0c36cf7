# SPDX-License-Identifier: GPL-3.0-or-later
# Every fragment and source is listed by name. A file left off its list would be left out
# without a word, so these checks stop the configuration instead.

# Includes <this folder>/<area>.cmake for each area given; a fragment there in no list stops.
# A macro, so the fragments define their tests and variables in the folder's own scope.
macro(halvex_include_areas what)
    set(halvex_areas ${ARGN})
    foreach(halvex_area IN LISTS halvex_areas)
        include(${CMAKE_CURRENT_SOURCE_DIR}/${halvex_area}.cmake)
    endforeach()
    file(GLOB halvex_fragments CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cmake)
    foreach(halvex_fragment IN LISTS halvex_fragments)
        cmake_path(GET halvex_fragment STEM halvex_area)
        if(NOT "${halvex_area}" IN_LIST halvex_areas)
            message(FATAL_ERROR "${halvex_fragment} is in no list of ${what} areas")
        endif()
    endforeach()
endmacro()

# Stops when a .cpp under root is in no source list of the targets defined in the folders
# given. Call it once every target of those folders exists.
function(halvex_require_listed_sources root)
    set(listed)
    foreach(folder IN LISTS ARGN)
        get_property(targets DIRECTORY ${folder} PROPERTY BUILDSYSTEM_TARGETS)
        foreach(target IN LISTS targets)
            get_target_property(sources ${target} SOURCES)
            get_target_property(target_dir ${target} SOURCE_DIR)
            foreach(source IN LISTS sources)
                cmake_path(ABSOLUTE_PATH source BASE_DIRECTORY ${target_dir} NORMALIZE)
                list(APPEND listed ${source})
            endforeach()
        endforeach()
    endforeach()
    file(GLOB_RECURSE present CONFIGURE_DEPENDS ${root}/*.cpp)
    foreach(source IN LISTS present)
        if(NOT source IN_LIST listed)
            message(FATAL_ERROR "${source} is in no target's source list")
        endif()
    endforeach()
endfunction()

# Sets out to dir and every folder added below it, for halvex_require_listed_sources.
function(halvex_folders_below out dir)
    set(folders ${dir})
    get_property(below DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
    foreach(folder IN LISTS below)
        halvex_folders_below(inner ${folder})
        list(APPEND folders ${inner})
    endforeach()
    set(${out} ${folders} PARENT_SCOPE)
endfunction()
