# Script interpreter: the million-pass loop through the step executor, expressions, compiling
# (bench/script_vs_lua.sh runs it beside the same loop in Lua 5.4 and prints the ratio).
add_executable(script_bench ${CMAKE_CURRENT_SOURCE_DIR}/ScriptBench.cpp)
target_link_libraries(script_bench PRIVATE script_core benchmark::benchmark)
