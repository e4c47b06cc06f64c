# cmake -DSOURCE=... -DGENERATED=... -DTARGET=... -P Layout.cmake
file(MAKE_DIRECTORY ${TARGET})

function(lay_out from to mode)
    if(mode STREQUAL "always" OR NOT EXISTS ${to} OR ${from} IS_NEWER_THAN ${to})
        file(COPY_FILE ${from} ${to})
    endif()
endfunction()

lay_out(${SOURCE}/COLOR.ini ${TARGET}/COLOR.ini always)
lay_out(${SOURCE}/PATH.ini ${TARGET}/PATH.ini if-older)
lay_out(${SOURCE}/Set.ini ${TARGET}/Set.ini if-older)
lay_out(${GENERATED}/materials.bin "${TARGET}/钢结构数据库.ini" if-older)
lay_out(${GENERATED}/structures.bin "${TARGET}/钢结构.ini" if-older)
