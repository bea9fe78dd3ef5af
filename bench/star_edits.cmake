# Deleting marked stars from a million-node tree: the tree edits against a bare list walk.
add_executable(star_edits_bench ${CMAKE_CURRENT_SOURCE_DIR}/StarEditsBench.cpp)
target_link_libraries(star_edits_bench PRIVATE universe_core benchmark::benchmark)
