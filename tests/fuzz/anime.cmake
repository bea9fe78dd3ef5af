# The animation block reader on arbitrary lines with a small dot budget, then frames of what it built.
vimora_fuzz(anime_block_fuzz SOURCES ${CMAKE_CURRENT_LIST_DIR}/AnimeBlockFuzz.cpp LIBS anime_core)
target_include_directories(anime_block_fuzz PRIVATE ${CMAKE_SOURCE_DIR}/tests/anime)
# The bitmap reader on arbitrary bytes.
vimora_fuzz(anime_bitmap_fuzz SOURCES ${CMAKE_CURRENT_LIST_DIR}/BitmapFuzz.cpp LIBS anime_core)
