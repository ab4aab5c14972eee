#include <gtest/gtest.h>

#include "framework/core/Archive.h"

using namespace vantorel;

TEST(Archive, StoresBytesAndLittleEndianCountsInOrder)
{
    std::vector<uint8_t> out;
    CArchive ar(out);
    ASSERT_TRUE(ar.IsStoring());
    ar.WriteByte(0x01);
    ar.WriteUInt32LE(240);
    const uint8_t tail[] = {0xAA, 0xBB};
    ar.Write(tail, sizeof tail);
    EXPECT_EQ(out, (std::vector<uint8_t>{0x01, 0xF0, 0x00, 0x00, 0x00, 0xAA, 0xBB}));
}

TEST(Archive, LoadsWhatWasStored)
{
    const std::vector<uint8_t> in{0x07, 0x78, 0x56, 0x34, 0x12, 0x09};
    CArchive ar(in.data(), in.size());
    EXPECT_TRUE(ar.IsLoading());
    EXPECT_EQ(ar.ReadByte(), 0x07);
    EXPECT_EQ(ar.ReadUInt32LE(), 0x12345678u);
    EXPECT_EQ(ar.BytesLeft(), 1u);
    EXPECT_EQ(ar.ReadByte(), 0x09);
    EXPECT_EQ(ar.BytesLeft(), 0u);
}

TEST(Archive, ReadPastTheEndThrowsAndConsumesNothing)
{
    const std::vector<uint8_t> in{1, 2, 3};
    CArchive ar(in.data(), in.size());
    uint8_t buf[4] = {9, 9, 9, 9};
    EXPECT_THROW(ar.Read(buf, 4), CArchiveException);
    EXPECT_EQ(buf[0], 9); // nothing copied on a short read
    EXPECT_EQ(ar.BytesLeft(), 3u);
    EXPECT_THROW(ar.ReadUInt32LE(), CArchiveException);
    ar.Read(buf, 3);
    EXPECT_THROW(ar.ReadByte(), CArchiveException);
}

TEST(Archive, EmptyLoadingArchiveThrowsOnFirstRead)
{
    CArchive ar(nullptr, 100);
    EXPECT_EQ(ar.BytesLeft(), 0u);
    EXPECT_THROW(ar.ReadByte(), CArchiveException);
}
