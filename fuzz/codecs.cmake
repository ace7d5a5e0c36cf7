# SPDX-License-Identifier: GPL-3.0-or-later
halvex_add_fuzzer(frequency_text_fuzz frequency_text_fuzz.cpp)
