target_sources(halvex_core PRIVATE
    codeplug/band_lines.cpp
    codeplug/document.cpp
    codeplug/pgm_file.cpp
)
