# Runs the roster window's benchmark on a small roster made for the run, so
# that neither the benchmark nor cpe_make_roster rots:
#   cmake -DMAKE_ROSTER=cpe_make_roster -DBENCH=cpe_bench_roster_window -DFOLDER=dir -P this file
# Fails unless every tile is read and the first screenful is painted.
file(REMOVE_RECURSE "${FOLDER}")
execute_process(COMMAND "${MAKE_ROSTER}" "${FOLDER}" 40 --broken 10 --side 64
                RESULT_VARIABLE made)
if(NOT made EQUAL 0)
  message(FATAL_ERROR "cpe_make_roster: ${made}")
endif()
execute_process(COMMAND "${BENCH}" "${FOLDER}" --floor RESULT_VARIABLE floor_ran
                OUTPUT_VARIABLE floor TIMEOUT 30)
execute_process(COMMAND "${BENCH}" "${FOLDER}" RESULT_VARIABLE ran OUTPUT_VARIABLE out TIMEOUT 30)
file(REMOVE_RECURSE "${FOLDER}")
message("${floor}${out}")
if(NOT floor_ran EQUAL 0 OR NOT floor MATCHES "floor: read [1-9]")
  message(FATAL_ERROR "the floor run failed: ${floor_ran}")
endif()
if(NOT ran EQUAL 0 OR NOT out MATCHES "archives: 40\n"
   OR NOT out MATCHES "first screenful painted: [0-9]")
  message(FATAL_ERROR "the roster window's run failed: ${ran}")
endif()
