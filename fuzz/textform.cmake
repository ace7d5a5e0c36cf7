# SPDX-License-Identifier: GPL-3.0-or-later
halvex_add_fuzzer(text_apply_fuzz text_apply_fuzz.cpp)
