// The skin manager: unpacking the embedded archive into the work folder, the
// reuse of an images folder or archive left there, look-ups by exact name,
// one image object per picture, and the events of every outcome.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "support/temp_folder.h"
#include "ui/resource_manager.h"
#include "ui_test_support.h"

namespace {

using Summary = std::vector<std::string>;

const std::string START = "vResourceMgrStart";
const std::string CREATED = "vResourceStatus:创建资源成功";
const std::string FAILED = "vResourceStatus:创建资源失败";
const std::string NOT_FOUND = "vResourceError:获取指定资源失败";
const std::string UNPACK = "vResourceError:资源解压失败";

// A module without the skin resource.
HMODULE ModuleWithoutSkin() { return ::GetModuleHandleW(L"kernel32.dll"); }

// The archive this program carries, as bytes.
std::string EmbeddedArchive() {
  HMODULE self = ::GetModuleHandleW(nullptr);
  HRSRC found = ::FindResourceW(self, MAKEINTRESOURCEW(SKIN_RESOURCE_ID), SKIN_RESOURCE_TYPE);
  if (found == nullptr) return std::string();
  const auto* data = static_cast<const char*>(::LockResource(::LoadResource(self, found)));
  return std::string(data, ::SizeofResource(self, found));
}

size_t FilesIn(const std::wstring& folder) {
  WIN32_FIND_DATAW data{};
  HANDLE find = ::FindFirstFileW((folder + L"*").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return 0;
  size_t count = 0;
  do {
    if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) ++count;
  } while (::FindNextFileW(find, &data));
  ::FindClose(find);
  return count;
}

class SkinTest : public ::testing::Test {
 protected:
  SkinSource Source(HMODULE module) { return SkinSource{folder.path(), module, &logger}; }
  SkinSource Source() { return Source(::GetModuleHandleW(nullptr)); }
  std::wstring Images() const { return folder / L"images\\"; }

  TempFolder folder;
  RecordingLogger logger;
};

struct Picture {
  const wchar_t* name;
  UINT width;
  UINT height;
};

// Every picture the pages ask for or the archive carries, at its base size.
const Picture PICTURES[] = {
    {L"main_bg.png", 1200, 800},
    {L"logo.png", 240, 240},
    {L"global_btn_close_normal.png", 32, 32},
    {L"global_btn_close_hover.png", 32, 32},
    {L"global_btn_close_press.png", 32, 32},
    {L"main_checkbox_select.png", 32, 32},
    {L"main_checkbox_deselect.png", 32, 32},
    {L"main_word_custom_normal.png", 32, 32},
    {L"main_word_custom_hover.png", 32, 32},
    {L"main_word_custom_press.png", 32, 32},
    {L"custom_btn_back_normal.png", 32, 32},
    {L"custom_btn_back_hover.png", 32, 32},
    {L"custom_btn_back_press.png", 32, 32},
    {L"install_banner.png", 1200, 600},
    {L"inquire_icon.png", 60, 60},
    {L"error_icon.png", 60, 60},
    {L"click.png", 44, 17},
};

std::wstring Doubled(const std::wstring& name) {
  return name.substr(0, name.size() - 4) + L"@2x.png";
}

}  // namespace

TEST_F(SkinTest, FreshWorkFolderUnpacksTheEmbeddedSkin) {
  ResourceMgrPtr manager = MakeResourceManager(Source());
  EXPECT_EQ(logger.Summary(), (Summary{START, CREATED}));
  EXPECT_TRUE(PathExists(folder / L"Resource.zip"));
  EXPECT_EQ(FilesIn(Images()), SKIN_FILE_COUNT);

  for (const Picture& picture : PICTURES) {
    Gdiplus::Image* base = manager->GetImage(picture.name);
    ASSERT_NE(base, nullptr) << picture.name;
    EXPECT_EQ(base->GetWidth(), picture.width) << picture.name;
    EXPECT_EQ(base->GetHeight(), picture.height) << picture.name;
    Gdiplus::Image* doubled = manager->GetImage(Doubled(picture.name).c_str());
    ASSERT_NE(doubled, nullptr) << picture.name;
    EXPECT_EQ(doubled->GetWidth(), 2 * picture.width) << picture.name;
    EXPECT_EQ(doubled->GetHeight(), 2 * picture.height) << picture.name;
  }
  EXPECT_EQ(logger.Summary().size(), 2u) << "no look-up above may fail";
}

