// Reassembly of exclusive messages from the pieces a MIDI system delivers,
// for the device (overlong dropped) and for a port buffer (overlong cut), and
// wire-speed pacing.
#include <gtest/gtest.h>

#include "midi/msg/SysEx.h"
#include "midi/msg/SysExFramer.h"
#include "midi/msg/WirePacer.h"

using namespace vantorel;

namespace {
using Bytes = std::vector<uint8_t>;
using Messages = std::vector<Bytes>;

// A port's buffer: messages longer than it are cut to its size.
class PortFramerTest : public ::testing::Test {
protected:
    void Feed(const Bytes& chunk)
    {
        m_framer.Feed(chunk.data(), chunk.size(), [this](const uint8_t* p, size_t n) {
            m_out.emplace_back(p, p + n);
            return m_bKeepGoing;
        });
    }
    CSysExFramer m_framer{sysex::kPortBufferSize, CSysExFramer::EOverlong::Truncate};
    std::vector<Bytes> m_out;
    bool m_bKeepGoing = true;
};

TEST_F(PortFramerTest, WholeAndChunkedMessages)
{
    Feed({0xF0, 0x41, 0x10, 0xF7});
    Feed({0xF0, 0x41});
    EXPECT_TRUE(m_framer.InMessage());
    Feed({0x10, 0x00});
    Feed({0x06, 0xF7});
    EXPECT_EQ(m_out, (std::vector<Bytes>{{0xF0, 0x41, 0x10, 0xF7}, {0xF0, 0x41, 0x10, 0x00, 0x06, 0xF7}}));
    EXPECT_FALSE(m_framer.InMessage());
}

TEST_F(PortFramerTest, TwoMessagesInOneChunk)
{
    Feed({0xF0, 1, 0xF7, 0xF0, 2, 0xF7});
    EXPECT_EQ(m_out, (std::vector<Bytes>{{0xF0, 1, 0xF7}, {0xF0, 2, 0xF7}}));
}

TEST_F(PortFramerTest, StrayShortMessagesAreDropped)
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

TEST_F(PortFramerTest, RealTimeBytesInsideAMessageAreSkipped)
{
    Feed({0xF0, 1, 0xF8, 2, 0xFE, 0xF7});
    EXPECT_EQ(m_out, (std::vector<Bytes>{{0xF0, 1, 2, 0xF7}}));
}

TEST_F(PortFramerTest, AStatusByteInsideAChunkCutsTheMessage)
{
    Feed({0xF0, 1, 2, 0x90, 3, 0xF7});
    EXPECT_TRUE(m_out.empty());
    Feed({0xF0, 1, 0xF0, 2, 0xF7}); // a new start throws the unfinished one away
    EXPECT_EQ(m_out, (std::vector<Bytes>{{0xF0, 2, 0xF7}}));
}

TEST_F(PortFramerTest, ALongMessageFillsTheBufferAndTheRestIsDropped)
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

TEST_F(PortFramerTest, AMessageOfExactly512BytesArrivesWhole)
{
    Bytes msg(512, 0x11);
    msg.front() = 0xF0;
    msg.back() = 0xF7;
    Feed(msg);
    Feed({0xF0, 1, 0xF7});
    ASSERT_EQ(m_out.size(), 2u);
    EXPECT_EQ(m_out[0], msg);
}

TEST_F(PortFramerTest, ASinkThatClosedThePortStopsTheChunk)
{
    m_bKeepGoing = false;
    Feed({0xF0, 1, 0xF7, 0xF0, 2, 0xF7});
    EXPECT_EQ(m_out.size(), 1u);
}

TEST(WirePacer, DoneComesAfterTheWireTimeCountedFromThePreviousMessage)
{
    CWirePacer pacer;
    pacer.Reset(1000);
    EXPECT_EQ(sysex::kWireUsPerByte, 320);
    EXPECT_EQ(pacer.Schedule(1000, 16), 16 * 320);
    // Handed over while the first is still on the wire: queued behind it.
    EXPECT_EQ(pacer.Schedule(2000, 251), 1000 + 16 * 320 + 251 * 320 - 2000);
    // After a pause the wire is free again.
    const int64_t later = 1'000'000;
    EXPECT_EQ(pacer.Schedule(later, 3), 3 * 320);
    EXPECT_EQ(pacer.Schedule(later, 0), 3 * 320);
}
} // namespace

