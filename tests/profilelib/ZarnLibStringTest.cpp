#include "profilelib/ZarnLibString.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>

TEST(ZarnLibString, NullGivesEmptyTextAndSelfAssignmentKeepsText)
{
    ZarnLibString s(nullptr);
    EXPECT_EQ(s.GetText(), "");
    s.SetText("abc");
    s.SetText(nullptr);
    EXPECT_EQ(s.GetText(), "");
    s.SetText("keep");
    s = s;
    EXPECT_EQ(s.GetText(), "keep");
}

TEST(ZarnLibString, TextHandedOutStaysValidAfterReplacements)
{
    ZarnLibString s("first");
    const std::string taken = s.GetText();
    s.SetText("second");
    s.SetText("third");
    EXPECT_EQ(taken, "first");
    EXPECT_EQ(s.GetText(), "third");
}

TEST(ZarnLibString, CopyAndAssignCopyTheText)
{
    ZarnLibString a("alpha");
    ZarnLibString b(a);
    ZarnLibString c;
    c = a;
    a.SetText("changed");
    EXPECT_EQ(b.GetText(), "alpha");
    EXPECT_EQ(c.GetText(), "alpha");
}

TEST(ZarnLibString, HeldLockIsReportedAndReleased)
{
    ZarnLibString s("x");
    EXPECT_EQ(s.TryLock(), 0);
    EXPECT_EQ(s.TryLock(), 1);
    s.Unlock();
    EXPECT_EQ(s.GetText(), "x");
}

// Two threads assigning two strings to each other while a third reads must neither deadlock nor
// hand out freed text (run under AddressSanitizer or ThreadSanitizer to see the latter).
TEST(ZarnLibString, CrossAssignmentAndReadingFromThreads)
{
    ZarnLibString a("aaaaaaaaaaaaaaaaaaaaaaaa");
    ZarnLibString b("bbbbbbbbbbbbbbbbbbbbbbbb");
    constexpr int kRounds = 300;
    std::thread t1([&] {
        for (int i = 0; i < kRounds; ++i) {
            a = b;
            a.SetText(i % 2 ? "aaaaaaaaaaaaaaaaaaaaaaaa" : "AAAAAAAAAAAAAAAAAAAAAAAA");
        }
    });
    std::thread t2([&] {
        for (int i = 0; i < kRounds; ++i) {
            b = a;
        }
    });
    std::thread reader([&] {
        for (int i = 0; i < kRounds; ++i) {
            const std::string text = a.GetText();
            ASSERT_EQ(text.size(), 24u);
        }
    });
    t1.join();
    t2.join();
    reader.join();
    EXPECT_EQ(a.GetText().size(), 24u);
    EXPECT_EQ(b.GetText().size(), 24u);
}
