# Runs the demo map generator into an empty folder and compares its output
# with the committed demo/MAIN.MAP.
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
execute_process(COMMAND ${MAKER} ${WORK} RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "demo_make_map failed: ${rc}")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${WORK}/MAIN.MAP ${EXPECTED}
                RESULT_VARIABLE differ)
if(NOT differ EQUAL 0)
  message(FATAL_ERROR "${WORK}/MAIN.MAP differs from ${EXPECTED}")
endif()
file(REMOVE_RECURSE ${WORK})
