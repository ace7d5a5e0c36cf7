# The printed report and the Print, Print Preview and Print Setup commands.
target_sources(halvex_ui PRIVATE
    view/print_commands.cpp
    view/print_function_items.cpp
    view/print_report.cpp
)
