# SPDX-License-Identifier: GPL-3.0-or-later
# Runs test programs by hand (no ctest environment) with HOME at a developer's setting and error log, and checks that
# every file there is as it was.
# -DWORK=folder -DBIN=the programs' folder -DTESTS="program;..."
file(REMOVE_RECURSE ${WORK})
file(WRITE ${WORK}/.config/RollcraftII/RollcraftII.conf "[General]\nAutoImage=True\n")
file(WRITE ${WORK}/twk_error.log "the developer's own log\n")

function(snapshot out)
    file(GLOB_RECURSE files LIST_DIRECTORIES true ${WORK}/*)
    list(SORT files)
    foreach(f ${files})
        set(sum "")
        if(NOT IS_DIRECTORY ${f})
            file(SHA256 ${f} sum)
        endif()
        string(APPEND state "${f} ${sum}\n")
    endforeach()
    set(${out} "${state}" PARENT_SCOPE)
endfunction()

snapshot(before)
foreach(test ${TESTS})
    execute_process(COMMAND ${CMAKE_COMMAND} -E env --unset=XDG_CONFIG_HOME HOME=${WORK}
                            QT_QPA_PLATFORM=offscreen ROLLCRAFT_BIN=${BIN} ${test}
                    RESULT_VARIABLE status OUTPUT_QUIET ERROR_VARIABLE err)
    if(NOT status EQUAL 0)
        message(FATAL_ERROR "${test} failed (${status}): ${err}")
    endif()
endforeach()
snapshot(after)
if(NOT before STREQUAL after)
    message(FATAL_ERROR "the test programs changed HOME:\n${before}\nnow:\n${after}")
endif()
