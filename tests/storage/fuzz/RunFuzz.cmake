# Builds the fuzzer with clang in its own folder and runs it briefly over a copy of the corpus.
# Arguments: SOURCE (this folder), BINARY (build folder), COMPILER (clang++), RUNS (inputs to run).
execute_process(COMMAND ${CMAKE_COMMAND} -S ${SOURCE} -B ${BINARY} -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
                        -DCMAKE_CXX_COMPILER=${COMPILER} RESULT_VARIABLE rc)
if(rc)
  message(FATAL_ERROR "configuring the fuzzer failed")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} --build ${BINARY} RESULT_VARIABLE rc)
if(rc)
  message(FATAL_ERROR "building the fuzzer failed")
endif()
# New inputs go to the scratch folder, never into the corpus kept with the sources.
file(REMOVE_RECURSE ${BINARY}/scratch)
file(MAKE_DIRECTORY ${BINARY}/scratch)
execute_process(COMMAND ${BINARY}/profile_fuzzer -runs=${RUNS} -seed=1 -max_len=4096 -timeout=20
                        -dict=${SOURCE}/profile.dict ${BINARY}/scratch ${SOURCE}/../corpus
                RESULT_VARIABLE rc)
if(rc)
  message(FATAL_ERROR "the fuzzer found a fault (exit ${rc})")
endif()
