target_sources(halvex_core PRIVATE
    resources/tone_tables.cpp
)
