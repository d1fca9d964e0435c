# Benchmark of reading machine.ini: many [Program NAME] sections, many lines in one section.
add_executable(machine_ini_bench ${CMAKE_CURRENT_LIST_DIR}/machine_ini_bench.cpp ${CMAKE_CURRENT_LIST_DIR}/bench_folder.cpp)
target_link_libraries(machine_ini_bench PRIVATE zov_machine benchmark::benchmark)
zov_warnings(machine_ini_bench)
