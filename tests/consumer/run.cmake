# Installs the built library into a staging prefix, then configures, builds
# and runs a small project that finds it with find_package.
file(REMOVE_RECURSE ${WORK_DIR})
set(prefix ${WORK_DIR}/prefix)
set(extra)
if(SANITIZE)
  set(extra "-DCMAKE_CXX_FLAGS=-fsanitize=address,undefined")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BINARY_DIR} --prefix ${prefix} --config ${CONFIG}
                RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "install failed")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -S ${SOURCE_DIR}/tests/consumer -B ${WORK_DIR}/build
                        -DCMAKE_PREFIX_PATH=${prefix} -DCMAKE_BUILD_TYPE=${CONFIG}
                        -DCMAKE_CXX_COMPILER=${CXX_COMPILER} ${extra}
                RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "configuring the consumer failed")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} --build ${WORK_DIR}/build RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "building the consumer failed")
endif()
file(GLOB exe ${WORK_DIR}/build/consumer ${WORK_DIR}/build/consumer.exe)
set(ENV{LD_LIBRARY_PATH} ${prefix}/lib:${prefix}/lib64)
execute_process(COMMAND ${exe} ${WORK_DIR}/consumer.ini RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "the consumer failed: ${rc}")
endif()
