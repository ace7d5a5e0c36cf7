# File > Import Channels and Export Channels, with the import's report dialog.
target_sources(halvex_ui PRIVATE
    editors/channel_csv_commands.cpp
    editors/channel_csv_dialog.cpp
)
