# File universe: scan, constellation data write and read, bytes per node (bench/universe_bench.sh
# runs it next to du and find over the same synthetic tree).
add_executable(universe_bench ${CMAKE_CURRENT_SOURCE_DIR}/UniverseBench.cpp)
target_link_libraries(universe_bench PRIVATE universe_core benchmark::benchmark)

# The tree window's relayout on a million nodes against a bare list walk.
add_executable(nebu_layout_bench ${CMAKE_CURRENT_SOURCE_DIR}/NebuLayoutBench.cpp)
target_link_libraries(nebu_layout_bench PRIVATE universe_core benchmark::benchmark)

# The tree window's first paint after opening a million-node constellation file.
add_executable(nebu_paint_bench ${CMAKE_CURRENT_SOURCE_DIR}/NebuPaintBench.cpp)
target_link_libraries(nebu_paint_bench PRIVATE universe_ui benchmark::benchmark)

# The tree sort of a million nodes against one std::stable_sort of the same keys.
add_executable(tree_sort_bench ${CMAKE_CURRENT_SOURCE_DIR}/TreeSortBench.cpp)
target_link_libraries(tree_sort_bench PRIVATE universe_core benchmark::benchmark)
