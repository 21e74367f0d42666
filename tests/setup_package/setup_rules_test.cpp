// The stand-in setup package's reading of its command line and variants.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "setup_options.h"
#include "setup_variant.h"

namespace {

TEST(SetupOptionsTest, ArgumentsSplitAsInnoSetupSplitsThem) {
  struct Case {
    const wchar_t* line;
    std::vector<std::wstring> arguments;
  };
  const Case cases[] = {
      {L"\"C:\\a b\\setup.exe\" /SILENT /VERYSILENT /SP- /noicons -nowelcome /DIR=\"C:\\Program "
       L"Files\\Tessaro\"",
       {L"/SILENT", L"/VERYSILENT", L"/SP-", L"/noicons", L"-nowelcome",
        L"/DIR=C:\\Program Files\\Tessaro"}},
      {L"setup.exe /DIR=\"C:\\x y\\\" -nowelcome", {L"/DIR=C:\\x y\\", L"-nowelcome"}},
      {L"setup.exe  \t\"/DIR=C:\\q\"  ", {L"/DIR=C:\\q"}},
      {L"setup.exe", {}},
      {L"", {}},
  };
  for (const Case& c : cases) EXPECT_EQ(SplitSetupArguments(c.line), c.arguments) << c.line;
}

TEST(SetupOptionsTest, SwitchesIgnoreCaseAndUnknownArguments) {
  const SetupOptions declined =
      ParseSetupOptions({L"/silent", L"/SP-", L"/NOICONS", L"-NoExperience", L"-nowelcome", L"/LOG",
                         L"/dir=D:\\T\\\\"});
  EXPECT_TRUE(declined.silent);
  EXPECT_TRUE(declined.noIcons);
  EXPECT_FALSE(declined.joinPlan);
  EXPECT_FALSE(declined.showWelcome);
  EXPECT_EQ(declined.dir, L"D:\\T");

  const SetupOptions manual = ParseSetupOptions({L"/SP-", L"/DIR=C:\\"});
  EXPECT_FALSE(manual.silent);
  EXPECT_TRUE(manual.joinPlan);
  EXPECT_TRUE(manual.showWelcome);
  EXPECT_EQ(manual.dir, L"C:\\");

  EXPECT_TRUE(ParseSetupOptions({L"/VERYSILENT"}).silent);
  EXPECT_TRUE(IsFullPath(L"C:\\Tessaro"));
  EXPECT_TRUE(IsFullPath(L"\\\\server\\share"));
  EXPECT_FALSE(IsFullPath(L"Tessaro"));
  EXPECT_FALSE(IsFullPath(L"C:Tessaro"));
}

TEST(SetupVariantTest, WordsGiveRunTimeAndOutcome) {
  struct Case {
    const wchar_t* text;
    bool valid;
    DWORD runMs;
    SetupVariant::Outcome outcome;
    DWORD exitCode;
  };
  using Outcome = SetupVariant::Outcome;
  const Case cases[] = {
      {L"", true, 0, Outcome::Install, 0},
      {L"run=2500", true, 2500, Outcome::Install, 0},
      {L"exit=2", true, 0, Outcome::Exit, 2},
      {L"exit=0xC0000005", true, 0, Outcome::Exit, 0xC0000005},
      {L"  run=100   exit=7 ", true, 100, Outcome::Exit, 7},
      {L"crash", true, 0, Outcome::Crash, 0},
      {L"exit=", false, 0, Outcome::Exit, 0},
      {L"run=soon", false, 0, Outcome::Install, 0},
      {L"explode", false, 0, Outcome::Install, 0},
  };
  for (const Case& c : cases) {
    SetupVariant variant;
    EXPECT_EQ(ParseSetupVariant(c.text, variant), c.valid) << c.text;
    if (!c.valid) continue;
    EXPECT_EQ(variant.runMs, c.runMs) << c.text;
    EXPECT_EQ(variant.outcome, c.outcome) << c.text;
    EXPECT_EQ(variant.exitCode, c.exitCode) << c.text;
  }
}

}  // namespace
