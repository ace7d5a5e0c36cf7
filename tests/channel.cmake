# The channel table page, its commit rules and the FM presets dialog.
halvex_add_core_test(channel_commit_test channel_commit_test.cpp)
halvex_add_ui_test(channel_page_test channel_page_test.cpp)
halvex_add_ui_test(radiogram_dialog_test radiogram_dialog_test.cpp)
