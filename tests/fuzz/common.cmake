# The common text readers and the mount table parser on arbitrary bytes.
vimora_fuzz(common_text_fuzz SOURCES CommonTextFuzz.cpp LIBS common_core)
