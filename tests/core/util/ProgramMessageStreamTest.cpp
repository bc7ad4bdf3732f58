#include "core/util/ProgramMessageStream.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(ProgramMessageStreamTest, FramesSurviveAnySplitOfTheStream)
{
    const std::string stream = ProgramMessageStream::Encode(0x8098, 0, 0) +
                               ProgramMessageStream::Encode(0x8099, 0xFFFFFFFFu, -5);
    for (std::size_t cut = 0; cut <= stream.size(); ++cut) {
        ProgramMessageStream reader;
        std::vector<ProgramMessageStream::Message> out;
        ASSERT_TRUE(reader.Feed(stream.data(), cut, &out));
        ASSERT_TRUE(reader.Feed(stream.data() + cut, stream.size() - cut, &out));
        ASSERT_EQ(out.size(), 2u) << cut;
        EXPECT_EQ(out[0].message, 0x8098u);
        EXPECT_EQ(out[1].message, 0x8099u);
        EXPECT_EQ(out[1].wParam, 0xFFFFFFFFu);
        EXPECT_EQ(out[1].lParam, -5);
    }
}

TEST(ProgramMessageStreamTest, AStreamWithoutTheMarkerIsSpoiltForGood)
{
    const struct {
        const char* name;
        std::string bytes;
    } cases[] = {
        {"wrong marker", "ZWM2" + std::string(12, '\0')},
        {"text", "quit\n"},
        {"one wrong byte", "X"},
        {"good then bad", ProgramMessageStream::Encode(0x8099, 0, 0) + "ZWMx"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ProgramMessageStream reader;
        std::vector<ProgramMessageStream::Message> out;
        EXPECT_FALSE(reader.Feed(c.bytes.data(), c.bytes.size(), &out));
        const std::string good = ProgramMessageStream::Encode(0x8098, 0, 0);
        EXPECT_FALSE(reader.Feed(good.data(), good.size(), &out));
        EXPECT_LE(out.size(), 1u);
    }
}

TEST(ProgramMessageStreamTest, SocketNamesOnlyFromDecimalNumbers)
{
    EXPECT_EQ(ProgramMessageStream::SocketName("4242"), "Zarndesk-window-4242");
    for (const char* bad : {"", "12a", "-1", "../x", "12345678901", " 1"}) {
        EXPECT_EQ(ProgramMessageStream::SocketName(bad), "") << bad;
    }
}

} // namespace
