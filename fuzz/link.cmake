# SPDX-License-Identifier: GPL-3.0-or-later
halvex_add_fuzzer(cable_fuzz cable_fuzz.cpp)
