# The desktop shell: application object, main frame, dialog builder and shell dialogs, and
# the desktop's message boxes, file dialogs and help opener, each with a seam for tests.
target_sources(halvex_ui PRIVATE
    app/about_dialog.cpp
    app/accelerator_filter.cpp
    app/command_registry.cpp
    app/dialog_builder.cpp
    app/document_prompts.cpp
    app/file_dialog.cpp
    app/help_opener.cpp
    app/halvex_app.cpp
    app/language_dialog.cpp
    app/main_frame.cpp
    app/main_frame_bars.cpp
    app/message_box.cpp
    app/recent_files.cpp
    app/relabel.cpp
)
