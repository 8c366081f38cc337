// Version ordering, the firmware version's shown form and the package names.

#include "update/version_compare.h"

#include <gtest/gtest.h>

#include "update/update_install.h"
#include "update/version_check.h"

namespace corvane {
namespace {

TEST(VersionCompareTest, PartsCompareAsNumbersNotText) {
  EXPECT_EQ(compare("1.0.2", "1.0.10"), 1);
  EXPECT_EQ(compare("1.0.10", "1.0.2"), -1);
  EXPECT_EQ(compare("1.1.0", "1.0.9"), -1);
  EXPECT_EQ(compare("104", "105"), 1);
  EXPECT_EQ(compare("1.0.2", "1.0.2"), 0);
}

TEST(VersionCompareTest, DifferentShapesAlwaysOfferTheOtherSide) {
  EXPECT_EQ(compare("1.0.2", "1.1"), 2);
  EXPECT_EQ(compare("1.1", "1.0.2"), 2);
  // A trailing point adds an empty part, so the shapes differ.
  EXPECT_EQ(compare("1.0", "1.0."), 2);
}

TEST(VersionCompareTest, PartsAreReadUpToTheirFirstNonDigit) {
  EXPECT_EQ(compare("1.0.2", "1.0.2\n"), 0);
  EXPECT_EQ(compare("1.0.2", "1.0.2beta"), 0);
  EXPECT_EQ(compare("1.0.1", "1.0.x"), -1);  // text part reads as 0
  EXPECT_EQ(compare("1.0.", "1.0.1"), 1);    // empty part reads as 0
  EXPECT_EQ(compare("", ""), 0);
}

TEST(VersionCompareTest, FirmwareVersionShowsFirstAndLastTwoCharacters) {
  EXPECT_EQ(FirmwareDisplayVersion("105"), "1.05");
  EXPECT_EQ(FirmwareDisplayVersion("1234"), "1.34");
  EXPECT_EQ(FirmwareDisplayVersion("7"), "7.7");  // short texts must not read past their end
  EXPECT_EQ(FirmwareDisplayVersion(""), "");
  const std::string e_acute = "\xC3\xA9";  // two bytes, one character
  EXPECT_EQ(FirmwareDisplayVersion(e_acute + "12"), e_acute + ".12");
}

TEST(PackageNamesTest, VersionTextIsUsedVerbatim) {
  EXPECT_EQ(SoftwarePackageName("1.0.3"), "Mouse-Setup-1.0.3.zip");
  EXPECT_EQ(SoftwareInstallerName("1.0.3"), "Mouse-Setup-1.0.3.exe");
  EXPECT_EQ(SoftwarePackageAddress("http://h/up", "1.0.3"), "http://h/up//Mouse-Setup-1.0.3.zip");
  EXPECT_EQ(FirmwarePackageName("105"), "firmware-105.zip");
  EXPECT_EQ(FirmwareImageName("105"), "firmware-105.bin");
  EXPECT_EQ(FirmwarePackageAddress("http://h/fw", "105"), "http://h/fw//mouse//firmware-105.zip");
  EXPECT_EQ(UpdateTempFolder("/d/C Files"), std::filesystem::path("/d/C Files/temp"));
}

TEST(PackageNamesTest, VersionsThatWouldLeaveTheFolderAreUnsafe) {
  EXPECT_TRUE(IsFileNameSafeVersion("1.0.3"));
  EXPECT_TRUE(IsFileNameSafeVersion("1.0.3\n"));
  EXPECT_FALSE(IsFileNameSafeVersion(""));
  EXPECT_FALSE(IsFileNameSafeVersion("/../../x"));
  EXPECT_FALSE(IsFileNameSafeVersion("..\\x"));
  EXPECT_FALSE(IsFileNameSafeVersion(std::string{'1', '\0', '2'}));
}

}  // namespace
}  // namespace corvane
