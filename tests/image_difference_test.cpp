#include "codeplug/image_difference.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "codeplug/pgm_file.h"
#include "support/quiet_prompts.h"

namespace {

const std::string kDataDir = HALVEX_TEST_DATA_DIR;

class ImageDifferenceTest : public ::testing::Test {
protected:
    void SetUp() override {
        PgmFile file;
        std::string error;
        ASSERT_EQ(LoadPgmFile(kDataDir + "/pgm/v1_05_channels.pgm", &file, &error),
                  PgmLoadResult::Loaded)
            << error;
        m_First.bytes = file.image;
        m_Second.bytes = file.image;
    }

    std::vector<std::string> Lines(int channelCount = 10) const {
        std::vector<std::string> lines;
        for (const ImageDifference& difference : DiffImages(m_First, m_Second, channelCount)) {
            lines.push_back(DifferenceLine(difference));
        }
        return lines;
    }

    halvex::test::QuietPrompts m_Prompts;
    CHalvexDoc m_First{m_Prompts, {kDataDir + "/settings/single_bands.ini", 10}};
    CHalvexDoc m_Second{m_Prompts, {kDataDir + "/settings/single_bands.ini", 10}};
};

// Every byte a write sends counts: the list is empty exactly when the written range is equal,
// whatever is flipped where.
TEST_F(ImageDifferenceTest, TheListIsEmptyExactlyWhenTheWrittenBytesAreEqual) {
    std::mt19937 random(870);
    std::uniform_int_distribution<size_t> offset(0, kImageSize - 1);
    std::uniform_int_distribution<int> count(0, 3);
    for (int round = 0; round < 300; ++round) {
        m_Second.bytes = m_First.bytes;
        for (int k = count(random); k > 0; --k) {
            m_Second.bytes[offset(random)] ^= static_cast<uint8_t>(1 + random() % 255);
        }
        bool written = !std::equal(m_First.bytes.begin() + kCloneBegin, m_First.bytes.end(),
                                   m_Second.bytes.begin() + kCloneBegin);
        EXPECT_EQ(!Lines().empty(), written) << "round " << round;
    }
}

TEST_F(ImageDifferenceTest, BytesNoFieldShowsAreNamedByAddress) {
    struct Case {
        size_t offset;
        std::string line;
    };
    const Case cases[] = {
        {kModelIdOffset, "Other bytes at 0x0D40-0x0D40: "},
        {kTestDataOffset + 3, "Other bytes at 0x0FC3-0x0FC3: "},
        // An unused channel shows "-" everywhere, so its bytes come out as bytes.
        {kChannelRecordBase + 16 * 3 + 15, "Other bytes at 0x103F-0x103F: "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        m_Second.bytes = m_First.bytes;
        m_Second.bytes[c.offset] ^= 0x11;
        std::vector<std::string> lines = Lines();
        EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [&](const std::string& line) {
            return line.starts_with(c.line);
        })) << testing::PrintToString(lines);
    }
    // A channel the settings do not show is still written, so it still differs.
    m_Second.bytes = m_First.bytes;
    std::copy_n(m_First.bytes.begin() + kChannelRecordBase + kRecordSize, kRecordSize,
                m_Second.bytes.begin() + kChannelRecordBase + kRecordSize * 50);
    std::vector<std::string> lines = Lines();
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines[0], "Channel 50 (beyond channelcount 10), Receive: - -> 146.12500");

    m_Second.bytes = m_First.bytes;
    m_Second.bytes[kCloneBegin - 1] ^= 0x11;
    EXPECT_TRUE(Lines().empty()) << "below the written range";
}

}  // namespace
