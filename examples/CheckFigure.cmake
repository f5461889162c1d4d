# Runs make_figure and compares its output with the committed figure.
execute_process(COMMAND ${MAKE_FIGURE} ${OUT} RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "make_figure failed")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${OUT} ${EXPECTED} RESULT_VARIABLE different)
if(different)
  message(FATAL_ERROR "examples/figure.kbrl is not what make_figure makes; run make_figure examples/figure.kbrl")
endif()
