// SPDX-License-Identifier: GPL-3.0-or-later
// Test mode's rules that need no radio: the access code, the item list, the adjust frame
// and the scroll bar's wrap and store.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "codeplug/radio_image.h"
#include "link/serial_port.h"
#include "support/test_mode_language.h"
#include "testmode/access_code.h"
#include "testmode/mode_items.h"
#include "testmode/mode_session.h"
#include "testmode/value_scroll.h"

namespace {

TEST(TestModeAccessCode, OnlyTheExactCodeOpensTestMode) {
    struct Case {
        const char* entered;
        bool accepted;
    };
    for (const Case& c :
         {Case{"RO264", true}, Case{"ro264", false}, Case{"Ro264", false}, Case{"RO2640", false},
          Case{"RO26", false}, Case{" RO264", false}, Case{"RO264 ", false}, Case{"", false}}) {
        SCOPED_TRACE(c.entered);
        std::optional<TestModeMessage> refusal = CheckAccessCode(c.entered);
        EXPECT_EQ(!refusal.has_value(), c.accepted);
        if (refusal) {
            EXPECT_EQ(refusal->textKey, "IDS_ERROR_PASSWORD");
            // Captioned with the application's title, not a language text.
            EXPECT_TRUE(refusal->captionKey.empty());
            EXPECT_TRUE(refusal->stopIcon);
        }
    }
}

TEST(TestModeItems, ListComesFromTheLanguageFileAndStopsAtTheTestRegion) {
    struct Case {
        std::vector<std::string> lines;
        size_t expected;
    };
    std::vector<std::string> gap = TemporaryTestDataLanguage::NumberedItems(5);
    gap.push_back("6=Item 6");
    std::vector<std::string> empty = TemporaryTestDataLanguage::NumberedItems(3);
    empty.push_back("3=");
    empty.push_back("4=Item 4");
    for (const Case& c : {Case{TemporaryTestDataLanguage::NumberedItems(10), 10},
                          Case{TemporaryTestDataLanguage::NumberedItems(58), 58},
                          Case{TemporaryTestDataLanguage::NumberedItems(70), 58}, Case{gap, 5},
                          Case{empty, 3}, Case{{}, 0}}) {
        SCOPED_TRACE(c.expected);
        TemporaryTestDataLanguage language(c.lines);
        EXPECT_EQ(LoadTestItemNames(language.Path()).size(), c.expected);
    }
}

TEST(TestModeItems, LineIsTheNameFollowedByTheItemsValue) {
    TemporaryTestDataLanguage language(TemporaryTestDataLanguage::NumberedItems(10));
    RadioImage image;
    image.bytes[0x0FE3] = 128;
    image.bytes[0x0FE4] = 0;
    std::vector<std::string> lines = TestItemLines(LoadTestItemNames(language.Path()), image);
    ASSERT_EQ(lines.size(), 10u);
    EXPECT_EQ(lines[3], "Item 3-(128)");
    EXPECT_EQ(lines[4], "Item 4-(0)");
}

TEST(TestModeItems, AdjustFrameNamesTheBankAndTheItemWithinIt) {
    struct Case {
        int item;
        int value;
        std::array<uint8_t, 7> head;
    };
    for (const Case& c : {Case{0, 0, {0x67, 0x0F, 0xE0, 0x10, 0x00, 0x00, 0x00}},
                          Case{15, 255, {0x67, 0x0F, 0xE0, 0x10, 0xFF, 0x0F, 0x00}},
                          Case{16, 1, {0x67, 0x0F, 0xF0, 0x10, 0x01, 0x00, 0x01}},
                          Case{20, 128, {0x67, 0x0F, 0xF0, 0x10, 0x80, 0x04, 0x01}},
                          Case{31, 77, {0x67, 0x0F, 0xF0, 0x10, 0x4D, 0x0F, 0x01}}}) {
        SCOPED_TRACE(c.item);
        std::optional<AdjustFrame> frame = BuildAdjustFrame(c.item, c.value);
        ASSERT_TRUE(frame);
        EXPECT_TRUE(std::equal(c.head.begin(), c.head.end(), frame->begin()));
        for (size_t k = 7; k < 16; ++k) {
            EXPECT_EQ((*frame)[k], 0xFF) << k;
        }
    }
    for (int item : {-1, 32, 35, 57}) {
        EXPECT_FALSE(BuildAdjustFrame(item, 1)) << item;
    }
}

TEST(TestModeScroll, LineStepsWrapAndOnlyTheMovingCodesMove) {
    struct Case {
        ScrollCode code;
        int position;
        int tracked;
        int expected;
    };
    for (const Case& c :
         {Case{ScrollCode::LineRight, 255, 0, 0}, Case{ScrollCode::LineLeft, 0, 0, 255},
          Case{ScrollCode::LineRight, 254, 0, 255}, Case{ScrollCode::LineLeft, 1, 0, 0},
          Case{ScrollCode::ThumbTrack, 10, 200, 200}, Case{ScrollCode::ThumbTrack, 10, 300, 255},
          Case{ScrollCode::ThumbTrack, 10, -4, 0}, Case{ScrollCode::EndScroll, 10, 200, 10},
          Case{ScrollCode::Other, 10, 200, 10}}) {
        EXPECT_EQ(ScrolledPosition(c.code, c.position, c.tracked), c.expected)
            << static_cast<int>(c.code) << " from " << c.position;
    }
}

TEST(TestModeScroll, ValueReachesTheImageOnlyAtEndScroll) {
    TemporaryTestDataLanguage language(TemporaryTestDataLanguage::NumberedItems(40));
    RadioImage image;
    image.SetTestItem(0, 7);
    image.SetTestItem(20, 255);
    CSerialPort port;
    TestModeSession session(port, port.PortsFolder(), "/nonexistent/setting.ini", language.Path(),
                            image);
    std::vector<std::string> lines = session.Fill();
    ASSERT_EQ(lines.size(), 40u);
    EXPECT_EQ(session.SelectedItem(), 0);
    EXPECT_EQ(session.Position(), 7);

    session.Select(20);
    EXPECT_EQ(session.Position(), 255);
    EXPECT_FALSE(session.Scroll(ScrollCode::LineRight, 0).stored);
    EXPECT_EQ(session.Position(), 0);
    EXPECT_EQ(image.GetTestItem(20), 255);
    ScrollOutcome stored = session.Scroll(ScrollCode::EndScroll, 0);
    EXPECT_TRUE(stored.stored);
    EXPECT_TRUE(stored.imageChanged);
    EXPECT_EQ(image.GetTestItem(20), 0);
    // Letting go without a change stores the same value and leaves the document unmodified.
    ScrollOutcome unchanged = session.Scroll(ScrollCode::EndScroll, 0);
    EXPECT_TRUE(unchanged.stored);
    EXPECT_FALSE(unchanged.imageChanged);
    EXPECT_EQ(session.ItemLines()[20], "Item 20-(0)");
    EXPECT_EQ(session.SelectedItem(), 20);
}

}  // namespace
