# Common services: code page 932 decoding, fetch over loopback HTTP, folder listing.
add_executable(common_bench ${CMAKE_CURRENT_SOURCE_DIR}/CommonBench.cpp ${CMAKE_SOURCE_DIR}/tests/LoopbackHttpServer.cpp)
target_include_directories(common_bench PRIVATE ${CMAKE_SOURCE_DIR}/tests)
target_link_libraries(common_bench PRIVATE common_core benchmark::benchmark)
