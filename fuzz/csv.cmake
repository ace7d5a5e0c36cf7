# SPDX-License-Identifier: GPL-3.0-or-later
halvex_add_fuzzer(channel_csv_fuzz channel_csv_fuzz.cpp)
