target_sources(halvex_core PRIVATE
    platform/atomic_file.cpp
    platform/output_path.cpp
    platform/profile.cpp
    platform/profile_lines.cpp
    platform/text_encoding.cpp
)
