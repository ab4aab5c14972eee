// Reassembly of exclusive messages from the pieces a MIDI system delivers.
#include <gtest/gtest.h>

#include "midi/msg/SysEx.h"
#include "midi/msg/SysExFramer.h"

using namespace vantorel;

namespace {
using Bytes = std::vector<uint8_t>;
using Messages = std::vector<Bytes>;
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
