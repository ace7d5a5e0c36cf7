# The optional-functions page and the VFO page of the main view.
target_sources(halvex_ui PRIVATE
    editors/function_page.cpp
    editors/page_controls.cpp
    editors/ptt_id_edit.cpp
    editors/vfo_page.cpp
)
