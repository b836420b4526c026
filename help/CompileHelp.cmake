# Compiles the program's help file with chmcmd, outside the source tree.
# Called as: cmake -DCHMCMD=... -DSOURCE_DIR=... -DWORK_DIR=... -DOUTPUT=... [-DTARGET_SYSTEM=windows]
#            -P CompileHelp.cmake
# chmcmd writes beside its project and may exit 0 after errors, so the pages are copied into a
# work folder first and the build fails on any "Error:" or "Warning:" line or a missing result.
foreach(variable CHMCMD SOURCE_DIR WORK_DIR OUTPUT)
    if(NOT DEFINED ${variable})
        message(FATAL_ERROR "CompileHelp.cmake: ${variable} is not set")
    endif()
endforeach()

file(REMOVE_RECURSE "${WORK_DIR}")
file(MAKE_DIRECTORY "${WORK_DIR}")
file(GLOB pages LIST_DIRECTORIES false "${SOURCE_DIR}/*")
file(COPY ${pages} DESTINATION "${WORK_DIR}")
# Folders are named as the system the help is built for writes them ("\" on Windows, else "/").
set(DIR_SEPARATOR "/")
if(DEFINED TARGET_SYSTEM AND TARGET_SYSTEM STREQUAL "windows")
    set(DIR_SEPARATOR "\\")
endif()
file(GLOB copied_pages LIST_DIRECTORIES false "${WORK_DIR}/*.html")
foreach(page IN LISTS copied_pages)
    file(READ "${page}" text)
    string(REPLACE "%DIR_SEPARATOR%" "${DIR_SEPARATOR}" text "${text}")
    file(WRITE "${page}" "${text}")
endforeach()

execute_process(COMMAND "${CHMCMD}" corvane.hhp
    WORKING_DIRECTORY "${WORK_DIR}"
    RESULT_VARIABLE result
    OUTPUT_VARIABLE output
    ERROR_VARIABLE output)
if(NOT result EQUAL 0 OR output MATCHES "(Error|Warning):" OR NOT EXISTS "${WORK_DIR}/corvane.chm")
    message(FATAL_ERROR "chmcmd could not compile corvane.chm (exit ${result}):\n${output}")
endif()

get_filename_component(output_dir "${OUTPUT}" DIRECTORY)
file(MAKE_DIRECTORY "${output_dir}")
file(COPY_FILE "${WORK_DIR}/corvane.chm" "${OUTPUT}")
