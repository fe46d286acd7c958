# Compiles one help project quietly: the project folder and the files all
# languages share (SHARED) are gathered in WORK_DIR, chmcmd writes there, its
# chatter is shown only when it fails, the stamps are cleared and the file is
# put at OUTPUT.
file(REMOVE_RECURSE "${WORK_DIR}")
file(COPY "${PROJECT_DIR}/" DESTINATION "${WORK_DIR}")
file(COPY ${SHARED} DESTINATION "${WORK_DIR}")
set(PROJECT_FILE "${WORK_DIR}/${PROJECT_NAME}.hhp")
execute_process(COMMAND "${CHMCMD}" --no-html-scan --verbosity 0 "${PROJECT_FILE}"
  WORKING_DIRECTORY "${WORK_DIR}" RESULT_VARIABLE result OUTPUT_VARIABLE log ERROR_VARIABLE log)
get_filename_component(name "${OUTPUT}" NAME)
if(NOT result EQUAL 0 OR NOT EXISTS "${WORK_DIR}/${name}")
  message(FATAL_ERROR "chmcmd failed on ${PROJECT_FILE}:\n${log}")
endif()
execute_process(COMMAND "${STAMP}" "${WORK_DIR}/${name}" RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "could not clear the stamps of ${name}")
endif()
file(COPY_FILE "${WORK_DIR}/${name}" "${OUTPUT}")
