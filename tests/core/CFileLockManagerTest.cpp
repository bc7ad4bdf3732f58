#include "core/CFileLockManager.h"
#include "platform/NoShareFile.h"
#include "tests/core/CoreTempDir.h"

#include <gtest/gtest.h>

namespace {

class LockManagerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const char* name : {"a.kpf", "b.kpf", "c.kpf"}) {
            CoreTempDir::Write(dir.Sub(name), "x");
        }
    }
    void TearDown() override { CFileLockManager::DestroyInstance(); }
    CFileLockManager& Locks() { return *CFileLockManager::GetInstance(); }
    bool Held(const std::string& name) { return NoShareFile::IsHeldElsewhere(dir.Sub(name)); }

    CoreTempDir dir;
};

} // namespace

TEST_F(LockManagerTest, LockAllHoldsRegisteredFilesAndRegisteringUnlocks)
{
    Locks().Register(dir.Sub("a.kpf"));
    Locks().Register(dir.Sub("a.kpf"));
    Locks().Register(dir.Sub("missing.kpf"));
    EXPECT_EQ(Locks().Paths().size(), 2u);
    Locks().LockAll();
    EXPECT_TRUE(Held("a.kpf"));
    EXPECT_EQ(NoShareFile::Open(dir.Sub("a.kpf")), NoShareFile::kInvalid); // another opener is refused
    EXPECT_EQ(Locks().Paths().at(dir.Sub("missing.kpf")), CFileLockManager::kInvalidHandle);
    Locks().Register(dir.Sub("b.kpf"));
    EXPECT_FALSE(Held("a.kpf"));
    Locks().LockAll();
    EXPECT_TRUE(Held("a.kpf"));
    EXPECT_TRUE(Held("b.kpf"));
    Locks().UnlockAll();
    EXPECT_FALSE(Held("a.kpf"));
    EXPECT_EQ(Locks().Paths().size(), 3u);
}

TEST_F(LockManagerTest, SlotsShareAPathUntilTheLastGoes)
{
    Locks().RegisterWithId(1, dir.Sub("a.kpf"));
    Locks().RegisterWithId(2, dir.Sub("a.kpf"));
    Locks().LockAll();
    Locks().UnregisterId(1);
    EXPECT_EQ(Locks().Paths().count(dir.Sub("a.kpf")), 1u);
    EXPECT_FALSE(Held("a.kpf")); // nothing is locked again until LockAll
    Locks().UnregisterId(99);
    Locks().UnregisterId(2);
    EXPECT_TRUE(Locks().Paths().empty());
}

TEST_F(LockManagerTest, PointingASlotElsewhereReleasesTheOldPath)
{
    Locks().RegisterWithId(1, dir.Sub("a.kpf"));
    Locks().RegisterWithId(2, dir.Sub("c.kpf"));
    Locks().RegisterWithId(1, dir.Sub("b.kpf"));
    Locks().RegisterWithId(3, dir.Sub("c.kpf"));
    Locks().RegisterWithId(2, dir.Sub("b.kpf")); // c.kpf stays: slot 3 still shows it
    Locks().LockAll();
    EXPECT_FALSE(Held("a.kpf"));
    EXPECT_TRUE(Held("b.kpf"));
    EXPECT_TRUE(Held("c.kpf"));
    EXPECT_EQ(Locks().Paths().count(dir.Sub("a.kpf")), 0u);
    Locks().RemoveAll();
    EXPECT_FALSE(Held("b.kpf"));
    EXPECT_TRUE(Locks().Slots().empty());
}

TEST_F(LockManagerTest, TwoSpellingsOfOneFileLockItOnce)
{
    std::filesystem::create_symlink(dir.Sub("a.kpf"), dir.Sub("A.kpf"));
    Locks().Register(dir.Sub("A.kpf"));
    Locks().Register(dir.Sub("a.kpf"));
    Locks().LockAll();
    int held = 0;
    for (const auto& [path, handle] : Locks().Paths()) {
        held += handle != CFileLockManager::kInvalidHandle ? 1 : 0;
    }
    EXPECT_EQ(held, 1);
    EXPECT_TRUE(Held("a.kpf"));
}
