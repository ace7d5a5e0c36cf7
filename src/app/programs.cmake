# The desktop program. The whole desktop library is linked in, so that pages and dialogs
# that register themselves from their own files are part of it.
if(HALVEX_BUILD_UI)
    add_executable(halvex app/main.cpp)
    target_link_libraries(halvex PRIVATE "$<LINK_LIBRARY:WHOLE_ARCHIVE,halvex_ui>")
    add_dependencies(halvex halvex_data)
endif()
