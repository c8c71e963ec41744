# Installs the build into a staging prefix, then runs the installed program
# from there: it must find the installed library by itself.
file(REMOVE_RECURSE ${WORK_DIR})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BINARY_DIR} --prefix ${WORK_DIR} --config ${CONFIG}
                RESULT_VARIABLE rc OUTPUT_QUIET)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "install failed")
endif()
file(GLOB tool ${WORK_DIR}/bin/knitcfg ${WORK_DIR}/bin/knitcfg.exe)
if(NOT tool)
  message(FATAL_ERROR "no knitcfg program in ${WORK_DIR}/bin")
endif()
execute_process(COMMAND ${tool} check ${SAMPLE} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
message("${out}${err}")
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "the installed program failed: ${rc}")
endif()
