# The desktop's message boxes, file dialogs and help opener, each with a seam for tests.
target_sources(halvex_ui PRIVATE
    platform/file_dialog.cpp
    platform/help_opener.cpp
    platform/message_box.cpp
)
