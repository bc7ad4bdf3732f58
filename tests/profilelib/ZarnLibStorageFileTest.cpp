#include "profilelib/ZarnLib_StorageFile.h"

#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <string>

#include "tests/support/ScratchFolder.h"

namespace {

void WriteBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

class ZarnLibStorageFileTest : public ::testing::Test {
protected:
    ScratchFolder folder;
    std::string existing = folder.File("existing.bin");
    std::string missing = folder.File("missing.bin");
    void SetUp() override { WriteBytes(existing, "0123456789"); }
};

} // namespace

TEST_F(ZarnLibStorageFileTest, CreateRefusesAnExistingFileAndOpenOrCreateTruncatesIt)
{
    ZarnLib_StorageFile f(ZarnLibString(existing.c_str()));
    EXPECT_EQ(f.Create(3), kStorageExists);
    EXPECT_FALSE(f.IsOpen());
    EXPECT_EQ(f.OpenOrCreate(3), kStorageOk);
    EXPECT_EQ(f.GetSize(), 0);
    EXPECT_EQ(f.Close(), kStorageOk);
    EXPECT_EQ(f.Close(), kStorageNotOpen);
}

TEST_F(ZarnLibStorageFileTest, OpenErrors)
{
    ZarnLib_StorageFile absent(ZarnLibString(missing.c_str()));
    EXPECT_EQ(absent.OpenOrCreate(1), kStorageMissing);
    EXPECT_FALSE(absent.Exists());
    for (int type : {0, 4}) {
        ZarnLib_StorageFile f(ZarnLibString(existing.c_str()));
        EXPECT_EQ(f.Open(type), kStorageBadOpenType);
        EXPECT_EQ(f.OpenOrCreate(type), kStorageBadOpenType);
        ZarnLib_StorageFile g(ZarnLibString(missing.c_str()));
        EXPECT_EQ(g.Create(type), kStorageBadOpenType);
    }
    ZarnLib_StorageFile f(ZarnLibString(existing.c_str()));
    ASSERT_EQ(f.Open(1), kStorageOk);
    EXPECT_EQ(f.Open(1), kStorageAlreadyOpen);
    EXPECT_EQ(f.Create(1), kStorageExists);
    EXPECT_TRUE(f.IsOpen());
    EXPECT_EQ(f.GetOpenType(), 1);
}

TEST_F(ZarnLibStorageFileTest, ShortReadAtEndOfFileAdvancesByWhatWasRead)
{
    ZarnLib_StorageFile f(ZarnLibString(existing.c_str()));
    ASSERT_EQ(f.Open(1), kStorageOk);
    char buffer[8];
    int count = 7;
    ASSERT_EQ(f.Read(buffer, &count), kStorageOk);
    EXPECT_EQ(f.GetPosition(), 7);
    count = 8;
    EXPECT_EQ(f.Read(buffer, &count), kStorageEndOfFile);
    EXPECT_EQ(count, 3);
    EXPECT_EQ(f.GetPosition(), 10);
    EXPECT_EQ(std::string(buffer, 3), "789");
    int done = 5;
    EXPECT_EQ(f.ReadRaw(buffer, 2, &done), kStorageShortRead);
    EXPECT_EQ(done, 0);
}

TEST_F(ZarnLibStorageFileTest, ClosedObjectReadsAndWritesFail)
{
    ZarnLib_StorageFile f(ZarnLibString(existing.c_str()));
    char buffer[4] = {};
    int count = 4;
    EXPECT_EQ(f.Read(buffer, &count), kStorageFailed);
    EXPECT_EQ(f.GetPosition(), -1);
    count = 4;
    EXPECT_EQ(f.Write(buffer, &count), kStorageFailed);
    EXPECT_EQ(f.ReadRaw(buffer, 4, nullptr), kStorageNotOpen);
    long position = 0;
    EXPECT_EQ(f.Tell(&position), kStorageNotOpen);
    long size = 0;
    EXPECT_EQ(f.GetSizeEx(&size), kStorageOk); // closed: the size of the file at the path
    EXPECT_EQ(size, 10);
    ZarnLib_StorageFile absent(ZarnLibString(missing.c_str()));
    EXPECT_EQ(absent.GetSizeEx(&size), kStorageStatFailed);
    EXPECT_EQ(absent.GetSize(), 0);
    EXPECT_EQ(absent.Remove(), kStorageRemoveFailed);
}

TEST_F(ZarnLibStorageFileTest, WriteReadAndOpenCount)
{
    const int before = ZarnLib_StorageFile::OpenCount();
    {
        std::unique_ptr<ZarnLib_StorageFile> f(CreateStorageFile(missing.c_str(), 0));
        ASSERT_EQ(f->OpenOrCreate(2), kStorageOk); // creates with "wb+"
        EXPECT_EQ(ZarnLib_StorageFile::OpenCount(), before + 1);
        int count = 5;
        ASSERT_EQ(f->Write("hello", &count), kStorageOk);
        EXPECT_EQ(f->GetPosition(), 5);
        long position = 0;
        EXPECT_EQ(f->Tell(&position), kStorageOk);
        EXPECT_EQ(position, 5);
    } // the destructor closes
    EXPECT_EQ(ZarnLib_StorageFile::OpenCount(), before);
    ZarnLib_StorageFile g(ZarnLibString(missing.c_str()));
    EXPECT_EQ(g.GetSize(), 5);
    ZarnLibString path;
    g.GetPath(&path);
    EXPECT_EQ(path.GetText(), missing);
    EXPECT_EQ(g.Remove(), kStorageOk);
    EXPECT_FALSE(g.Exists());
}

TEST(ZarnLibStorageFile, TranslationOfRawCodes)
{
    const int cases[][2] = {{0, 0},           {-10515, -10601}, {-10516, -10602}, {-10521, -10603},
                            {-10518, -10604}, {-10510, -10605}, {-10503, -10001}, {-1, -10001}};
    for (const auto& c : cases) {
        EXPECT_EQ(ZarnLib_StorageFile::TranslateError(c[0]), c[1]) << c[0];
    }
}
