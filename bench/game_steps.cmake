# Board game steps: the number-linking demonstration and play on a 10 x 10 board with 9 pairs, a
# gold-collecting frame and a tile-matching deal of 136 tiles, as ratios to a plain flood over the
# same board in the same run.
add_executable(game_steps_bench ${CMAKE_CURRENT_SOURCE_DIR}/GameStepsBench.cpp)
target_link_libraries(game_steps_bench PRIVATE characters_core benchmark::benchmark)
target_include_directories(game_steps_bench PRIVATE ${CMAKE_SOURCE_DIR}/tests)
