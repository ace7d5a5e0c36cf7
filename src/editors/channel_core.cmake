# The channel table's and the FM presets' editing rules, testable without widgets.
target_sources(halvex_core PRIVATE
    editors/channel_commit.cpp
    editors/channel_row_state.cpp
    editors/radiogram_codes.cpp
)
