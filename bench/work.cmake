# Work window: the script benchmark's million-pass loop and a sample work run through the headless
# runner (the code path of vimora-run), to show what the window's run loop adds to the interpreter.
add_executable(work_bench ${CMAKE_CURRENT_SOURCE_DIR}/WorkBench.cpp)
target_link_libraries(work_bench PRIVATE work_core benchmark::benchmark)
target_compile_definitions(work_bench PRIVATE VIMORA_HOME_DIR="${CMAKE_SOURCE_DIR}/home")
