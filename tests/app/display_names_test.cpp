// Generated profile and macro names shown in the current language.
#include "app/display_names.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

TEST(DisplayNamesTest, DefaultProfileNamesTakeTheCurrentWord) {
  EXPECT_EQ(DisplayProfileName("Profile 2", "プロファイル"), "プロファイル  2");
  EXPECT_EQ(DisplayProfileName("配置 3", "Profile"), "Profile  3");
  EXPECT_EQ(DisplayProfileName("My setup", "Profile"), "My setup");
  EXPECT_EQ(DisplayProfileName("profile 1", "配置"), "profile 1");  // case matters
  EXPECT_EQ(DisplayProfileName(" 1", "配置"), " 1");  // made while text 61 was missing
}

TEST(DisplayNamesTest, MacroListRenamesDefaultPrefixAndCopySuffix) {
  EXPECT_EQ(DisplayMacroName("Custom1 Copy", "自定义", "复制"), "自定义1  复制");
  EXPECT_EQ(DisplayMacroName("自定义 2", "Custom", "Copy"), "Custom 2");
  EXPECT_EQ(DisplayMacroName("Burst 复制", "Custom", "Copy"), "Burst  Copy");
  EXPECT_EQ(DisplayMacroName("Copy of Copy", "Custom", "Kopie"), " Kopie");  // first occurrence
  EXPECT_EQ(DisplayMacroName("Reload", "Custom", "Copy"), "Reload");
  // The list knows only the English and simplified Chinese words.
  EXPECT_EQ(DisplayMacroName("カスタム 1", "Custom", "Copy"), "カスタム 1");
}

TEST(DisplayNamesTest, AssignmentDescriptionsKnowTheirWordsAndNoOthers) {
  const auto rule = MacroNameRule::kAssignment;
  EXPECT_EQ(DisplayMacroName("カスタム 1", "Custom", "Copy", rule), "Custom 1");
  EXPECT_EQ(DisplayMacroName("自定義 1 複製", "Custom", "Copy", rule), "Custom 1  Copy");
  EXPECT_EQ(DisplayMacroName("Пользовательский 1", "Custom", "Copy", rule), "Customельский 1");
  EXPECT_EQ(DisplayMacroName("Run Копировать", "Custom", "Copy", rule), "Run  Copy");
  // Words of other languages are the user's own and stay as typed.
  for (const char* name : {"Користувацький 4 Копіювати", "사용자 2", "Jump 복사", "Dash コピー"}) {
    EXPECT_EQ(DisplayMacroName(name, "Custom", "Copy", rule), name);
  }
}

}  // namespace
}  // namespace corvane