TEST_F(SkinTest, NamesMatchExactlyAndEachPictureIsLoadedOnce) {
  ResourceMgrPtr manager = MakeResourceManager(Source());
  Gdiplus::Image* first = manager->GetImage(L"main_bg.png");
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(manager->GetImage(L"main_bg.png"), first);

  EXPECT_EQ(manager->GetImage(L"Main_bg.png"), nullptr);
  EXPECT_EQ(manager->GetImage(L"main_bg"), nullptr);
  EXPECT_EQ(manager->GetImage(nullptr), nullptr);
  EXPECT_EQ(logger.Summary(), (Summary{START, CREATED, NOT_FOUND, NOT_FOUND}));
}

TEST_F(SkinTest, LeftoverImagesFolderIsUsedAsItIs) {
  ASSERT_TRUE(::CreateDirectoryW(Images().c_str(), nullptr));
  ASSERT_TRUE(WriteWholeFile(Images() + L"b_only.png", SmallRedPng()));
  ASSERT_TRUE(WriteWholeFile(Images() + L"a_broken.png", "not a picture"));
  ResourceMgrPtr manager = MakeResourceManager(Source());

  EXPECT_FALSE(PathExists(folder / L"Resource.zip")) << "nothing may be unpacked again";
  // Two files where the archive holds 38: used, but reported as incomplete.
  EXPECT_EQ(logger.Summary(), (Summary{START, NOT_FOUND, CREATED}));
  Gdiplus::Image* only = manager->GetImage(L"b_only.png");
  ASSERT_NE(only, nullptr);
  EXPECT_EQ(only->GetWidth(), 3u);
  // A file that does not decode gives an image that draws nothing, silently.
  Gdiplus::Image* broken = manager->GetImage(L"a_broken.png");
  ASSERT_NE(broken, nullptr);
  EXPECT_EQ(broken->GetWidth(), 0u);
  EXPECT_EQ(manager->GetImage(L"logo.png"), nullptr);
  EXPECT_EQ(logger.Summary().size(), 4u);
}

TEST_F(SkinTest, ArchiveLeftInTheWorkFolderIsUnpacked) {
  const std::string archive = EmbeddedArchive();
  ASSERT_FALSE(archive.empty());
  ASSERT_TRUE(WriteWholeFile(folder / L"Resource.zip", archive));
  // The module has no skin: only the archive on disk can have served.
  ResourceMgrPtr manager = MakeResourceManager(Source(ModuleWithoutSkin()));
  EXPECT_EQ(logger.Summary(), (Summary{START, CREATED}));
  EXPECT_NE(manager->GetImage(L"logo.png"), nullptr);
}

TEST_F(SkinTest, EmptyLeftoverFolderIsReportedThenFilled) {
  ASSERT_TRUE(::CreateDirectoryW(Images().c_str(), nullptr));
  ResourceMgrPtr manager = MakeResourceManager(Source());
  EXPECT_EQ(logger.Summary(), (Summary{START, NOT_FOUND, CREATED}));
  EXPECT_EQ(FilesIn(Images()), SKIN_FILE_COUNT);
}

TEST_F(SkinTest, WithoutAnySkinConstructionFails) {
  struct Case {
    const char* what;
    std::string archiveOnDisk;  // empty: none
    Summary events;
  };
  const Case cases[] = {
      {"no archive anywhere", "", Summary{START, UNPACK, FAILED}},
      {"a corrupt archive on disk and none embedded", "PK\x03\x04 broken",
       Summary{START, UNPACK, UNPACK, FAILED}},
  };
  for (const Case& c : cases) {
    TempFolder work;
    RecordingLogger events;
    if (!c.archiveOnDisk.empty()) {
      ASSERT_TRUE(WriteWholeFile(work / L"Resource.zip", c.archiveOnDisk));
    }
    std::string message;
    try {
      MakeResourceManager(SkinSource{work.path(), ModuleWithoutSkin(), &events});
    } catch (const std::runtime_error& error) {
      message = error.what();
    }
    EXPECT_EQ(message, "load resource error") << c.what;
    EXPECT_EQ(events.Summary(), c.events) << c.what;
  }
}

TEST_F(SkinTest, ImagesFolderThatCannotBeMadeFailsAtOnce) {
  // The work folder's path runs through a file.
  ASSERT_TRUE(WriteWholeFile(folder / L"plain-file", "x"));
  std::string message;
  try {
    MakeResourceManager(SkinSource{folder / L"plain-file\\", ::GetModuleHandleW(nullptr), &logger});
  } catch (const std::runtime_error& error) {
    message = error.what();
  }
  EXPECT_EQ(message, "make dir failed");
  EXPECT_EQ(logger.Summary(), (Summary{START}));
}
