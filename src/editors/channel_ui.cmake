# The channel table page, its in-cell editors and the FM presets dialog.
target_sources(halvex_ui PRIVATE
    editors/channel_cell_editor.cpp
    editors/channel_page.cpp
    editors/clamp_note.cpp
    editors/radiogram_dialog.cpp
)
