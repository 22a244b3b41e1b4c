# SPDX-License-Identifier: GPL-3.0-or-later
# Runs test programs by hand, as a developer does (no ctest environment), with
# HOME at a folder holding a developer's setting and error log, and checks that
# every file there is as it was afterwards.
# -DWORK=folder -DBIN=the programs' folder -DTESTS="program;..." (paths)
file(REMOVE_RECURSE ${WORK})
set(setting ${WORK}/.config/RollcraftII/RollcraftII.conf)
file(WRITE ${setting} "[General]\nAutoImage=True\n")
file(WRITE ${WORK}/twk_error.log "the developer's own log\n")

function(snapshot out)
    file(GLOB_RECURSE files LIST_DIRECTORIES true RELATIVE ${WORK} ${WORK}/*)
    list(SORT files)
    set(state "")
    foreach(f ${files})
        if(IS_DIRECTORY ${WORK}/${f})
            string(APPEND state "${f}/\n")
        else()
            file(SHA256 ${WORK}/${f} sum)
            string(APPEND state "${f} ${sum}\n")
        endif()
    endforeach()
    set(${out} "${state}" PARENT_SCOPE)
endfunction()

snapshot(before)
foreach(test ${TESTS})
    execute_process(COMMAND ${CMAKE_COMMAND} -E env --unset=XDG_CONFIG_HOME --unset=XDG_DATA_HOME
                            --unset=XDG_CACHE_HOME --unset=XDG_STATE_HOME HOME=${WORK}
                            QT_QPA_PLATFORM=offscreen ROLLCRAFT_BIN=${BIN} ${test}
                    RESULT_VARIABLE status OUTPUT_QUIET ERROR_VARIABLE err)
    if(NOT status EQUAL 0)
        message(FATAL_ERROR "${test} failed (${status}): ${err}")
    endif()
endforeach()
snapshot(after)
if(NOT before STREQUAL after)
    message(FATAL_ERROR "the test programs changed HOME:\nbefore:\n${before}after:\n${after}")
endif()
