# Figure and physics kinds: frames of molecules, large metaballs, rings and a solid, each as a
# ratio to filling the same picture in the same run.
add_executable(figures_bench ${CMAKE_CURRENT_SOURCE_DIR}/FiguresBench.cpp)
target_link_libraries(figures_bench PRIVATE characters_core benchmark::benchmark)
target_include_directories(figures_bench PRIVATE ${CMAKE_SOURCE_DIR}/tests)
