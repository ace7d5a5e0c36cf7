add_library(halvex_sim STATIC
    sim/clone_responder.cpp
    sim/demo_memory.cpp
    sim/line_pacer.cpp
    sim/memory_file.cpp
    sim/pseudo_terminal.cpp
    sim/virtual_radio.cpp
)
target_link_libraries(halvex_sim PUBLIC halvex_core)

add_executable(radio-sim sim/radio_sim_main.cpp)
target_link_libraries(radio-sim PRIVATE halvex_sim)
