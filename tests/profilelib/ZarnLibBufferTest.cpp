#include "profilelib/ZarnLib_Buffer.h"

#include <gtest/gtest.h>

#include "profilelib/ZarnLib_CnvPolyLine.h"

TEST(ZarnLibBuffer, AllocBelowOneLeavesTheBufferEmpty)
{
    for (int n : {0, -5}) {
        ZarnLib_Buffer<int> b(3, true);
        EXPECT_EQ(b.Alloc(n, true), nullptr) << n;
        EXPECT_EQ(b.GetCount(), 0);
        EXPECT_FALSE(b.IsValid());
        EXPECT_EQ(b.Free(), -1);
    }
}

TEST(ZarnLibBuffer, CopyWithOwnDataChecksTheCount)
{
    ZarnLib_Buffer<short> b(4, true);
    for (int i = 0; i < 4; ++i) {
        b[i] = static_cast<short>(i);
    }
    EXPECT_EQ(b.Copy(b.GetData(), 4), 0);
    EXPECT_EQ(b.Copy(b.GetData(), 3), -1);
    EXPECT_EQ(b.GetCount(), 4);
    EXPECT_EQ(b[static_cast<std::uint16_t>(3)], 3);
    EXPECT_EQ(b.Copy(nullptr, 2), 0);
    EXPECT_FALSE(b.IsValid());
}

// A buffer frees only what it owns: detached data and data taken over through the holder stay
// alive (AddressSanitizer reports a double free otherwise).
TEST(ZarnLibBuffer, DetachedDataIsNotFreed)
{
    int* kept = nullptr;
    {
        ZarnLib_Buffer<int> b(5, true);
        b[0] = 42;
        kept = b.Detach();
        ASSERT_NE(kept, nullptr);
        EXPECT_EQ(b.Detach(), nullptr);
        EXPECT_EQ(b.Free(), 0);
        EXPECT_FALSE(b.IsValid());
    }
    EXPECT_EQ(kept[0], 42);
    delete[] kept;
}

TEST(ZarnLibBuffer, NonOwningBufferForgetsDataOnAllocAndDestruction)
{
    int* holder = nullptr;
    int* external = nullptr;
    {
        ZarnLib_Buffer<int> b(3, false, &holder);
        ASSERT_NE(holder, nullptr);
        external = holder;
        external[2] = 7;
        EXPECT_NE(b.Alloc(2, true), nullptr);
    }
    EXPECT_EQ(holder, nullptr); // the release of the second allocation clears the holder
    EXPECT_EQ(external[2], 7);
    delete[] external;
}

TEST(ZarnLibBuffer, HolderClearedByTakerMeansDataWasTakenOver)
{
    double* holder = nullptr;
    ZarnLib_Buffer<double> b;
    ASSERT_NE(b.AllocHeld(2, true, &holder), nullptr);
    double* taken = holder;
    holder = nullptr;
    EXPECT_EQ(b.Free(), 0);
    taken[1] = 1.5;
    delete[] taken;
}

TEST(ZarnLibBuffer, CopiesAndEquality)
{
    ZarnLib_Buffer<unsigned char> a(3, true);
    a[0] = 1;
    a[1] = 2;
    a[2] = 3;
    ZarnLib_Buffer<unsigned char> b(a);
    EXPECT_TRUE(a == b);
    b[static_cast<std::int16_t>(2)] = 9;
    EXPECT_TRUE(a != b);
    ZarnLib_Buffer<unsigned char> c;
    c = a;
    EXPECT_TRUE(c == a);
    EXPECT_EQ(c.GetByteSize(), 3u);
    EXPECT_EQ(c.GetElementSize(), 1);
    EXPECT_TRUE(ZarnLib_Buffer<int>() == ZarnLib_Buffer<int>());
}

TEST(ZarnLibBuffer, PolylineElementsAreConstructedAndDestroyed)
{
    ZarnLib_Buffer<ZarnLib_CnvPolyLine> curves(2, true);
    const _ZARNLIB_VECTOR2 points[2] = {{0, 0}, {1, 1}};
    EXPECT_EQ(curves[1].SetPoints(points, 2, false), 0);
    EXPECT_EQ(curves[0].GetCount(), 0);
    EXPECT_NE(curves.Alloc(3, true), nullptr);
    EXPECT_EQ(curves[1].GetCount(), 0);
}
