# SPDX-License-Identifier: GPL-3.0-or-later
halvex_add_bench(text_bench text_bench.cpp)
