# The pure rules of the functions and VFO pages, shared with their tests.
target_sources(halvex_core PRIVATE
    editors/ptt_id_code.cpp
    editors/vfo_frequencies.cpp
)
