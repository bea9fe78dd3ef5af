# The workshop's picture tools on a photo-sized picture, as ratios to one pass over its pixels.
add_executable(atelier_bench ${CMAKE_CURRENT_SOURCE_DIR}/AtelierBench.cpp)
target_link_libraries(atelier_bench PRIVATE atelier_core benchmark::benchmark)
