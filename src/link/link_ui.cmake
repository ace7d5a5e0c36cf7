# The transfer, comparison and port dialogs and their place in the frame's command table.
target_sources(halvex_ui PRIVATE
    link/compare_dialog.cpp
    link/link_commands.cpp
    link/port_dialog.cpp
    link/transfer_dialog.cpp
)
