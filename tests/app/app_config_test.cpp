// The config.xml application section: caption and language set, element order rules and
// what a missing or malformed file leaves.
#include "app/app_config.h"

#include <gtest/gtest.h>

#include "app/app_folders.h"
#include "support/temp_home.h"

namespace corvane {
namespace {

using test::TempHome;
using test::WriteFileBytes;

class AppConfigTest : public ::testing::Test {
 protected:
  ApplicationConfig Read(const std::string& xml) {
    EXPECT_TRUE(WriteFileBytes(home_.Root() / "config.xml", xml));
    return ReadApplicationConfig(home_.Root());
  }
  TempHome home_;
};

TEST_F(AppConfigTest, ReadsCaptionDefaultLanguageAndLanguageSet) {
  const ApplicationConfig config = Read(
      "<config><language.info default_lan=\"2052\"><lan value=\"2052\"/><lan value=\"1033\"/>"
      "<lan value=\"1033\"/></language.info><device/><software caption=\"Mouse &amp; Co\"/>"
      "</config>");
  EXPECT_TRUE(config.loaded);
  EXPECT_EQ(config.caption, "Mouse & Co");
  EXPECT_EQ(config.default_language, 2052);
  EXPECT_EQ(config.languages, (std::set<int>{1033, 2052}));
}

TEST_F(AppConfigTest, SoftwareBeforeLanguageInfoIsNotFound) {
  const ApplicationConfig config = Read(
      "<config><software caption=\"Early\"/><language.info><lan value=\"1041\"/>"
      "</language.info></config>");
  EXPECT_EQ(config.caption, kDefaultCaption);
  EXPECT_EQ(config.languages, (std::set<int>{1041}));
}

TEST_F(AppConfigTest, CaptionIsReadWithoutLanguageInfoAndMayBeEmpty) {
  EXPECT_EQ(Read("<config><software caption=\"Solo\"/></config>").caption, "Solo");
  const ApplicationConfig empty = Read("<config><software caption=\"\"/></config>");
  EXPECT_TRUE(empty.caption.empty());
  EXPECT_TRUE(empty.languages.empty());
}

TEST_F(AppConfigTest, NonNumericLanguageAddsZero) {
  const ApplicationConfig config =
      Read("<config><language.info><lan value=\"english\"/><lan/></language.info></config>");
  EXPECT_EQ(config.languages, (std::set<int>{0}));
}

TEST_F(AppConfigTest, MissingMalformedOrForeignFilesGiveDefaults) {
  ApplicationConfig missing = ReadApplicationConfig(home_.Root() / "nowhere");
  EXPECT_FALSE(missing.loaded);
  EXPECT_EQ(missing.caption, kDefaultCaption);
  for (const char* xml : {"<config><software caption=\"X\"></config>",
                          "<settings><software caption=\"X\"/></settings>", ""}) {
    const ApplicationConfig config = Read(xml);
    EXPECT_FALSE(config.loaded) << xml;
    EXPECT_EQ(config.caption, kDefaultCaption) << xml;
    EXPECT_TRUE(config.languages.empty()) << xml;
  }
}

}  // namespace
}  // namespace corvane
