target_sources(halvex_core PRIVATE
    testmode/access_code.cpp
    testmode/test_exchange.cpp
    testmode/test_items.cpp
    testmode/test_link.cpp
    testmode/test_mode_session.cpp
    testmode/test_scroll.cpp
)
