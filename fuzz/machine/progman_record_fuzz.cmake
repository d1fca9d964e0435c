# libFuzzer target for Program Manager's record, progman.ini (clang only);
# the reader's sources are compiled into the target for the fuzzer's coverage.
add_executable(progman_record_fuzz
  ${CMAKE_CURRENT_LIST_DIR}/progman_record_fuzz.cpp
  ${PROJECT_SOURCE_DIR}/platform/machine/ini_file.cpp
  ${PROJECT_SOURCE_DIR}/platform/machine/program_manager.cpp
  ${PROJECT_SOURCE_DIR}/platform/machine/machine_log.cpp
  ${PROJECT_SOURCE_DIR}/platform/machine/machine_clock.cpp
  ${PROJECT_SOURCE_DIR}/platform/machine/atomic_file.cpp
  ${PROJECT_SOURCE_DIR}/platform/machine/kill_at_change.cpp)
target_include_directories(progman_record_fuzz PRIVATE ${PROJECT_SOURCE_DIR})
target_compile_options(progman_record_fuzz PRIVATE -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined)
target_link_options(progman_record_fuzz PRIVATE -fsanitize=fuzzer,address,undefined)
target_link_libraries(progman_record_fuzz PRIVATE zov_text)
zov_warnings(progman_record_fuzz)
