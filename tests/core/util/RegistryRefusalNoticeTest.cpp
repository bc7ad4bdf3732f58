// A settings file that cannot be read is told to the user once, naming the file and the reason,
// from the program's own texts. (This test program refuses no other store, so the one refused
// here is the process's first.)
#include "core/util/CLangTable.h"
#include "core/util/RegistryRefusalNotice.h"
#include "platform/RegistryStore.h"
#include "tests/support/ScratchFolder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

TEST(RegistryRefusalNotice, NamesTheFirstRefusedFileAndItsReasonOnce)
{
    ASSERT_EQ(CLangTable::GetInstance()->Load(std::string(ZARN_SOURCE_DIR) + "/data/String.txt"), 1);
    EXPECT_EQ(RegistryRefusalNotice::Take(), "") << "nothing refused yet";

    ScratchFolder folder;
    const std::string fifo = folder.Path() + "/settings.reg";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    RegistryDocument doc;
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(RegistryStore(fifo).Load(&doc), RegStatus::BadStore);
    ::testing::internal::GetCapturedStderr();

    const std::string told = RegistryRefusalNotice::Take();
    EXPECT_EQ(told, FormatLangString(RegistryRefusalNotice::kTextMessage,
                                     {fifo, GetLangString(RegistryRefusalNotice::kTextNotRegularFile)}));
    EXPECT_NE(told.find(fifo), std::string::npos) << told;
    EXPECT_NE(told.find("not a regular file"), std::string::npos) << told;
    EXPECT_EQ(RegistryRefusalNotice::Take(), "") << "told once only";
}

TEST(FormatLangString, FillsEachPercentSInTurnAndKeepsOtherConversionsAsText)
{
    ASSERT_EQ(CLangTable::GetInstance()->Load(std::string(ZARN_SOURCE_DIR) + "/data/String.txt"), 1);
    // 10025 holds two "%s": the file and the reason.
    const std::string format = GetLangString(RegistryRefusalNotice::kTextMessage);
    ASSERT_NE(format.find("%s"), std::string::npos);
    const std::string filled = FormatLangString(RegistryRefusalNotice::kTextMessage, {"%d%n%s", "why."});
    EXPECT_NE(filled.find("%d%n%s"), std::string::npos) << "an argument is copied, never read as a format";
    EXPECT_NE(filled.find("why."), std::string::npos);
    EXPECT_EQ(FormatLangString(RegistryRefusalNotice::kTextMessage, {}).find('%'), std::string::npos);
}
