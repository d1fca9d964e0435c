# libFuzzer target for machine.ini (clang only); the reader's sources are
# compiled into the target so that they carry the fuzzer's coverage.
add_executable(machine_ini_fuzz
  ${CMAKE_CURRENT_LIST_DIR}/machine_ini_fuzz.cpp
  ${PROJECT_SOURCE_DIR}/platform/machine/ini_file.cpp
  ${PROJECT_SOURCE_DIR}/platform/machine/machine_config.cpp
  ${PROJECT_SOURCE_DIR}/platform/machine/host_folder.cpp)
target_include_directories(machine_ini_fuzz PRIVATE ${PROJECT_SOURCE_DIR})
target_compile_options(machine_ini_fuzz PRIVATE -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined)
target_link_options(machine_ini_fuzz PRIVATE -fsanitize=fuzzer,address,undefined)
target_link_libraries(machine_ini_fuzz PRIVATE zov_text)
zov_warnings(machine_ini_fuzz)
