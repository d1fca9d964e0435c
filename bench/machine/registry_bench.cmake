# Benchmark of the registry store: loading a large registry.reg and saving one change.
find_package(benchmark REQUIRED)
add_executable(registry_bench ${CMAKE_CURRENT_LIST_DIR}/registry_bench.cpp ${CMAKE_CURRENT_LIST_DIR}/bench_folder.cpp)
target_link_libraries(registry_bench PRIVATE zov_registry_store benchmark::benchmark)
zov_warnings(registry_bench)
