// Whole exclusive messages out of backend chunks, and wire-speed pacing.
#include <gtest/gtest.h>

#include "midi/backends/SysExAssembler.h"

namespace vantorel {
namespace {

using Bytes = std::vector<uint8_t>;

class AssemblerTest : public ::testing::Test {
protected:
    void Feed(const Bytes& chunk)
    {
        m_assembler.Feed(chunk.data(), chunk.size(), [this](const uint8_t* p, size_t n) {
            m_out.emplace_back(p, p + n);
            return m_bKeepGoing;
        });
    }
    CSysExAssembler m_assembler{512};
    std::vector<Bytes> m_out;
    bool m_bKeepGoing = true;
};

TEST_F(AssemblerTest, WholeAndChunkedMessages)
{
    Feed({0xF0, 0x41, 0x10, 0xF7});
    Feed({0xF0, 0x41});
    EXPECT_TRUE(m_assembler.InMessage());
    Feed({0x10, 0x00});
    Feed({0x06, 0xF7});
    EXPECT_EQ(m_out, (std::vector<Bytes>{{0xF0, 0x41, 0x10, 0xF7}, {0xF0, 0x41, 0x10, 0x00, 0x06, 0xF7}}));
    EXPECT_FALSE(m_assembler.InMessage());
}

TEST_F(AssemblerTest, TwoMessagesInOneChunk)
{
    Feed({0xF0, 1, 0xF7, 0xF0, 2, 0xF7});
    EXPECT_EQ(m_out, (std::vector<Bytes>{{0xF0, 1, 0xF7}, {0xF0, 2, 0xF7}}));
}

TEST_F(AssemblerTest, StrayShortMessagesAreDropped)
{
    Feed({0x90, 60, 100});
    Feed({0xB0, 7, 100});
    EXPECT_TRUE(m_out.empty());
    // A short message arriving as its own chunk between sysex chunks.
    Feed({0xF0, 1, 2});
    Feed({0x80, 60, 0});
    Feed({3, 0xF7});
    EXPECT_EQ(m_out, (std::vector<Bytes>{{0xF0, 1, 2, 3, 0xF7}}));
    // Data bytes with no message open, and a lone end.
    m_out.clear();
    Feed({1, 2, 3});
    Feed({0xF7});
    EXPECT_TRUE(m_out.empty());
}

TEST_F(AssemblerTest, RealTimeBytesInsideAMessageAreSkipped)
{
    Feed({0xF0, 1, 0xF8, 2, 0xFE, 0xF7});
    EXPECT_EQ(m_out, (std::vector<Bytes>{{0xF0, 1, 2, 0xF7}}));
}

TEST_F(AssemblerTest, AStatusByteInsideAChunkCutsTheMessage)
{
    Feed({0xF0, 1, 2, 0x90, 3, 0xF7});
    EXPECT_TRUE(m_out.empty());
    Feed({0xF0, 1, 0xF0, 2, 0xF7}); // a new start throws the unfinished one away
    EXPECT_EQ(m_out, (std::vector<Bytes>{{0xF0, 2, 0xF7}}));
}

TEST_F(AssemblerTest, ALongMessageFillsTheBufferAndTheRestIsDropped)
{
    Bytes big = {0xF0};
    for (int i = 0; i < 600; ++i)
        big.push_back(uint8_t(i & 0x7F));
    big.push_back(0xF7);
    Feed(Bytes(big.begin(), big.begin() + 300));
    Feed(Bytes(big.begin() + 300, big.end()));
    ASSERT_EQ(m_out.size(), 1u);
    EXPECT_EQ(m_out[0], Bytes(big.begin(), big.begin() + 512));
    Feed({0xF0, 9, 0xF7});
    ASSERT_EQ(m_out.size(), 2u);
    EXPECT_EQ(m_out[1], (Bytes{0xF0, 9, 0xF7}));
}

TEST_F(AssemblerTest, AMessageOfExactly512BytesArrivesWhole)
{
    Bytes msg(512, 0x11);
    msg.front() = 0xF0;
    msg.back() = 0xF7;
    Feed(msg);
    Feed({0xF0, 1, 0xF7});
    ASSERT_EQ(m_out.size(), 2u);
    EXPECT_EQ(m_out[0], msg);
}

TEST_F(AssemblerTest, ASinkThatClosedThePortStopsTheChunk)
{
    m_bKeepGoing = false;
    Feed({0xF0, 1, 0xF7, 0xF0, 2, 0xF7});
    EXPECT_EQ(m_out.size(), 1u);
}

TEST(WirePacer, DoneComesAfterTheWireTimeCountedFromThePreviousMessage)
{
    CWirePacer pacer;
    pacer.Reset(1000);
    EXPECT_EQ(pacer.Schedule(1000, 16), 16 * 320);
    // Handed over while the first is still on the wire: queued behind it.
    EXPECT_EQ(pacer.Schedule(2000, 251), 1000 + 16 * 320 + 251 * 320 - 2000);
    // After a pause the wire is free again.
    const int64_t later = 1'000'000;
    EXPECT_EQ(pacer.Schedule(later, 3), 3 * 320);
    EXPECT_EQ(pacer.Schedule(later, 0), 3 * 320);
}

} // namespace
} // namespace vantorel
