target_sources(halvex_core PRIVATE
    link/cable_exchange.cpp
    link/clone_protocol.cpp
    link/serial_port.cpp
    link/write_verify.cpp
)
