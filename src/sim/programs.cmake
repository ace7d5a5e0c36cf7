add_library(halvex_sim STATIC
    sim/clone_responder.cpp
    sim/line_pacer.cpp
    sim/pseudo_terminal.cpp
    sim/virtual_radio.cpp
)
target_link_libraries(halvex_sim PUBLIC halvex_core)
