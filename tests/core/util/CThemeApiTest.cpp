#include "core/util/CThemeApi.h"

#include <gtest/gtest.h>

namespace {

class ThemeApiTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        CThemeApi::Free();
        CThemeApi::SetLibraryName(CThemeApi::kDefaultLibraryName);
    }
};

} // namespace

TEST_F(ThemeApiTest, MissingLibraryLeavesEveryEntryNull)
{
    CThemeApi::SetLibraryName("/nonexistent/libnotheme.so");
    CThemeApi* api = CThemeApi::GetInstance();
    api->Load();
    EXPECT_FALSE(api->HasLibrary());
    EXPECT_EQ(api->EnableThemeDialogTexture, nullptr);
    EXPECT_EQ(api->IsThemeDialogTextureEnabled, nullptr);
    EXPECT_EQ(api->OpenThemeData, nullptr);
    EXPECT_EQ(api->DrawThemeBackground, nullptr);
    EXPECT_EQ(api->CloseThemeData, nullptr);
    EXPECT_EQ(api->DrawThemeParentBackground, nullptr);
}

TEST_F(ThemeApiTest, LoadsTheEntriesTheLibraryExportsAndFreeStartsAfresh)
{
    CThemeApi::SetLibraryName(ZARN_TEST_THEME_LIBRARY);
    CThemeApi* api = CThemeApi::GetInstance();
    api->Load();
    ASSERT_TRUE(api->HasLibrary());
    ASSERT_NE(api->EnableThemeDialogTexture, nullptr);
    EXPECT_EQ(api->EnableThemeDialogTexture(nullptr, 6), 106);
    int window = 0;
    ASSERT_NE(api->OpenThemeData, nullptr);
    EXPECT_EQ(api->OpenThemeData(&window, u"TAB"), &window);
    EXPECT_NE(api->CloseThemeData, nullptr);
    EXPECT_EQ(api->IsThemeDialogTextureEnabled, nullptr);
    EXPECT_EQ(api->DrawThemeBackground, nullptr);
    EXPECT_EQ(api->DrawThemeParentBackground, nullptr);

    CThemeApi::Free();
    CThemeApi* fresh = CThemeApi::GetInstance();
    EXPECT_FALSE(fresh->HasLibrary());
    EXPECT_EQ(fresh->EnableThemeDialogTexture, nullptr);
}