TEST(SysExFramer, JoinsPiecesAndSkipsRealTimeBytes)
{
    const Bytes request = BuildDataRequest(0x0400000, 239);
    const Bytes patch(239, 0x21);
    const Bytes set = BuildDataSet(0x0400100, patch.data(), patch.size());

    // Every split point of two messages back to back gives the same result.
    Bytes stream = request;
    stream.insert(stream.end(), set.begin(), set.end());
    for (size_t cut = 0; cut <= stream.size(); cut += 7) {
        CSysExFramer framer;
        Messages out;
        framer.Feed(Bytes(stream.begin(), stream.begin() + ptrdiff_t(cut)), out);
        framer.Feed(Bytes(stream.begin() + ptrdiff_t(cut), stream.end()), out);
        ASSERT_EQ(out.size(), 2u) << cut;
        EXPECT_EQ(out[0], request);
        EXPECT_EQ(out[1], set);
        EXPECT_FALSE(framer.InMessage());
    }

    // Clock and active sensing inside a message are left out of it.
    Bytes withClock = request;
    withClock.insert(withClock.begin() + 5, 0xF8);
    withClock.insert(withClock.begin() + 9, 0xFE);
    CSysExFramer framer;
    Messages out;
    framer.Feed(withClock, out);
    ASSERT_EQ(out.size(), 1u);
    EXPECT_EQ(out[0], request);
}

TEST(SysExFramer, DropsBrokenAndForeignMessages)
{
    const Bytes request = BuildDataRequest(0, 23);
    CSysExFramer framer;
    Messages out;
    // Short messages alone, and a note in the middle of an exclusive message.
    framer.Feed({0x90, 0x3C, 0x64, 0x80, 0x3C, 0x00}, out);
    framer.Feed({0xF0, 0x41, 0x10, 0x90, 0x3C, 0x64, 0x01, 0xF7}, out);
    EXPECT_TRUE(out.empty());
    // A new F0 starts over; the unfinished message is lost.
    framer.Feed({0xF0, 0x41, 0x10}, out);
    framer.Feed(request, out);
    ASSERT_EQ(out.size(), 1u);
    EXPECT_EQ(out[0], request);
    // A stray F7 with no message is nothing.
    framer.Feed({0xF7, 0xF7}, out);
    EXPECT_EQ(out.size(), 1u);

    // Oversized messages are dropped whole; the next one comes through.
    Bytes huge(CSysExFramer::kMaxMessage + 10, 0x11);
    huge.front() = 0xF0;
    huge.back() = 0xF7;
    out.clear();
    framer.Feed(huge, out);
    framer.Feed(request, out);
    ASSERT_EQ(out.size(), 1u);
    EXPECT_EQ(out[0], request);
    framer.Feed(nullptr, 5, out);
    EXPECT_EQ(out.size(), 1u);
}

TEST(SysExFramer, SaysWhyAMessageWasDropped)
{
    CSysExFramer framer;
    std::vector<std::string> notes;
    framer.SetDropNote([&](const std::string& why) { notes.push_back(why); });
    Messages out;
    // A data byte of 0x80 or above ends the message; the device never sees it.
    framer.Feed({0xF0, 0x41, 0x10, 0x85, 0x01, 0xF7}, out);
    EXPECT_TRUE(out.empty());
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_NE(notes[0].find("85"), std::string::npos) << notes[0];
    EXPECT_NE(notes[0].find("0x80"), std::string::npos) << notes[0];
    // A new F0 before the F7, and an oversized message, are dropped with a reason too.
    framer.Feed({0xF0, 0x41, 0xF0, 0x41, 0xF7}, out);
    Bytes huge(CSysExFramer::kMaxMessage + 10, 0x11);
    huge.front() = 0xF0;
    huge.back() = 0xF7;
    framer.Feed(huge, out);
    EXPECT_EQ(out.size(), 1u);
    ASSERT_EQ(notes.size(), 3u);
    for (const std::string& note : notes)
        EXPECT_FALSE(note.empty());
    // Real-time bytes inside a message are no reason to drop it.
    framer.Feed({0xF0, 0x41, 0xF8, 0x10, 0xF7}, out);
    EXPECT_EQ(notes.size(), 3u);
    EXPECT_EQ(out.size(), 2u);
}
