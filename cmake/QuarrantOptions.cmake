# Warning, sanitizer and fuzzing flags shared by every target of the project.
add_library(quarrant_flags INTERFACE)
target_compile_options(quarrant_flags INTERFACE -Wall -Wextra)
if(QUARRANT_WERROR)
    target_compile_options(quarrant_flags INTERFACE -Werror)
endif()
if(QUARRANT_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer
                        -fno-sanitize-recover=undefined)
    add_link_options(-fsanitize=address,undefined)
endif()
if(QUARRANT_FUZZ)
    if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
        message(FATAL_ERROR "QUARRANT_FUZZ needs clang (CXX=clang++)")
    endif()
    add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer)
    add_link_options(-fsanitize=address,undefined)
endif()

# Collects the toolkit-free sources of one area: every .cpp directly in the folder.
# Widgets of an area live in its widgets/ subfolder and are built by the Qt targets.
function(quarrant_area_sources out area)
    file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/${area}/*.cpp)
    set(${out} ${sources} PARENT_SCOPE)
endfunction()

# Readers that live in the plug-in rather than in quarrant_core are compiled into the fuzz
# target (and its seed replay) that exercises them.
function(quarrant_fuzz_extra_sources target name)
    if(name STREQUAL "ProgramTextFilesFuzz")
        target_sources(${target} PRIVATE ${CMAKE_SOURCE_DIR}/src/plugin/PartNames.cpp)
    endif()
endfunction()
