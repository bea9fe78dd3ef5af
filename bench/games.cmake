# Board games: maze generation against filling its cells, Sudoku solving against plain
# backtracking, in the same run.
add_executable(games_bench ${CMAKE_CURRENT_SOURCE_DIR}/GamesBench.cpp)
target_link_libraries(games_bench PRIVATE characters_core benchmark::benchmark)
