target_sources(halvex_core PRIVATE
    app/app_globals.cpp
    app/language.cpp
    app/settings.cpp
)
