# cmake -DSOURCE=... -DGENERATED=... -DTARGET=... -P Layout.cmake
file(MAKE_DIRECTORY ${TARGET})

function(lay_out from to mode)
    if(mode STREQUAL "always" OR NOT EXISTS ${to} OR ${from} IS_NEWER_THAN ${to})
        file(COPY_FILE ${from} ${to})
    endif()
endfunction()

lay_out(${SOURCE}/COLOR.ini ${TARGET}/COLOR.ini always)
lay_out(${SOURCE}/Set.ini ${TARGET}/Set.ini if-older)
lay_out(${GENERATED}/materials.bin "${TARGET}/钢结构数据库.ini" if-older)
lay_out(${GENERATED}/structures.bin "${TARGET}/钢结构.ini" if-older)

# The tree icons of the project manager and the help page "帮助.htm".
foreach(icon 11 21 31 41 51 71)
    lay_out(${SOURCE}/${icon}.ico ${TARGET}/${icon}.ico always)
endforeach()
lay_out("${SOURCE}/帮助.htm" "${TARGET}/帮助.htm" always)

# The sample drawing, for trying "添加图纸" with a DXF file of one's own. The sample project
# and PATH.ini are made by quarrant-sample-project, each only when missing.
file(MAKE_DIRECTORY "${TARGET}/示例工程")
lay_out(${GENERATED}/truss.dxf "${TARGET}/示例工程/钢屋架GWJ-1.dxf" always)
