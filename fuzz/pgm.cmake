# SPDX-License-Identifier: GPL-3.0-or-later
halvex_add_fuzzer(pgm_load_fuzz pgm_load_fuzz.cpp)
