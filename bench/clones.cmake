# Clone counting on a million stars against `sort -f` of the same keys.
add_executable(clone_bench ${CMAKE_CURRENT_SOURCE_DIR}/CloneBench.cpp)
target_link_libraries(clone_bench PRIVATE universe_core benchmark::benchmark)
