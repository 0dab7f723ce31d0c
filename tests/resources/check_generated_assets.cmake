# Runs the asset generators into a scratch directory and compares every file with the committed one.
# cmake -DPYTHON=... -DSOURCE_DIR=... -DSCRATCH=... -P check_generated_assets.cmake

file(REMOVE_RECURSE "${SCRATCH}")
file(MAKE_DIRECTORY "${SCRATCH}")
execute_process(
    COMMAND "${PYTHON}" "${SOURCE_DIR}/tools/assets/generate_assets.py" "${SCRATCH}/resources"
            --sheet "${SCRATCH}/assets.png"
    RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "the asset generator failed: ${result}")
endif()

file(GLOB made RELATIVE "${SCRATCH}/resources" "${SCRATCH}/resources/*")
list(LENGTH made count)
if(count LESS 9)
    message(FATAL_ERROR "the generator made only ${count} files: ${made}")
endif()
set(pairs "")
foreach(name IN LISTS made)
    list(APPEND pairs "${SCRATCH}/resources/${name}|${SOURCE_DIR}/resources/${name}")
endforeach()
list(APPEND pairs "${SCRATCH}/assets.png|${SOURCE_DIR}/docs/assets.png")
set(differ "")
foreach(pair IN LISTS pairs)
    string(REPLACE "|" ";" files "${pair}")
    list(GET files 0 fresh)
    list(GET files 1 committed)
    execute_process(COMMAND "${CMAKE_COMMAND}" -E compare_files "${fresh}" "${committed}" RESULT_VARIABLE same)
    if(NOT same EQUAL 0)
        list(APPEND differ "${committed}")
    endif()
endforeach()
if(differ)
    message(FATAL_ERROR "regenerated assets differ from the committed ones: ${differ}\n"
                        "Run: python3 tools/assets/generate_assets.py resources --sheet docs/assets.png")
endif()
message(STATUS "all ${count} resource files and the contact sheet regenerate byte for byte")
