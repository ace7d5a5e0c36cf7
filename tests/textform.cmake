# SPDX-License-Identifier: GPL-3.0-or-later
halvex_add_core_test(radio_text_test radio_text_test.cpp)
