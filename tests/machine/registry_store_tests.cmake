# Unit tests of the registry store.
find_package(GTest REQUIRED)
include(GoogleTest)
add_executable(registry_store_tests ${CMAKE_CURRENT_LIST_DIR}/registry_store_test.cpp)
target_link_libraries(registry_store_tests PRIVATE zov_registry_store GTest::gtest_main)
# The peer check: libwin-hivex-perl's importer reads what the store writes.
target_compile_definitions(registry_store_tests PRIVATE ZOV_HIVEX_IMPORT="${CMAKE_CURRENT_LIST_DIR}/hivex_import.pl")
zov_warnings(registry_store_tests)
gtest_discover_tests(registry_store_tests)
