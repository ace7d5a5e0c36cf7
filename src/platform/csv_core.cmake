# Comma-separated text: the reader and the field quoting of the channel interchange.
target_sources(halvex_core PRIVATE
    platform/csv_text.cpp
)
