# SPDX-License-Identifier: GPL-3.0-or-later
# The printed report: its layout rules, and the report printed to PDF and read back with the
# poppler tools; print_report_pdf prints a file's report for the browser journey to compare.
halvex_add_core_test(channel_report_test channel_report_test.cpp)
if(HALVEX_BUILD_UI)
    halvex_add_ui_test(print_test print_test.cpp)
    halvex_add_ui_test_executable(print_report_pdf print_report_pdf.cpp)
endif()
