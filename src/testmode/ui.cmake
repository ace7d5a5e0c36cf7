# The access dialog and the test dialog, and their place in the frame's command table.
target_sources(halvex_ui PRIVATE
    testmode/password_dialog.cpp
    testmode/test_mode_dialog.cpp
)
