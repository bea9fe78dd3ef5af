# Animation engine: frame drawing against the memory-bandwidth limit (a memset of the picture);
# prints every case as a ratio to the picture fill.
add_executable(anime_bench ${CMAKE_CURRENT_SOURCE_DIR}/AnimeBench.cpp)
target_link_libraries(anime_bench PRIVATE anime_core benchmark::benchmark)
