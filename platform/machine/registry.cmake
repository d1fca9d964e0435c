# The registry store of the simulated machine and its file, registry.reg.
add_library(zov_registry_store STATIC
  ${CMAKE_CURRENT_LIST_DIR}/atomic_file.cpp
  ${CMAKE_CURRENT_LIST_DIR}/kill_at_change.cpp
  ${CMAKE_CURRENT_LIST_DIR}/shared_file.cpp
  ${CMAKE_CURRENT_LIST_DIR}/registry_file.cpp
  ${CMAKE_CURRENT_LIST_DIR}/registry_store.cpp)
target_include_directories(zov_registry_store PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(zov_registry_store PUBLIC zov_text)
zov_warnings(zov_registry_store)
