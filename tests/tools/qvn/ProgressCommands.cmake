# Drives qvn run --record, qvn stats and qvn review on a fresh progress file in a
# folder of its own, and checks each output line for line.
string(RANDOM LENGTH 10 tag)
set(work ${OUT_DIR}/progress-${tag})
file(MAKE_DIRECTORY ${work})
file(COPY ${DATA_DIR}/progress.qvn DESTINATION ${work})
file(REAL_PATH ${work}/progress.qvn problems)
set(db ${work}/progress.sqlite)
string(TIMESTAMP today "%Y-%m-%d")
include(${CMAKE_CURRENT_LIST_DIR}/QvnCase.cmake)

# Recording changes nothing in the run's own output.
execute_process(COMMAND ${QVN} run ${problems} --moves h5f7 OUTPUT_VARIABLE plain)
qvn(record-solved 0 "${plain}" run ${problems} --moves h5f7 --record --db ${db})
qvn(stats-solved 0 "1\t1\t1\t3/3\t-\n" stats ${problems} --db ${db})
qvn(review-nothing-due 0 "" review --db ${db})

execute_process(COMMAND ${QVN} run ${problems} --moves c4f7 OUTPUT_VARIABLE plain)
qvn(record-failed 0 "${plain}" run ${problems} --moves c4f7 --record --db ${db})
qvn(stats-failed 0 "1\t2\t1\t1/3\t${today}\n" stats ${problems} --db ${db})
qvn(review-due 0 "${problems}\t1\tMate in one\n" review --db ${db} --limit 5)
qvn(stats-files 0 "${problems}\t0/1\n" stats --db ${db})

# A play that stops before its turn is answered is no attempt.
execute_process(COMMAND ${QVN} run ${problems} --problem 2 OUTPUT_VARIABLE plain)
qvn(record-nothing 0 "${plain}" run ${problems} --problem 2 --record --db ${db})
if(NOT last_err MATCHES "nothing recorded")
  message(SEND_ERROR "record-nothing: stderr says: ${last_err}")
  math(EXPR failures "${failures} + 1")
endif()

# The second problem solved; both listed in file order.
execute_process(COMMAND ${QVN} run ${problems} --problem 2 --moves e2e4 --record --db ${db} OUTPUT_QUIET)
qvn(stats-both 0 "1\t2\t1\t1/3\t${today}\n2\t1\t1\t2/2\t-\n" stats ${problems} --db ${db})
qvn(stats-files-both 0 "${problems}\t1/2\n" stats --db ${db})

# An edited problem starts a fresh history, and its old schedule goes once it is played.
configure_file(${DATA_DIR}/progress-edited.qvn ${problems} COPYONLY)
qvn(stats-edited 0 "2\t1\t1\t2/2\t-\n" stats ${problems} --db ${db})
execute_process(COMMAND ${QVN} run ${problems} --moves h5f7 --record --db ${db} OUTPUT_QUIET)
qvn(review-after-edit 0 "" review --db ${db})
qvn(stats-files-after-edit 0 "${problems}\t2/2\n" stats --db ${db})

# Usage errors and a store that cannot be opened.
qvn(review-bad-limit 1 "" review --db ${db} --limit 0)
qvn(run-db-without-record 1 "" run ${problems} --db ${db})
file(WRITE ${work}/blocker "")
execute_process(COMMAND ${QVN} run ${problems} --moves c4f7 OUTPUT_VARIABLE plain)
qvn(record-unopenable 2 "${plain}" run ${problems} --moves c4f7 --record --db ${work}/blocker/progress.sqlite)
if(NOT last_err MATCHES "not being saved")
  message(SEND_ERROR "record-unopenable: stderr says: ${last_err}")
  math(EXPR failures "${failures} + 1")
endif()

file(REMOVE_RECURSE ${work})
if(failures GREATER 0)
  message(FATAL_ERROR "${failures} qvn progress checks failed")
endif()
