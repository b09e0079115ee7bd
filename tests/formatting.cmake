cmake_minimum_required(VERSION 3.25)
# Fails when a source file is not laid out as .clang-format says:
#   cmake -DSOURCE_DIR=<top of the tree> -DCLANG_FORMAT=<clang-format-14> -P formatting.cmake
# Run "clang-format-14 -i FILE..." to lay files out.
set(sources "")
foreach(folder platform res model render formats document view recovery desktop shell app tests bench fuzz)
  file(GLOB_RECURSE found "${SOURCE_DIR}/${folder}/*.h" "${SOURCE_DIR}/${folder}/*.cpp")
  list(APPEND sources ${found})
endforeach()
execute_process(COMMAND "${CLANG_FORMAT}" --dry-run --Werror ${sources}
                RESULT_VARIABLE result ERROR_VARIABLE report)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "Files not laid out as .clang-format says:\n${report}")
endif()
message(STATUS "Every source file follows .clang-format")
