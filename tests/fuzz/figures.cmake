# The figure and physics kinds' declarations on arbitrary lines, then user values and attributes
# from the rest of the input, and frames of motion and drawing.
vimora_fuzz(characters_figures_fuzz SOURCES ${CMAKE_CURRENT_LIST_DIR}/FiguresFuzz.cpp LIBS characters_core)
target_include_directories(characters_figures_fuzz PRIVATE ${CMAKE_SOURCE_DIR}/tests)
