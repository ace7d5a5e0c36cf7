# Channel lists in the generic CSV interchange format, read and written through the channel
# table's own commit rules; shared by halvex-cli and the desktop.
target_sources(halvex_core PRIVATE
    editors/channel_csv_export.cpp
    editors/channel_csv_import.cpp
    editors/channel_csv_values.cpp
)
