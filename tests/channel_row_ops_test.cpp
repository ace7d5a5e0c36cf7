// SPDX-License-Identifier: GPL-3.0-or-later
// Whole-channel operations on the image: every channel keeps its record, name and bitmap bit
// together, the table's edges refuse without changing a byte, and nothing past the last
// editable channel is touched.
#include "codeplug/channel_row_ops.h"

#include <gtest/gtest.h>

#include <numeric>

namespace {

// A used channel whose every byte tells which channel it was made for.
ChannelSlot Marked(int id) {
    ChannelSlot slot;
    for (size_t index = 0; index < slot.record.size(); ++index) {
        slot.record[index] = static_cast<uint8_t>(id + index);
    }
    slot.record[3] = 0x01;  // a packed BCD top byte: in use
    slot.name = {static_cast<uint8_t>(id), 1, 2, 3, 0xFF};
    slot.emptyBit = id % 2 == 0;  // a stale bit must travel as it is, too
    return slot;
}

class ChannelRowOpsTest : public ::testing::Test {
protected:
    void SetUp() override {
        image.bytes.fill(0xFF);
        for (int n = 1; n <= kImageChannelCount; ++n) {
            WriteChannelSlot(image, n, Marked(n));
        }
        before = image.bytes;
    }

    // The channel each of 1..last now holds: its id, 0 when empty.
    std::vector<int> Layout(int first, int last) const {
        std::vector<int> ids;
        for (int n = first; n <= last; ++n) {
            const ChannelSlot slot = ReadChannelSlot(image, n);
            int id = 0;
            for (int candidate = 1; candidate <= kImageChannelCount; ++candidate) {
                if (slot == Marked(candidate)) {
                    id = candidate;
                }
            }
            if (id == 0) {
                EXPECT_EQ(slot, EmptyChannelSlot()) << "channel " << n << " is neither";
            }
            ids.push_back(id);
        }
        return ids;
    }

    void ExpectUnchanged() const { EXPECT_TRUE(image.bytes == before); }

