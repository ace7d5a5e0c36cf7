# SPDX-License-Identifier: GPL-3.0-or-later
halvex_add_bench(transfer_bench transfer_bench.cpp)
target_link_libraries(transfer_bench PRIVATE halvex_sim)
