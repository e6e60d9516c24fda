# One golden trace made by the WebAssembly kyr-headless under node, as
# kyr-golden makes it natively (tools/golden/main.cpp): the show's script
# from tests/golden/traces/ on the fixed clock with --frames, run in a work
# folder of its own, the program's console output dropped. Its golden form
# must equal the committed SHOW.golden byte for byte. The work folder goes
# when the trace agrees, and stays to be looked at when it does not.
#   cmake -DNODE=node;ARGS -DRUNNER=kyr-headless.js -DCHECKER=golden-trace-check.js
#         -DSOURCE=DIR -DSHOW=intro -DCLOCK=... -DWORK=DIR -P RunGoldenTrace.cmake
foreach(var NODE RUNNER CHECKER SOURCE SHOW CLOCK WORK)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "RunGoldenTrace.cmake needs -D${var}=...")
  endif()
endforeach()

set(script ${SOURCE}/tests/golden/traces/${SHOW}.txt)
set(golden ${SOURCE}/tests/golden/traces/${SHOW}.golden)
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})

execute_process(
  COMMAND ${NODE} ${RUNNER} --script ${script} --clock ${CLOCK} --frames
  WORKING_DIRECTORY ${WORK}
  OUTPUT_QUIET
  RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${RUNNER} --script ${script} failed (status ${status}); its folder: ${WORK}")
endif()

execute_process(
  COMMAND ${NODE} ${CHECKER} ${SHOW} ${CLOCK} ${WORK}/${SHOW}.trace ${golden}
  RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "the trace of ${SHOW} is not its golden (status ${status}); the fresh trace stays in ${WORK}")
endif()
file(REMOVE_RECURSE ${WORK})
