# SPDX-License-Identifier: GPL-3.0-or-later
halvex_add_bench(transfer_bench transfer_bench.cpp)
target_link_libraries(transfer_bench PRIVATE halvex_sim)
halvex_add_bench(station_bench station_bench.cpp)
target_compile_definitions(station_bench PRIVATE HALVEX_RADIO_SIM="$<TARGET_FILE:radio-sim>")
add_dependencies(station_bench radio-sim)
# The frame shapes of the tests' support come from the sim.
target_link_libraries(station_bench PRIVATE halvex_sim)
