# Renders 30 seconds of MODULE with XMTOOL. Passes on a clean render, or on a clean refusal at load: exit
# status 1 with the one line "xmtool: FILE: reason" and nothing else (no sanitizer report).
execute_process(COMMAND ${XMTOOL} render ${MODULE} -o ${OUT} --seconds 30
                RESULT_VARIABLE status ERROR_VARIABLE errors OUTPUT_QUIET)
file(REMOVE ${OUT})
if(status EQUAL 0 AND errors STREQUAL "")
    return()
endif()
if(status EQUAL 1 AND errors MATCHES "^xmtool: [^\n]+: [^\n]+\n$")
    message(STATUS "refused: ${errors}")
    return()
endif()
message(FATAL_ERROR "render of ${MODULE} ended with ${status}:\n${errors}")
