# A program's manual pages, compressed as Debian installs manual pages:
# NAME.1 in man1, and its Japanese page NAME.ja.1 under the same name in
# ja/man1, both from the calling folder.
function(install_man_pages name)
    foreach(folder IN ITEMS man1 ja/man1)
        if(folder STREQUAL "man1")
            set(source ${name}.1)
        else()
            set(source ${name}.ja.1)
        endif()
        set(page ${CMAKE_CURRENT_BINARY_DIR}/${folder}/${name}.1)
        add_custom_command(OUTPUT ${page}.gz
            COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_CURRENT_SOURCE_DIR}/${source} ${page}
            COMMAND gzip -9nf ${page}
            DEPENDS ${source}
            COMMENT "Compressing the manual page ${source}")
        list(APPEND pages ${page}.gz)
        install(FILES ${page}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/${folder})
    endforeach()
    add_custom_target(${name}_man ALL DEPENDS ${pages})
endfunction()
