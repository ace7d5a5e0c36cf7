# The tabbed main view.
target_sources(halvex_ui PRIVATE
    view/main_view.cpp
    view/main_view_page.cpp
    view/page_tab_control.cpp
)
