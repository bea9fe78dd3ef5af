# The common text readers and the mount table parser on arbitrary bytes.
vimora_fuzz(common_text_fuzz SOURCES CommonTextFuzz.cpp LIBS common_core)
# Downloads on arbitrary answers of a loopback server (headers, lengths, chunking, encodings).
vimora_fuzz(common_http_fuzz SOURCES HttpAnswerFuzz.cpp ${CMAKE_SOURCE_DIR}/tests/LoopbackHttpServer.cpp LIBS common_core)
target_include_directories(common_http_fuzz PRIVATE ${CMAKE_SOURCE_DIR}/tests)
