target_sources(halvex_core PRIVATE
    codeplug/pgm_file.cpp
)
