# SPDX-License-Identifier: GPL-3.0-or-later
# A packager's configure needs Qt and the compiler only: plainly (Google
# Benchmark hidden), and without the tests (QtTest hidden as well).
# Usage: cmake -DSOURCE=DIR -DWORK=DIR -DGENERATOR=NAME -P plainconfigure.cmake
foreach(extra "" "-DBUILD_TESTING=OFF;-DCMAKE_DISABLE_FIND_PACKAGE_Qt6Test=ON")
    execute_process(COMMAND ${CMAKE_COMMAND} --fresh -S ${SOURCE} -B ${WORK} -G ${GENERATOR}
                            -DCMAKE_DISABLE_FIND_PACKAGE_benchmark=ON ${extra}
                    RESULT_VARIABLE status OUTPUT_QUIET ERROR_VARIABLE errors)
    if(NOT status EQUAL 0)
        message(FATAL_ERROR "configure with \"${extra}\" failed:\n${errors}")
    endif()
endforeach()
