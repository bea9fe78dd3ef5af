# The catalog files of a home folder on arbitrary bytes.
vimora_fuzz(gallery_catalog_fuzz SOURCES GalleryCatalogFuzz.cpp LIBS gallery_core)
