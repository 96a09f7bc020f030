# Shared by the qvn command drivers (cmake -P scripts). Sets failures to 0 and defines
# qvn(NAME EXPECTED_EXIT EXPECTED_OUTPUT args...): runs ${QVN} with the arguments and
# compares exit code and standard output, counting a difference in failures; its
# standard error is left in last_err.
set(failures 0)

function(qvn name exit expected)
  execute_process(COMMAND ${QVN} ${ARGN} OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc)
  if(NOT rc EQUAL exit OR NOT out STREQUAL expected)
    message(SEND_ERROR "${name}: exit ${rc} (expected ${exit})\n--- got:\n${out}--- expected:\n${expected}--- stderr:\n${err}")
    math(EXPR n "${failures} + 1")
    set(failures ${n} PARENT_SCOPE)
  endif()
  set(last_err "${err}" PARENT_SCOPE)
endfunction()
