// The application-information component: defaults, system answers and their failures, the error
// event, and the About box's texts and result.

#include <gtest/gtest.h>

#include <memory>
#include <regex>
#include <string>
#include <vector>

#include "components/LinuxSystemQueries.h"
#include "components/TMAXIM.h"
#include "logic/FakeSystemQueries.h"

namespace {

struct MaximFixture : ::testing::Test {
    std::shared_ptr<FakeSystemQueries> system = std::make_shared<FakeSystemQueries>();
};

TEST_F(MaximFixture, CreationGivesTheDefaults) {
    TMAXIM maxim(system);
    EXPECT_EQ(maxim.ErrorStatus(), "OK");
    EXPECT_EQ(maxim.aProjectName(), "PROJECT1");
    EXPECT_EQ(maxim.StringTag(), "AnyString");
    EXPECT_EQ(maxim.aVersion(), "0.01");
    EXPECT_EQ(maxim.aDesigner(), "Undefined");
    EXPECT_EQ(maxim.aProjectCode(), "Undefined");
    EXPECT_EQ(maxim.aMyCompany(), "My Company");
    EXPECT_EQ(maxim.aClientCompany(), "Undefined");
    EXPECT_EQ(maxim.aProgrammer(), "Undefined");
    EXPECT_EQ(maxim.aProjectLeader(), "Undefined");
    EXPECT_EQ(maxim.aDescription(), "Program Description String");
    EXPECT_EQ(maxim.aProductname(), "Undefined");
    EXPECT_EQ(maxim.aDistribution(), DType::MULTIDIST);
    EXPECT_EQ(maxim.DebugMode(), TDebugModeType::OFF);
    EXPECT_EQ(maxim.SplashBoxColour(), TSplashBoxType::WHITE);
    EXPECT_EQ(maxim.SplashBoxDelay(), TSplashBoxWaitType::MEDIUM);
    EXPECT_FALSE(maxim.EnableErrorEvent());
    EXPECT_FALSE(maxim.ShowProgressForm());
    EXPECT_TRUE(maxim.WinIsNetEnabled());

    // The last edit date is the time of creation; the copyright notice is built from it.
    EXPECT_TRUE(std::regex_match(maxim.aLastEditDate(), std::regex(R"(\d\d:\d\d:\d\d)")))
        << maxim.aLastEditDate();
    EXPECT_EQ(maxim.aCopyright(), "(c)" + maxim.aLastEditDate() + " (My Company)");

    EXPECT_EQ(maxim.WinDir(), "/home/player/.local/share/realtopia");
    EXPECT_EQ(maxim.SysDir(), "/usr/lib");
    EXPECT_EQ(maxim.ScreenWidth(), 1024);
    EXPECT_EQ(maxim.ScreenHeight(), 768);

    // The end of loading puts the debug mode back to OFF.
    maxim.SetDebugMode(TDebugModeType::NITPICKING);
    maxim.Loaded();
    EXPECT_EQ(maxim.DebugMode(), TDebugModeType::OFF);
}

TEST_F(MaximFixture, FailingQueriesGiveFallbacksAndStatusTexts) {
    system->networkAbsent = true;
    system->screenHeight = std::nullopt;
    TMAXIM maxim(system);
    // Only the last failure of creation is left in the status.
    EXPECT_EQ(maxim.ErrorStatus(), "Could not get ScreenHeight");
    EXPECT_FALSE(maxim.WinIsNetEnabled());

    system->windowsDirectory = std::nullopt;
    EXPECT_EQ(maxim.WinDir(), "unknown");
    EXPECT_EQ(maxim.ErrorStatus(), "No Windows directory");

    system->systemDirectory = std::nullopt;
    EXPECT_EQ(maxim.SysDir(), "unknown");
    EXPECT_EQ(maxim.ErrorStatus(), "No System directory");

    system->screenWidth = std::nullopt;
    EXPECT_EQ(maxim.ScreenWidth(), 0);
    EXPECT_EQ(maxim.ErrorStatus(), "Could not get ScreenWidth");

    system->displayColours = std::nullopt;
    EXPECT_EQ(maxim.NumColours(), 0);
    EXPECT_EQ(maxim.ErrorStatus(), "Could not get NumColours");

    // A palette display whose palette size cannot be read fails too.
    maxim.SetErrorStatus("OK");
    system->displayColours = 16;
    system->hasPalette = true;
    system->paletteSize = std::nullopt;
    EXPECT_EQ(maxim.NumColours(), 0);
    EXPECT_EQ(maxim.ErrorStatus(), "Could not get NumColours");
}

TEST_F(MaximFixture, AFailureDuringCreationStillCreatesTheComponent) {
    system->throwOnVersion = true;
    TMAXIM maxim(system);
    EXPECT_EQ(maxim.ErrorStatus(), "Could not create instance");
    EXPECT_EQ(maxim.aProductname(), "Undefined");
}

TEST_F(MaximFixture, ColourCountAboveAPaletteReadsAs32760) {
    TMAXIM maxim(system);
    const std::vector<std::pair<int, int>> cases = {{2, 2},       {16, 16},       {256, 256},
                                                    {257, 32760}, {65536, 32760}, {16777216, 32760},
                                                    {-1, 32760},  {0, 0}};
    for (const auto& [reported, expected] : cases) {
        system->displayColours = reported;
        EXPECT_EQ(maxim.NumColours(), expected) << "display reports " << reported;
    }

    // A palette display answers with its palette size instead.
    system->displayColours = 16777216;
    system->hasPalette = true;
    system->paletteSize = 236;
    EXPECT_EQ(maxim.NumColours(), 236);
    system->paletteSize = 4096;
    EXPECT_EQ(maxim.NumColours(), 32760);
    EXPECT_EQ(maxim.ErrorStatus(), "OK");
}

TEST_F(MaximFixture, VersionKeepsSixteenBitNumbersAndMapsTheFamily) {
    system->version = ISystemQueries::VersionRecord{4, 10, 0x0004'0A98ul, 1, " A ", ""};
    TMAXIM maxim(system);
    EXPECT_EQ(maxim.WinVersion(), "4.10.2712");  // 0x40A98 keeps 0x0A98
    EXPECT_EQ(maxim.WinVerExtraInfo(), " A ");
    EXPECT_EQ(maxim.WinOperatingSystem(), ostype::WIN95);
    EXPECT_EQ(maxim.WinPlatFormID(), TPlatFormIDType::WIN32_ON_WIN95);

    // Each reading detects afresh.
    system->version = ISystemQueries::VersionRecord{5, 1, 0x1234'ABCDul, 2, "Service Pack 3", ""};
    EXPECT_EQ(maxim.WinVersion(), "5.1.43981");
    EXPECT_EQ(maxim.WinVerExtraInfo(), "Service Pack 3");
    EXPECT_EQ(maxim.WinOperatingSystem(), ostype::WINNT);
    EXPECT_EQ(maxim.WinPlatFormID(), TPlatFormIDType::WIN32_ON_NT);

    system->version = ISystemQueries::VersionRecord{3, 95, 0, 0, "", ""};
    EXPECT_EQ(maxim.WinOperatingSystem(), ostype::WIN31);
    EXPECT_EQ(maxim.WinPlatFormID(), TPlatFormIDType::WIN32S_ON_WIN31);

    // A non-Windows host is WINOTHER; the platform id stays as it was.
    system->version = ISystemQueries::VersionRecord{
        6, 1, 0, ISystemQueries::kNonWindowsFamily, std::string(200, 'x'), "Linux 6.1.0"};
    EXPECT_EQ(maxim.WinOperatingSystem(), ostype::WINOTHER);
    EXPECT_EQ(maxim.WinPlatFormID(), TPlatFormIDType::WIN32S_ON_WIN31);
    EXPECT_EQ(maxim.WinVerExtraInfo(), std::string(128, 'x'));

    // Major and minor are 16-bit too.
    system->version = ISystemQueries::VersionRecord{0x10006, 0x10001, 7, 2, "", ""};
    EXPECT_EQ(maxim.WinVersion(), "6.1.7");
}

TEST_F(MaximFixture, AnUnknownFamilyLeavesTheCreationValues) {
    system->version = ISystemQueries::VersionRecord{1, 2, 3, 7, "", ""};
    TMAXIM maxim(system);
    EXPECT_EQ(maxim.WinOperatingSystem(), ostype::WIN30);
    EXPECT_EQ(maxim.WinPlatFormID(), TPlatFormIDType::WIN32S_ON_WIN31);
    EXPECT_EQ(maxim.WinVersion(), "1.2.3");
    EXPECT_EQ(maxim.AboutBoxContent().Host, "Windows 3.0");
}

TEST_F(MaximFixture, ErrorEventFiresOnlyWhenEnabledForANewText) {
    TMAXIM maxim(system);
    std::vector<std::string> seen;
    maxim.SetOnErrorStatus_Change(
        [&seen](TMAXIM& sender) { seen.push_back(sender.ErrorStatus()); });

    maxim.SetErrorStatus("Disabled");
    EXPECT_EQ(maxim.ErrorStatus(), "Disabled");
    EXPECT_TRUE(seen.empty());

    maxim.SetEnableErrorEvent(true);
    maxim.SetErrorStatus("Disabled");  // same text: nothing happens
    EXPECT_TRUE(seen.empty());
    maxim.SetErrorStatus("First");
    maxim.SetErrorStatus("First");
    maxim.SetErrorStatus("OK");  // stored but not announced
    EXPECT_EQ(maxim.ErrorStatus(), "OK");
    maxim.SetErrorStatus("Second");
    EXPECT_EQ(seen, (std::vector<std::string>{"First", "Second"}));

    // A failing query raises the event like any other text.
    system->screenWidth = std::nullopt;
    maxim.ScreenWidth();
    EXPECT_EQ(seen.back(), "Could not get ScreenWidth");
}

TEST_F(MaximFixture, AboutBoxShowsTheRecordAndReportsOnlyOk) {
    TMAXIM maxim(system);
    maxim.SetaProductname("The Realtopia Game");
    maxim.SetaVersion("20001024.0");
    maxim.SetaDescription("Feel free to email this game to all your friends");

    EXPECT_FALSE(maxim.ShowAboutBox()) << "no front end attached";

    std::vector<TAboutBoxContent> shown;
    bool answer = true;
    maxim.SetAboutBoxPresenter([&](const TAboutBoxContent& content) {
        shown.push_back(content);
        return answer;
    });
    EXPECT_TRUE(maxim.ShowAboutBox());
    answer = false;
    EXPECT_FALSE(maxim.ShowAboutBox());
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].Caption, "About");
    EXPECT_EQ(shown[0].Product, "The Realtopia Game");
    EXPECT_EQ(shown[0].Version, "20001024.0");
    EXPECT_EQ(shown[0].Host, "Linux 6.1.0");
    EXPECT_EQ(shown[0].Comments, "Feel free to email this game to all your friends");
}

TEST_F(MaximFixture, HostLineNamesTheFamilyLastDetected) {
    system->version = ISystemQueries::VersionRecord{4, 0, 950, 1, "", ""};
    TMAXIM maxim(system);
    EXPECT_EQ(maxim.AboutBoxContent().Host, "Windows 95");
    system->version = ISystemQueries::VersionRecord{4, 0, 1381, 2, "", ""};
    EXPECT_EQ(maxim.AboutBoxContent().Host, "Windows 95") << "not detected again yet";
    maxim.WinOperatingSystem();
    EXPECT_EQ(maxim.AboutBoxContent().Host, "Windows NT");

    // A non-Windows host without a name falls back to the generic text.
    system->version =
        ISystemQueries::VersionRecord{1, 0, 0, ISystemQueries::kNonWindowsFamily, "", ""};
    maxim.WinOperatingSystem();
    EXPECT_EQ(maxim.AboutBoxContent().Host, "Unknown OS");

    EXPECT_EQ(TMAXIM::OperatingSystemName(ostype::WIN30), "Windows 3.0");
    EXPECT_EQ(TMAXIM::OperatingSystemName(ostype::WIN31), "Windows 3.1");
    EXPECT_EQ(TMAXIM::OperatingSystemName(ostype::WIN311), "Windows 3.11/Workgroups");
    EXPECT_EQ(TMAXIM::OperatingSystemName(ostype::WINOTHER), "Unknown OS");
    EXPECT_EQ(TMAXIM::OperatingSystemName(ostype::WIN32), "");
}

TEST(LinuxSystemQueries, ReadsTheKernelReleaseAndDataDirectory) {
    auto record = LinuxSystemQueries::VersionFromUname("Linux", "6.1.0-18-amd64", "#1 SMP");
    EXPECT_EQ(record.major, 6u);
    EXPECT_EQ(record.minor, 1u);
    EXPECT_EQ(record.build, 0ul);
    EXPECT_EQ(record.platformFamily, ISystemQueries::kNonWindowsFamily);
    EXPECT_EQ(record.extra, "#1 SMP");
    EXPECT_EQ(record.hostName, "Linux 6.1.0");

    record = LinuxSystemQueries::VersionFromUname("Linux", "5.15.0.1-custom", "");
    EXPECT_EQ(record.build, 0ul);
    EXPECT_EQ(record.hostName, "Linux 5.15.0");
    record = LinuxSystemQueries::VersionFromUname("Darwin", "23.4", "");
    EXPECT_EQ(record.minor, 4u);
    EXPECT_EQ(record.hostName, "Darwin 23.4");
    record = LinuxSystemQueries::VersionFromUname("Linux", "6.8.12", "");
    EXPECT_EQ(record.build, 12ul);
    record = LinuxSystemQueries::VersionFromUname("Plan9", "beta", "");
    EXPECT_EQ(record.hostName, "Plan9");

    EXPECT_EQ(LinuxSystemQueries::DataDirectoryFrom("/xdg", "/home/p"), "/xdg/realtopia");
    EXPECT_EQ(LinuxSystemQueries::DataDirectoryFrom("relative", "/home/p"),
              "/home/p/.local/share/realtopia");
    EXPECT_EQ(LinuxSystemQueries::DataDirectoryFrom(nullptr, "/home/p"),
              "/home/p/.local/share/realtopia");
    EXPECT_EQ(LinuxSystemQueries::DataDirectoryFrom(nullptr, nullptr), std::nullopt);
}

TEST(LinuxSystemQueries, DisplayAnswersComeFromTheHooks) {
    LinuxSystemQueries queries;
    EXPECT_EQ(queries.ScreenWidth(), std::nullopt);
    EXPECT_EQ(queries.DisplayColours(), std::nullopt);
    queries.SetDisplayHooks({[] { return std::optional<int>(800); },
                             [] { return std::optional<int>(600); },
                             [] { return std::optional<int>(-1); }});
    EXPECT_EQ(queries.ScreenWidth(), 800);
    EXPECT_EQ(queries.ScreenHeight(), 600);

    // Through the component, a true-colour display counts as 32760 colours.
    TMAXIM maxim(std::make_shared<LinuxSystemQueries>(queries));
    EXPECT_EQ(maxim.NumColours(), 32760);
    EXPECT_EQ(maxim.ScreenWidth(), 800);
    EXPECT_EQ(maxim.WinOperatingSystem(), ostype::WINOTHER);
}

}  // namespace
