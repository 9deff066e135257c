# Builds JavaScript and WebAssembly from the project's C++ with emscripten
# (Debian's emcc), beside the native build:
#
#   torvikan_wasm(<target> OUTPUT <file.js> SOURCES <files...>
#                 [INCLUDES <dirs...>] [COMPILE_OPTIONS <flags...>]
#                 [LINK_OPTIONS <flags...>] [DEPENDS <files...>])
#
# makes the custom target <target>, built with ALL, whose command writes
# OUTPUT. Each source compiles to an object of its own, which is rebuilt when
# the source or a header it includes changes; LINK_OPTIONS take emscripten's
# -s settings, which emcc ignores with a warning when compiling. DEPENDS adds
# files the link reads (a --pre-js, an --embed-file).
#
# A module with its WebAssembly in a file beside it loads that file with
# fetch(), which browsers forbid on file:// and which node 18 and later have
# but cannot use on a path: give -sSINGLE_FILE=1 where the output must load
# from a folder or run under node.
#
# TORVIKAN_EMCC and TORVIKAN_NODE are empty where emscripten or node is
# missing; test them before calling torvikan_wasm.

find_program(TORVIKAN_EMCC emcc DOC "emscripten's C++ compiler")
find_program(TORVIKAN_NODE NAMES node nodejs DOC "Node.js, to run WebAssembly outside a browser")

# Debian's emcc runs its JavaScript tools with the node it finds and needs
# Debian's JavaScript modules (acorn and others) from /usr/share/nodejs; a
# node from elsewhere does not look there. Harmless with Debian's own node.
set(_torvikan_emcc_environment NODE_PATH=/usr/share/nodejs)

# emscripten keeps its system libraries in a cache. Debian's is built and
# frozen (FROZEN_CACHE) under /usr/share/emscripten/cache, readable by every
# user, and emcc writes nothing there. An emscripten that builds its libraries
# at first use must write its cache: where the system's is not writable (a
# user's build with a root-installed emscripten), it gets one in the build tree.
if(TORVIKAN_EMCC)
    get_filename_component(_torvikan_emscripten_bin ${TORVIKAN_EMCC} DIRECTORY)
    find_program(TORVIKAN_EM_CONFIG em-config HINTS ${_torvikan_emscripten_bin} NO_CACHE)
    if(TORVIKAN_EM_CONFIG)
        execute_process(COMMAND ${CMAKE_COMMAND} -E env ${_torvikan_emcc_environment} ${TORVIKAN_EM_CONFIG} CACHE
            OUTPUT_VARIABLE _torvikan_em_cache OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
        execute_process(COMMAND ${CMAKE_COMMAND} -E env ${_torvikan_emcc_environment} ${TORVIKAN_EM_CONFIG} FROZEN_CACHE
            OUTPUT_VARIABLE _torvikan_em_frozen OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
        execute_process(COMMAND test -w "${_torvikan_em_cache}" RESULT_VARIABLE _torvikan_em_cache_not_writable)
        # em-config prints the setting as Python sees it: True, False, or the
        # text of an EM_FROZEN_CACHE override, which freezes unless empty.
        if(_torvikan_em_cache AND _torvikan_em_frozen MATCHES "^(False)?$" AND _torvikan_em_cache_not_writable)
            list(APPEND _torvikan_emcc_environment EM_CACHE=${CMAKE_BINARY_DIR}/emscripten-cache)
            message(STATUS "emscripten's cache ${_torvikan_em_cache} is not writable: using ${CMAKE_BINARY_DIR}/emscripten-cache")
        endif()
    endif()
endif()

function(torvikan_wasm target)
    cmake_parse_arguments(PARSE_ARGV 1 W "" "OUTPUT" "SOURCES;INCLUDES;COMPILE_OPTIONS;LINK_OPTIONS;DEPENDS")
    if(NOT TORVIKAN_EMCC)
        message(FATAL_ERROR "torvikan_wasm(${target}) needs emcc (Debian package emscripten)")
    endif()
    if(NOT W_OUTPUT OR NOT W_SOURCES)
        message(FATAL_ERROR "torvikan_wasm(${target}) needs OUTPUT and SOURCES")
    endif()
    get_filename_component(output ${W_OUTPUT} ABSOLUTE BASE_DIR ${CMAKE_CURRENT_BINARY_DIR})
    set(emcc ${CMAKE_COMMAND} -E env ${_torvikan_emcc_environment} ${TORVIKAN_EMCC})
    # The native build's numeric rules (no fused multiply-add, no fast-math)
    # and warnings, so both builds compute the same numbers from the same code.
    set(flags -std=c++20 -O2 -ffp-contract=off -fno-fast-math -Wall -Wextra -Wpedantic)
    foreach(dir IN LISTS W_INCLUDES)
        get_filename_component(dir ${dir} ABSOLUTE)
        list(APPEND flags -I${dir})
    endforeach()

    set(objects)
    file(MAKE_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/${target}.dir)
    foreach(source IN LISTS W_SOURCES)
        get_filename_component(source ${source} ABSOLUTE)
        file(RELATIVE_PATH name ${PROJECT_SOURCE_DIR} ${source})
        string(REPLACE "/" "_" object ${name})
        set(object ${CMAKE_CURRENT_BINARY_DIR}/${target}.dir/${object}.o)
        add_custom_command(OUTPUT ${object}
            COMMAND ${emcc} ${flags} ${W_COMPILE_OPTIONS} -MD -MF ${object}.d -c ${source} -o ${object}
            DEPENDS ${source}
            DEPFILE ${object}.d
            COMMENT "Compiling ${name} to WebAssembly"
            VERBATIM)
        list(APPEND objects ${object})
    endforeach()

    # Without SINGLE_FILE the WebAssembly is a file of its own beside OUTPUT.
    set(byproducts)
    if(NOT W_LINK_OPTIONS MATCHES "SINGLE_FILE(=1)?(;|$)")
        get_filename_component(directory ${output} DIRECTORY)
        get_filename_component(stem ${output} NAME_WLE)
        set(byproducts ${directory}/${stem}.wasm)
    endif()
    file(RELATIVE_PATH shown ${CMAKE_BINARY_DIR} ${output})
    get_filename_component(output_directory ${output} DIRECTORY)
    # emcc writes into an existing folder only. Ninja makes the folders of a
    # command's outputs itself; Make does not.
    add_custom_command(OUTPUT ${output}
        BYPRODUCTS ${byproducts}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${output_directory}
        COMMAND ${emcc} ${flags} ${W_LINK_OPTIONS} ${objects} -o ${output}
        DEPENDS ${objects} ${W_DEPENDS}
        COMMENT "Linking ${shown} with emcc"
        VERBATIM)
    add_custom_target(${target} ALL DEPENDS ${output})
endfunction()
