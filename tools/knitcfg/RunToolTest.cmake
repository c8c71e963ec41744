# Runs the knitcfg program TOOL (under EMULATOR when cross-compiled) with the
# arguments ARGS ('|' between them), then checks its exit status against
# STATUS and its standard output and error against the regular expression
# REGEX.
string(REPLACE "|" ";" args "${ARGS}")
execute_process(COMMAND ${EMULATOR} ${TOOL} ${args}
                RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
message("${out}${err}")
if(NOT "${status}" STREQUAL "${STATUS}")
  message(FATAL_ERROR "exit status ${status}, expected ${STATUS}")
endif()
if(NOT "${out}${err}" MATCHES "${REGEX}")
  message(FATAL_ERROR "the output does not match: ${REGEX}")
endif()
