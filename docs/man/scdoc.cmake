# cmake -DSCDOC=scdoc -DINPUT=page.1.scd -DOUTPUT=page.1 -P scdoc.cmake
# scdoc reads standard input and writes standard output; it fails on a malformed page.
execute_process(COMMAND ${SCDOC} INPUT_FILE ${INPUT} OUTPUT_FILE ${OUTPUT} RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  file(REMOVE ${OUTPUT})
  message(FATAL_ERROR "scdoc failed on ${INPUT}")
endif()
