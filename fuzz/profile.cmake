# SPDX-License-Identifier: GPL-3.0-or-later
halvex_add_fuzzer(profile_fuzz profile_fuzz.cpp)
