# SPDX-License-Identifier: GPL-3.0-or-later
halvex_add_bench(channel_csv_bench channel_csv_bench.cpp)
