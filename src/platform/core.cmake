target_sources(halvex_core PRIVATE
    platform/atomic_file.cpp
    platform/profile.cpp
    platform/profile_lines.cpp
    platform/text_encoding.cpp
)
