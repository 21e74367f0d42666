// The main window's page switching with the real skin: the reminder's small
// window growing to the page size, page requests that change nothing, the
// install folder handed between the start and custom pages, and a first-page
// choice that fails.
#include <gtest/gtest.h>

#include <windows.h>

#include <stdexcept>

#include "app/global_settings.h"
#include "app/single_instance.h"
#include "pages/custome_view.h"
#include "pages/main_window.h"
#include "pages/reminder_view.h"
#include "sys/system_library.h"

namespace {

class PagesEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    // The installer loads GDI+ from the system folder before its first use.
    ASSERT_NE(SystemLibrary(L"gdiplus.dll"), nullptr);
    CreateGlobalSettings();
  }
  void TearDown() override { DeleteGlobalSettings(); }
};
const auto* const environment = ::testing::AddGlobalTestEnvironment(new PagesEnvironment);

constexpr wchar_t INSTALLED_FOLDER[] = L"C:\\Tools\\App";

FirstPageChoice Reminder(HWND) {
  FirstPageChoice choice;
  choice.installPath = INSTALLED_FOLDER;
  choice.installedAppPath = L"C:\\Tools\\App\\Tessaro.exe";
  choice.page = PAGE_REMINDER;
  return choice;
}

SIZE SizeOf(HWND window) {
  RECT rect{};
  ::GetWindowRect(window, &rect);
  return SIZE{rect.right - rect.left, rect.bottom - rect.top};
}

TEST(MainWindowTest, ReminderGrowsToTheStartPageCentredAgain) {
  MainWindow window(&Reminder);
  EXPECT_EQ(window.currentPage, PAGE_REMINDER);
  EXPECT_EQ(SizeOf(window.hwnd).cx, 400);
  EXPECT_EQ(SizeOf(window.hwnd).cy, 200);
  auto& reminder = static_cast<CReminderView&>(*window.views[PAGE_REMINDER]);
  EXPECT_EQ(reminder.installedAppPath, L"C:\\Tools\\App\\Tessaro.exe");

  // Requests for no page or for the page on screen change nothing.
  for (WPARAM page : {WPARAM{5}, WPARAM{99}, static_cast<WPARAM>(-1), WPARAM{PAGE_REMINDER}}) {
    ::SendMessageW(window.hwnd, WM_SWITCH_PAGE, page, 0);
    EXPECT_EQ(window.currentPage, PAGE_REMINDER) << page;
    EXPECT_EQ(window.activeView, window.views[PAGE_REMINDER].get());
  }
  EXPECT_EQ(SizeOf(window.hwnd).cx, 400);
  EXPECT_FALSE(window.ShowPage(PAGE_COUNT));

  ::SendMessageW(window.hwnd, WM_SWITCH_PAGE, PAGE_START, 0);
  EXPECT_EQ(window.currentPage, PAGE_START);
  EXPECT_EQ(window.activeView, window.views[PAGE_START].get());
  RECT rect{};
  RECT work{};
  ::GetWindowRect(window.hwnd, &rect);
  ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  EXPECT_EQ(rect.right - rect.left, 600);
  EXPECT_EQ(rect.bottom - rect.top, 400);
  EXPECT_EQ(rect.left, work.right / 2 - 300);
  EXPECT_EQ(rect.top, work.bottom / 2 - 200);
}

TEST(MainWindowTest, TheInstallFolderGoesToTheCustomPageAndComesBack) {
  MainWindow window(&Reminder);
  ASSERT_TRUE(window.ShowPage(PAGE_START));
  ASSERT_TRUE(window.ShowPage(PAGE_CUSTOM));
  auto& custom = static_cast<CCustomeView&>(*window.views[PAGE_CUSTOM]);
  // The installed program's folder is offered as it is ...
  EXPECT_EQ(custom.path, INSTALLED_FOLDER);
  // ... and a folder chosen afterwards gets the product folders.
  custom.SetPath(L"C:\\Other");
  ASSERT_TRUE(window.ShowPage(PAGE_START));
  EXPECT_EQ(window.installPath, L"C:\\Other\\Orvane\\Tessaro");

  // Coming back with the page still showing that folder keeps the rule.
  ASSERT_TRUE(window.ShowPage(PAGE_CUSTOM));
  EXPECT_EQ(custom.path, L"C:\\Other\\Orvane\\Tessaro");
  custom.SetPath(L"C:\\Third");
  EXPECT_EQ(custom.path, L"C:\\Third\\Orvane\\Tessaro");
}

TEST(MainWindowTest, AFailingFirstPageChoiceLeavesNoWindow) {
  const auto failing = [](HWND) -> FirstPageChoice { throw std::runtime_error("Get DefaultPath error"); };
  EXPECT_THROW(MainWindow window(failing), std::runtime_error);
  EXPECT_EQ(::FindWindowW(MAIN_WINDOW_CLASS, nullptr), nullptr);
}

}  // namespace
