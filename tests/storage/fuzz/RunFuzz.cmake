# Runs one fuzzer briefly over a copy of the corpus, from a fixed seed.
# Arguments: FUZZER (the program), SCRATCH (a folder for new inputs), CORPUS, DICT, RUNS (inputs to run),
# SECONDS (the most time to take).
# New inputs go to the scratch folder, never into the corpus kept with the sources.
file(REMOVE_RECURSE ${SCRATCH})
file(MAKE_DIRECTORY ${SCRATCH})
execute_process(COMMAND ${FUZZER} -runs=${RUNS} -max_total_time=${SECONDS} -seed=1 -max_len=4096 -timeout=20 -print_final_stats=1
                        -dict=${DICT} ${SCRATCH} ${CORPUS}
                RESULT_VARIABLE rc)
if(rc)
  message(FATAL_ERROR "the fuzzer found a fault (exit ${rc})")
endif()
