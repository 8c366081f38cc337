// Every text id the program uses must be present, and not empty, in every shipped
// language file; the button labels and function texts of the shipped device definitions
// must be there too.
#include <gtest/gtest.h>

#include <set>

#include "app/app_config.h"
#include "app/ini_file.h"
#include "app/language_selection.h"
#include "app/language_text.h"
#include "app/text_ids.h"
#include "base/text.h"
#include "catalogue/device_catalogue.h"
#include "catalogue/device_definition.h"
#include "support/temp_home.h"

namespace corvane {
namespace {

const std::filesystem::path kData = test::ShippedDataDir();

std::filesystem::path LanguageFile(int language) {
  return kData / "language" / (IntToDecimal(language) + ".lan");
}

TEST(ShippedLanguageTest, TextIdListHasNoDuplicates) {
  std::set<int> seen;
  for (const TextIdName& text : kAllTextIds) {
    EXPECT_TRUE(seen.insert(text.id).second) << "duplicate id " << text.id << " " << text.name;
  }
}

TEST(ShippedLanguageTest, EverySelectableLanguageIsListedAndShipped) {
  const ApplicationConfig config = ReadApplicationConfig(kData);
  ASSERT_TRUE(config.loaded);
  EXPECT_EQ(config.caption, "Corvane");
  for (const SelectableLanguage& language : kSelectableLanguages) {
    EXPECT_EQ(config.languages.count(language.language_id), 1u) << language.language_id;
    EXPECT_TRUE(std::filesystem::is_regular_file(LanguageFile(language.language_id)))
        << language.language_id;
  }
  EXPECT_EQ(config.languages.size(), kSelectableLanguages.size());
}

TEST(ShippedLanguageTest, EveryUsedTextIdIsInEveryLanguageFile) {
  for (const SelectableLanguage& language : kSelectableLanguages) {
    const auto file = IniFile::Load(LanguageFile(language.language_id));
    ASSERT_TRUE(file) << LanguageFile(language.language_id);
    for (const TextIdName& text : kAllTextIds) {
      const auto value = file->Get(kLanguageSection, IntToDecimal(text.id));
      EXPECT_TRUE(value && !value->empty())
          << language.language_id << ".lan lacks text " << text.id << " (kText" << text.name << ")";
    }
    EXPECT_EQ(file->KeyCount(kLanguageSection), kTextIdCount)
        << language.language_id << ".lan holds ids that no code uses";
  }
}

TEST(ShippedLanguageTest, DefinitionFileTextIdsAreListedAndTranslated) {
  std::set<int> used;
  for (const TextIdName& text : kAllTextIds) used.insert(text.id);
  DeviceCatalogue catalogue;
  ASSERT_TRUE(catalogue.Load(kData));
  for (const CatalogEntry& model : catalogue.Models()) {
    const auto definition = LoadDeviceDefinition(DefinitionPath(kData, model.device_attr));
    ASSERT_TRUE(definition) << model.device_attr;
    for (const ButtonDefinition& button : definition->buttons) {
      EXPECT_EQ(used.count(button.name_id), 1u) << model.device_attr << " name " << button.name_id;
      EXPECT_EQ(used.count(button.func_desc_id), 1u)
          << model.device_attr << " func_desc " << button.func_desc_id;
    }
  }
}

TEST(ShippedLanguageTest, GeneratedNameWordsMatchTheDisplayRules) {
  // Default names are made from texts 61 and 351 in the language of the moment; the
  // English and simplified Chinese words are the ones the display rules recognise.
  LanguageText texts(kData);
  texts.SetLanguageId(1033);
  EXPECT_EQ(texts.Text(kTextProfile), "Profile");
  EXPECT_EQ(texts.Text(kTextMacroNameBase), "Custom");
  EXPECT_EQ(texts.Text(kTextCopy), "Copy");
  texts.SetLanguageId(2052);
  EXPECT_EQ(texts.Text(kTextProfile), "配置");
  EXPECT_EQ(texts.Text(kTextMacroNameBase), "自定义");
  EXPECT_EQ(texts.Text(kTextCopy), "复制");
}

}  // namespace
}  // namespace corvane
