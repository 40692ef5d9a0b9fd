# Run by CPack on the staged files before it packs them: every file and
# directory gets the time SOURCE_DATE_EPOCH names (scripts/package.sh sets it
# to the last commit's), so the archives do not record when they were built.
if(NOT DEFINED ENV{SOURCE_DATE_EPOCH})
  return()
endif()
if(NOT "$ENV{SOURCE_DATE_EPOCH}" MATCHES "^[0-9]+$")
  message(FATAL_ERROR "SOURCE_DATE_EPOCH is not a number of seconds: '$ENV{SOURCE_DATE_EPOCH}'")
endif()
execute_process(
  COMMAND find "${CPACK_TEMPORARY_INSTALL_DIRECTORY}" -exec touch -h -d "@$ENV{SOURCE_DATE_EPOCH}" {} +
  RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "could not set the staged files' times in ${CPACK_TEMPORARY_INSTALL_DIRECTORY}")
endif()