    RadioImage image;
    std::array<uint8_t, kImageSize> before{};
};

TEST_F(ChannelRowOpsTest, SlotsCarryRecordNameAndBitmapBit) {
    EXPECT_EQ(ReadChannelSlot(image, 1), Marked(1));
    EXPECT_EQ(ReadChannelSlot(image, 128), Marked(128));
    EXPECT_EQ(image.bytes[0x0D30] & 0x01, 0x00);  // channel 1: odd id, bit clear
    EXPECT_EQ(image.bytes[0x0D30] & 0x02, 0x02);  // channel 2: even id, bit set
    EXPECT_EQ(image.bytes[0x0900], 1);
    EXPECT_EQ(image.bytes[0x1800 + 8], static_cast<uint8_t>(128 + 8));

    const ChannelSlot empty = EmptyChannelSlot();
    EXPECT_FALSE(IsSlotInUse(empty));
    EXPECT_TRUE(empty.emptyBit);
    WriteChannelSlot(image, 5, empty);
    EXPECT_TRUE(image.IsChannelEmpty(5));
    EXPECT_FALSE(image.GetReverse(5));  // cleared switches, unlike an all-0xFF record
    EXPECT_TRUE(image.GetPowerHigh(5));
    EXPECT_EQ(image.bytes[0x0D30] & 0x10, 0x10);

    // Out-of-range numbers neither read nor write anything of the image.
    const auto kept = image.bytes;
    WriteChannelSlot(image, 129, Marked(1));
    WriteChannelSlot(image, 0, Marked(1));
    EXPECT_EQ(ReadChannelSlot(image, 0), empty);
    EXPECT_TRUE(image.bytes == kept);
}

TEST_F(ChannelRowOpsTest, InsertMovesChannelsDownAndAsksBeforeDroppingOne) {
    EXPECT_EQ(ChannelsPushedOff(image, 10, 3, 1), 1);
    EXPECT_EQ(InsertEmptyChannels(image, 10, 3, 1, false), InsertOutcome::WouldDropChannels);
    ExpectUnchanged();

    EXPECT_EQ(InsertEmptyChannels(image, 10, 3, 2, true), InsertOutcome::Inserted);
    EXPECT_EQ(Layout(1, 11), (std::vector<int>{1, 2, 0, 0, 3, 4, 5, 6, 7, 8, 11}));

    // With the last channel empty nothing falls off, so no question.
    ASSERT_TRUE(ClearChannels(image, 10, {10}));
    EXPECT_EQ(ChannelsPushedOff(image, 10, 1, 1), 0);
    EXPECT_EQ(InsertEmptyChannels(image, 10, 1, 1, false), InsertOutcome::Inserted);
    EXPECT_EQ(Layout(1, 10), (std::vector<int>{0, 1, 2, 0, 0, 3, 4, 5, 6, 7}));

    // At the last channel, and more channels than there is room for.
    EXPECT_EQ(InsertEmptyChannels(image, 128, 128, 1, true), InsertOutcome::Inserted);
    EXPECT_EQ(Layout(127, 128), (std::vector<int>{127, 0}));
    EXPECT_EQ(ChannelsPushedOff(image, 20, 15, 50), 6);
    EXPECT_EQ(InsertEmptyChannels(image, 20, 15, 50, true), InsertOutcome::Inserted);
    EXPECT_EQ(Layout(14, 21), (std::vector<int>{14, 0, 0, 0, 0, 0, 0, 21}));

    // The channels a question names are the ones that would fall off.
    for (const auto& [n, count] : {std::pair{1, 1}, std::pair{15, 3}, std::pair{19, 50}}) {
        RadioImage pushed = image;
        const std::vector<int> lost = PushedOffChannels(image, 20, n, count);
        EXPECT_EQ(static_cast<int>(lost.size()), ChannelsPushedOff(image, 20, n, count));
        ASSERT_EQ(InsertEmptyChannels(pushed, 20, n, count, true), InsertOutcome::Inserted);
        std::vector<int> moved = ChangedChannels(image, pushed, 20);
        for (int channel : lost) {
            EXPECT_NE(std::find(moved.begin(), moved.end(), channel), moved.end()) << channel;
            EXPECT_FALSE(image.IsChannelEmpty(channel));
        }
    }

    const auto kept = image.bytes;
    EXPECT_EQ(InsertEmptyChannels(image, 20, 21, 1, true), InsertOutcome::Refused);
    EXPECT_EQ(InsertEmptyChannels(image, 20, 0, 1, true), InsertOutcome::Refused);
    EXPECT_EQ(InsertEmptyChannels(image, 20, 5, 0, true), InsertOutcome::Refused);
    EXPECT_TRUE(image.bytes == kept);
}

TEST_F(ChannelRowOpsTest, DeleteMovesChannelsUpAndFillsTheEnd) {
    EXPECT_TRUE(DeleteChannels(image, 10, {7, 2, 3}));
    EXPECT_EQ(Layout(1, 11), (std::vector<int>{1, 4, 5, 6, 8, 9, 10, 0, 0, 0, 11}));

    EXPECT_TRUE(DeleteChannels(image, 128, {128}));
    EXPECT_EQ(Layout(127, 128), (std::vector<int>{127, 0}));
    EXPECT_TRUE(DeleteChannels(image, 128, {1}));
    EXPECT_EQ(Layout(1, 2), (std::vector<int>{4, 5}));

    const auto kept = image.bytes;
    EXPECT_FALSE(DeleteChannels(image, 128, {}));
    EXPECT_FALSE(DeleteChannels(image, 10, {5, 11}));
    EXPECT_FALSE(DeleteChannels(image, 10, {0}));
    EXPECT_TRUE(image.bytes == kept);

    // The whole table at once leaves it empty.
    std::vector<int> all(kImageChannelCount);
    std::iota(all.begin(), all.end(), 1);
    EXPECT_TRUE(DeleteChannels(image, 128, all));
    EXPECT_EQ(Layout(1, 128), std::vector<int>(128, 0));
}

TEST_F(ChannelRowOpsTest, MovesCarryBlocksAndRefuseAtTheEnds) {
    EXPECT_TRUE(MoveChannels(image, 10, {3, 4, 5}, true));
    EXPECT_EQ(Layout(1, 6), (std::vector<int>{1, 3, 4, 5, 2, 6}));
    EXPECT_TRUE(MoveChannels(image, 10, {2, 3, 4}, false));
    EXPECT_EQ(Layout(1, 6), (std::vector<int>{1, 2, 3, 4, 5, 6}));
    // Separate rows each move one place.
    EXPECT_TRUE(MoveChannels(image, 10, {2, 5}, false));
    EXPECT_EQ(Layout(1, 6), (std::vector<int>{1, 3, 2, 4, 6, 5}));
    EXPECT_TRUE(MoveChannels(image, 10, {3, 6}, true));
    EXPECT_EQ(Layout(1, 6), (std::vector<int>{1, 2, 3, 4, 5, 6}));

    EXPECT_FALSE(MoveChannels(image, 10, {1, 2}, true));
    EXPECT_FALSE(MoveChannels(image, 10, {9, 10}, false));
    EXPECT_FALSE(MoveChannels(image, 128, {128}, false));
    EXPECT_FALSE(MoveChannels(image, 10, {}, true));
    EXPECT_FALSE(MoveChannels(image, 10, {11}, true));
    ExpectUnchanged();

    EXPECT_TRUE(MoveChannels(image, 128, {127, 128}, true));
    EXPECT_EQ(Layout(126, 128), (std::vector<int>{127, 128, 126}));
}

TEST_F(ChannelRowOpsTest, ClearAndPasteStayInsideTheTable) {
    EXPECT_TRUE(ClearChannels(image, 10, {4, 6}));
    EXPECT_EQ(Layout(3, 7), (std::vector<int>{3, 0, 5, 0, 7}));
    EXPECT_FALSE(ClearChannels(image, 10, {10, 11}));
    EXPECT_FALSE(ClearChannels(image, 10, {}));

    const std::vector<ChannelSlot> copied = CopyChannels(image, {5, 3, 4, 200});
    ASSERT_EQ(copied.size(), 3u);
    EXPECT_EQ(PasteChannels(image, 10, 8, copied), 0);
    EXPECT_EQ(Layout(7, 11), (std::vector<int>{7, 3, 0, 5, 11}));
    EXPECT_EQ(PasteChannels(image, 10, 9, copied), 1);
    EXPECT_EQ(Layout(8, 11), (std::vector<int>{3, 3, 0, 11}));
    EXPECT_EQ(PasteChannels(image, 128, 128, copied), 2);
    EXPECT_EQ(Layout(128, 128), std::vector<int>{3});

    const auto kept = image.bytes;
    EXPECT_EQ(PasteChannels(image, 10, 11, copied), 3);
    EXPECT_EQ(PasteChannels(image, 10, 0, copied), 3);
    EXPECT_TRUE(image.bytes == kept);
}

TEST(ChannelClipboardTest, OwnFormatRoundTripsAndRefusesAnythingElse) {
    const std::vector<ChannelSlot> slots = {Marked(7), EmptyChannelSlot(), Marked(8)};
    const std::string data = EncodeChannelSlots(slots);
    ASSERT_TRUE(DecodeChannelSlots(data).has_value());
    EXPECT_EQ(*DecodeChannelSlots(data), slots);

    std::vector<ChannelSlot> many(300, Marked(9));
    EXPECT_EQ(DecodeChannelSlots(EncodeChannelSlots(many))->size(), 300u);

    EXPECT_FALSE(DecodeChannelSlots(data.substr(0, data.size() - 1)));
    EXPECT_FALSE(DecodeChannelSlots(data + "x"));
    EXPECT_FALSE(DecodeChannelSlots(EncodeChannelSlots({})));
    EXPECT_FALSE(DecodeChannelSlots("Location,Frequency\r\n1,146.52\r\n"));
    std::string badBit = data;
    badBit[7 + 21] = 2;
    EXPECT_FALSE(DecodeChannelSlots(badBit));
    std::string newer = data;
    newer[4] = 2;
    EXPECT_FALSE(DecodeChannelSlots(newer));
}

TEST(ChannelListTextTest, RangesReadAsAUserWritesThem) {
    EXPECT_EQ(ChannelListText({5}), "5");
    EXPECT_EQ(ChannelListText({5, 3, 4}), "3-5");
    EXPECT_EQ(ChannelListText({9, 1, 3, 8, 7, 3}), "1, 3, 7-9");
    EXPECT_EQ(ChannelListText({}), "");
}

}  // namespace
