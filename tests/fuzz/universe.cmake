# The constellation data reader on arbitrary bytes.
vimora_fuzz(universe_constellation_fuzz SOURCES UniverseConstellationFuzz.cpp LIBS universe_core)
# The scan on small trees of arbitrary names and links made on disk.
vimora_fuzz(universe_scan_fuzz SOURCES UniverseScanFuzz.cpp LIBS universe_core)
