# The constellation data reader on arbitrary bytes.
vimora_fuzz(universe_constellation_fuzz SOURCES UniverseConstellationFuzz.cpp LIBS universe_core)
