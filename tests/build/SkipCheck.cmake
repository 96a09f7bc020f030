# Configures the project in a fresh folder with the engine left out: configure must
# fail and say which built folder needs it.
string(RANDOM LENGTH 10 tag)
set(build ${WORK}/skip-${tag})
execute_process(COMMAND ${CMAKE_COMMAND} -S ${SOURCE} -B ${build} -G ${GENERATOR}
                        -DQV_SKIP=engine -DQV_BUILD_TESTS=OFF
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
file(REMOVE_RECURSE ${build})
if(rc EQUAL 0)
  message(FATAL_ERROR "configure with QV_SKIP=engine succeeded:\n${out}")
endif()
if(NOT err MATCHES "needs engine/")
  message(FATAL_ERROR "configure failed without naming the skipped folder:\n${err}")
endif()
