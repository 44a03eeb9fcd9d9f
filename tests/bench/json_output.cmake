# ranvel-bench --benchmark_format=json writes the JSON and nothing else on
# standard output: one quick benchmark that starts the game up, its output
# parsed (the parser takes a value followed by anything, so the text must
# also begin and end with the object's braces).
# Usage: cmake -DBENCH=RANVEL_BENCH -P json_output.cmake
execute_process(COMMAND ${BENCH} --benchmark_filter=^BM_Sprites$ --benchmark_min_time=0.01 --benchmark_format=json
                OUTPUT_VARIABLE out OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE code)
string(JSON count ERROR_VARIABLE error LENGTH "${out}" benchmarks)
if(NOT code EQUAL 0 OR error OR NOT out MATCHES "^{" OR NOT out MATCHES "}$" OR NOT count EQUAL 1)
  message(FATAL_ERROR "exit code ${code}, not one benchmark in one JSON object (${error}):\n${out}")
endif()
