# Fails when any of our C++ sources differs from what clang-format makes of it.
file(GLOB_RECURSE files ${ROOT}/src/*.cpp ${ROOT}/src/*.h ${ROOT}/tests/*.cpp ${ROOT}/tests/*.h
     ${ROOT}/bench/*.cpp ${ROOT}/tools/*.cpp)
execute_process(COMMAND ${CLANG_FORMAT} --dry-run --Werror ${files} RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "clang-format: the files above need formatting (scripts/format fixes them)")
endif()
