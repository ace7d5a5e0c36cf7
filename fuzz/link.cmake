halvex_add_fuzzer(cable_fuzz cable_fuzz.cpp)
