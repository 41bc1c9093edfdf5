# Fails when a C++ source of the project differs from what clang-format makes of it.
file(GLOB_RECURSE sources
  ${SOURCE_DIR}/common/*.cpp ${SOURCE_DIR}/common/*.h
  ${SOURCE_DIR}/platform/*.cpp ${SOURCE_DIR}/platform/*.h
  ${SOURCE_DIR}/monitor/*.cpp ${SOURCE_DIR}/monitor/*.h
  ${SOURCE_DIR}/companion/*.cpp ${SOURCE_DIR}/companion/*.h
  ${SOURCE_DIR}/tools/*.cpp ${SOURCE_DIR}/tools/*.h
  ${SOURCE_DIR}/tests/*.cpp ${SOURCE_DIR}/tests/*.h
  ${SOURCE_DIR}/bench/*.cpp ${SOURCE_DIR}/bench/*.h)
set(bad "")
foreach(f ${sources})
  execute_process(COMMAND ${CLANG_FORMAT} --dry-run --Werror ${f}
    RESULT_VARIABLE rc OUTPUT_QUIET ERROR_QUIET)
  if(NOT rc EQUAL 0)
    list(APPEND bad ${f})
  endif()
endforeach()
if(bad)
  string(REPLACE ";" "\n  " shown "${bad}")
  message(FATAL_ERROR "Not formatted with clang-format:\n  ${shown}\nRun: clang-format -i FILE")
endif()
