# Board games: one step of each game on a 10 x 10 board with 9 pairs, as a ratio to a plain flood
# over the same board in the same run.
add_executable(games_bench ${CMAKE_CURRENT_SOURCE_DIR}/GamesBench.cpp)
target_link_libraries(games_bench PRIVATE characters_core benchmark::benchmark)
target_include_directories(games_bench PRIVATE ${CMAKE_SOURCE_DIR}/tests)
