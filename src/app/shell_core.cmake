# The shell's logic that needs no windows: language files and the help file's name.
target_sources(halvex_core PRIVATE
    app/help_file.cpp
    app/language_files.cpp
)
