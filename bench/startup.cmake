# Start-up: the smallest Widgets program that ends on its first paint, the anchor of
# bench/startup.sh, which sets `vimora` beside it.
add_executable(first_paint ${CMAKE_CURRENT_SOURCE_DIR}/FirstPaint.cpp)
target_link_libraries(first_paint PRIVATE Qt6::Widgets)
