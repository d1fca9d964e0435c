# libFuzzer target for the registry file parser (clang only). The store's
# sources are compiled into the target itself so that they carry the
# fuzzer's coverage instrumentation.
add_executable(registry_fuzz
  ${CMAKE_CURRENT_LIST_DIR}/registry_fuzz.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../../platform/machine/registry_file.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../../platform/machine/registry_store.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../../platform/machine/shared_file.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../../platform/machine/atomic_file.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../../platform/machine/kill_at_change.cpp)
target_include_directories(registry_fuzz PRIVATE ${PROJECT_SOURCE_DIR})
target_compile_options(registry_fuzz PRIVATE -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined)
target_link_options(registry_fuzz PRIVATE -fsanitize=fuzzer,address,undefined)
target_link_libraries(registry_fuzz PRIVATE zov_text)
zov_warnings(registry_fuzz)
