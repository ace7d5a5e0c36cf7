# Dialog templates, menu, accelerators, toolbar and icons of the desktop program.
target_sources(halvex_ui PRIVATE
    resources/dialog_templates.cpp
    resources/dialog_templates_pages.cpp
    resources/dialog_templates_shell.cpp
    resources/dialog_templates_tools.cpp
    resources/frame_resources.cpp
)
qt_add_resources(halvex_ui halvex_icons
    PREFIX /icons
    BASE ${CMAKE_CURRENT_SOURCE_DIR}/resources/icons
    FILES
        resources/icons/halvex.xpm
        resources/icons/help.xpm
        resources/icons/language.xpm
        resources/icons/new.xpm
        resources/icons/open.xpm
        resources/icons/print.xpm
        resources/icons/read.xpm
        resources/icons/save.xpm
        resources/icons/write.xpm
)
