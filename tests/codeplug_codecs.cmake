# SPDX-License-Identifier: GPL-3.0-or-later
halvex_add_core_test(codecs_test codecs_test.cpp)
halvex_add_core_test(radio_image_test radio_image_test.cpp)
halvex_add_core_test(record_layout_test record_layout_test.cpp)
