# SPDX-License-Identifier: GPL-3.0-or-later
halvex_add_core_test(profile_test profile_test.cpp)
halvex_add_core_test(settings_test settings_test.cpp)
halvex_add_core_test(settings_check_test settings_check_test.cpp)
halvex_add_core_test(language_test language_test.cpp)
halvex_add_core_test(terminal_text_test terminal_text_test.cpp)
halvex_add_core_test(atomic_file_test atomic_file_test.cpp)
