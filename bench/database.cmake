# The database table's column sorts on a million stars against std::stable_sort of the same keys.
add_executable(database_bench ${CMAKE_CURRENT_SOURCE_DIR}/DatabaseBench.cpp)
target_link_libraries(database_bench PRIVATE universe_core benchmark::benchmark)
