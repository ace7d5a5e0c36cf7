target_sources(halvex_core PRIVATE
    codeplug/channel_rows.cpp
    codeplug/codecs.cpp
    codeplug/image_difference.cpp
    codeplug/radio_image.cpp
    codeplug/radio_image_options.cpp
    codeplug/radio_image_prepare.cpp
    codeplug/radio_image_test_items.cpp
    codeplug/read_backups.cpp
    codeplug/write_risk.cpp
)
