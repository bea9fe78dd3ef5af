# The star journey: one frame (the scene near the ship and its picture) on a million-node tree,
# as a ratio to the frame tick of TimerX3D.
add_executable(journey_bench ${CMAKE_CURRENT_SOURCE_DIR}/JourneyBench.cpp)
target_link_libraries(journey_bench PRIVATE journey_core benchmark::benchmark)
