halvex_add_core_test(serial_port_test serial_port_test.cpp)
target_link_libraries(serial_port_test PRIVATE util)
halvex_add_core_test(serial_devices_test serial_devices_test.cpp)
halvex_add_core_test(clone_protocol_test clone_protocol_test.cpp)
target_link_libraries(clone_protocol_test PRIVATE halvex_sim)

# Runs the built command-line tool against the virtual radio.
halvex_add_core_test(cli_transfer_test cli_transfer_test.cpp)
target_link_libraries(cli_transfer_test PRIVATE halvex_sim)
add_dependencies(cli_transfer_test halvex-cli)
halvex_add_core_test(radio_connection_test radio_connection_test.cpp)
halvex_add_core_test(cli_ports_test cli_ports_test.cpp cli_run_fixture.h)
target_compile_definitions(cli_ports_test PRIVATE HALVEX_CLI_PATH="$<TARGET_FILE:halvex-cli>")
add_dependencies(cli_ports_test halvex-cli)
