target_sources(halvex_core PRIVATE
    codeplug/codecs.cpp
    codeplug/radio_image.cpp
    codeplug/radio_image_options.cpp
    codeplug/radio_image_prepare.cpp
    codeplug/radio_image_test_items.cpp
)
