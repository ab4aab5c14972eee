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

// A byte stream (a .syx file) read through the watch: every byte is part of a
// message, outside any message, or of a message dropped, each with its place.
TEST(SysExFramer, AStreamWatchTellsWhereEveryByteWent)
{
    using EInput = CSysExFramer::EInput;
    struct CStreamCase {
        const char* szName;
        std::vector<Bytes> chunks; // an empty chunk ends the stream there
        std::string events;        // msg/out/drop @offset:bytes, '+' for a run's first piece
        EInput input = EInput::ByteStream;
    };
    const CStreamCase cases[] = {
        {"junk between messages",
         {{0x00, 0x12, 0xF0, 1, 0xF7, 0x90, 0x3C, 0xF8, 0xF7, 0xF0, 2, 0xF7}},
         "out@0:2+ msg@2:3 out@5:4+ msg@9:3"},
        {"a run split over chunks", {{0x00}, {0x12, 0xF0}, {1, 0xF7}}, "out@0:1+ out@1:1 msg@2:3"},
        {"real-time bytes inside a message", {{0x55, 0xF0, 1, 0xF8, 2, 0xFE, 0xF7}}, "out@0:1+ msg@1:4"},
        {"a new F0 before the F7", {{0xF0, 1, 2, 0xF0, 3, 0xF7}}, "drop@0:3:start msg@3:3"},
        {"a status byte cuts the message", {{0xF0, 1, 0x90, 5, 0xF7}}, "drop@0:3:byte out@3:2+"},
        {"an unterminated tail", {{0x7F, 0xF0, 1, 0xF8, 2}, {}}, "out@0:1+ drop@1:3:end"},
        {"past the limit", {{0xF0, 1, 2, 3, 4, 5, 6, 0xF7, 0xF0, 1, 0xF7}}, "drop@0:8:long msg@8:3"},
        {"a new run after the end", {{1}, {}, {2}}, "out@0:1+ out@1:1+"},
        {"a port's short message apart",
         {{0xF0, 1}, {0x90, 60, 0}, {0xF7, 7}},
         "msg@0:3 out@6:1+",
         EInput::MidiEvents},
    };
    for (const CStreamCase& c : cases) {
        CSysExFramer framer(5, CSysExFramer::EOverlong::Drop, c.input);
        std::string events;
        const auto add = [&events](const std::string& event) {
            events += (events.empty() ? "" : " ") + event;
        };
        framer.SetStreamWatch({
            [&](uint64_t nOffset, size_t nCount, bool bRunStart) {
                add("out@" + std::to_string(nOffset) + ":" + std::to_string(nCount) + (bRunStart ? "+" : ""));
            },
            [&](const CSysExFramer::CDropped& d) {
                static const char* const kReasons[] = {"start", "byte", "long", "end"};
                add("drop@" + std::to_string(d.nOffset) + ":" + std::to_string(d.nBytes) + ":" +
                    kReasons[int(d.reason)]);
            },
        });
        for (const Bytes& chunk : c.chunks) {
            if (chunk.empty())
                framer.End();
            framer.Feed(chunk.data(), chunk.size(), [&](const uint8_t*, size_t n) {
                add("msg@" + std::to_string(framer.MessageOffset()) + ":" + std::to_string(n));
                return true;
            });
        }
        EXPECT_EQ(events, c.events) << c.szName;
    }
}
