# The board games' declaration and map rows on arbitrary lines, then keys, demonstration steps and drawing.
vimora_fuzz(characters_board_fuzz SOURCES ${CMAKE_CURRENT_LIST_DIR}/CharactersFuzz.cpp LIBS characters_core)
target_include_directories(characters_board_fuzz PRIVATE ${CMAKE_SOURCE_DIR}/tests)
