vimora_fuzz(script_fuzz SOURCES ${CMAKE_CURRENT_LIST_DIR}/ScriptFuzz.cpp LIBS script_core)
