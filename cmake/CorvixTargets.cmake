# Compiler settings shared by every target of ours.

set(CORVIX_SANITIZER_FLAGS -fsanitize=address,undefined -fno-omit-frame-pointer
    -fno-sanitize-recover=undefined)

function(corvix_target_settings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow)
    if(CORVIX_SANITIZE)
        target_compile_options(${target} PRIVATE ${CORVIX_SANITIZER_FLAGS})
        target_link_options(${target} PRIVATE ${CORVIX_SANITIZER_FLAGS})
    endif()
endfunction()

# Sources of a layer: every .cpp under the given folders, the ui/ sub-folders either taken alone
# (ui layer) or left out (core layer). Globbing keeps adding a file a one-step change.
function(corvix_collect_sources out_var layer)
    set(result)
    foreach(folder ${ARGN})
        file(GLOB_RECURSE found CONFIGURE_DEPENDS "${folder}/*.cpp" "${folder}/*.h")
        foreach(file ${found})
            file(RELATIVE_PATH rel "${folder}" "${file}")
            string(REGEX MATCH "(^|/)ui/" in_ui "${rel}")
            get_filename_component(name "${file}" NAME)
            if(name STREQUAL "main.cpp")
                continue()
            endif()
            if(layer STREQUAL "ui" AND in_ui)
                list(APPEND result "${file}")
            elseif(layer STREQUAL "core" AND NOT in_ui)
                list(APPEND result "${file}")
            endif()
        endforeach()
    endforeach()
    set(${out_var} ${result} PARENT_SCOPE)
endfunction()

# A driver or tool plug-in: a shared library without the "lib" prefix, in Drivers/ or Tools/.
function(corvix_add_plugin target kind)
    add_library(${target} MODULE ${ARGN})
    set_target_properties(${target} PROPERTIES
        PREFIX ""
        LIBRARY_OUTPUT_DIRECTORY "${CORVIX_BIN_DIR}/${kind}"
        CXX_VISIBILITY_PRESET hidden
        C_VISIBILITY_PRESET hidden)
    target_link_libraries(${target} PRIVATE corvix_contract)
    corvix_target_settings(${target})
endfunction()
