// The animated banner: the configuration reply and the GIF address, the
// adoption of multi- and single-frame GIFs, frames advanced by their delays
// and posted unless paused, the fallback picture when there is no GIF, and a
// stop that interrupts a request in progress.
#include <gtest/gtest.h>

#include <winsock2.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "pages/window_messages.h"
#include "support/temp_folder.h"
#include "support/test_paths.h"
#include "sys/xmutex.h"
#include "ui/banner_config.h"
#include "ui/movie_frames.h"
#include "ui/movie_resource.h"
#include "ui/picture_load.h"
#include "ui_test_support.h"

namespace {

constexpr char CONFIG_PATH[] = "/applicationService/app/installerConfig?appId=52718340";
constexpr uint32_t FALLBACK_GREY = 0xFF808080;

std::string ConfigFor(const std::string& gifUrl) {
  return R"({"code":"server.success","message":"ok","data":{"ProductsShow":{"gif_url":")" +
         gifUrl + R"(","title":"x"}}})";
}

std::string Asset(const wchar_t* name) { return ReadWholeFile(BesideTestProgram(name)); }

// Replies by "host:port path"; records every request. Shared with the test,
// since the banner owns its source.
struct SourceState {
  CXMutex lock;
  std::map<std::string, std::string> replies;
  std::vector<std::string> requests;
  UniqueKernelHandle aborted{::CreateEventW(nullptr, TRUE, FALSE, nullptr)};
  bool blockUntilAbort = false;

  std::vector<std::string> Requests() {
    CXMutexLock hold(lock);
    return requests;
  }
};

class FakeSource : public IBannerSource {
 public:
  explicit FakeSource(std::shared_ptr<SourceState> state) : state_(std::move(state)) {}

  std::string Get(const std::string& host, uint16_t port, const std::string& path) override {
    const std::string key = host + ":" + std::to_string(port) + " " + path;
    bool block = false;
    {
      CXMutexLock hold(state_->lock);
      state_->requests.push_back(key);
      block = state_->blockUntilAbort;
    }
    if (block) ::WaitForSingleObject(state_->aborted.get(), INFINITE);
    CXMutexLock hold(state_->lock);
    const auto found = state_->replies.find(key);
    return found == state_->replies.end() ? std::string() : found->second;
  }
  void Abort() noexcept override { ::SetEvent(state_->aborted.get()); }

 private:
  std::shared_ptr<SourceState> state_;
};

// A message-only window that receives the banner's frame messages.
class FrameSink {
 public:
  FrameSink()
      : hwnd_(::CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr,
                                nullptr)) {}
  ~FrameSink() { ::DestroyWindow(hwnd_); }
  HWND hwnd() const { return hwnd_; }

  // Frame messages arriving within `ms` milliseconds.
  int Count(DWORD ms) {
    int count = 0;
    const DWORD start = ::GetTickCount();
    do {
      MSG msg{};
      while (::PeekMessageW(&msg, hwnd_, WM_BANNER_FRAME, WM_BANNER_FRAME, PM_REMOVE)) ++count;
      ::Sleep(5);
    } while (::GetTickCount() - start < ms);
    return count;
  }

 private:
  HWND hwnd_;
};

template <typename Predicate>
bool WaitFor(Predicate done, DWORD ms) {
  const DWORD start = ::GetTickCount();
  while (!done()) {
    if (::GetTickCount() - start > ms) return false;
    ::Sleep(10);
  }
  return true;
}

// A banner 80 x 20 over a grey fallback, fed by a fake source.
class BannerTest : public ::testing::Test {
 protected:
  BannerTest() : fallback(40, 20, PixelFormat32bppARGB) {
    Gdiplus::Graphics graphics(&fallback);
    graphics.Clear(Gdiplus::Color(FALLBACK_GREY));
  }

  std::unique_ptr<CMovieResource> MakeBanner(const std::string& configHost = "gateway.test") {
    auto banner = std::make_unique<CMovieResource>(
        MOVIE_RESOURCE_ID, nullptr, sink.hwnd(), configHost, 80, CONFIG_PATH, &fallback,
        std::make_unique<FakeSource>(state));
    banner->SetRect(0, 0, 80, 20);
    return banner;
  }

  void Serve(const std::string& key, const std::string& body) {
    CXMutexLock hold(state->lock);
    state->replies[key] = body;
  }

  // The colour at the middle of the banner after a paint.
  uint32_t Paint(CMovieResource& banner) {
    Canvas canvas(80, 20);
    banner.Draw(canvas.dc());
    return canvas.Pixel(40, 10);
  }

  std::shared_ptr<SourceState> state = std::make_shared<SourceState>();
  Gdiplus::Bitmap fallback;
  FrameSink sink;
};

const std::string CONFIG_KEY = std::string("gateway.test:80 ") + CONFIG_PATH;

}  // namespace

TEST(BannerConfigTest, GifUrlOnlyFromASuccessfulCompleteReply) {
  struct Case {
    std::string reply;
    std::string url;
  };
  const Case cases[] = {
      {ConfigFor("https://cdn.test/a.gif"), "https://cdn.test/a.gif"},
      {R"({"code":"server.success","data":{"Other":{}}})", ""},
      {R"({"code":"server.error","data":{"ProductsShow":{"gif_url":"http://h/a/b"}}})", ""},
      {R"({"code":"server.success","data":[1,2]})", ""},
      {R"({"code":"server.success","data":{"ProductsShow":{"gif_url":7}}})", ""},
      {R"({"code":1})", ""},
      {"<html>", ""},
      {"", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(GifUrlFromConfig(c.reply), c.url) << c.reply;
}

TEST(BannerConfigTest, GifAddressesSplit) {
  struct Case {
    std::string url;
    bool ok;
    std::string host;
    uint16_t port;
    std::string path;
  };
  const Case cases[] = {
      {"https://cdn.test/banner/show.gif", true, "cdn.test", 80, "/banner/show.gif"},
      {"http://cdn.test:8080/x.gif", true, "cdn.test", 8080, "/x.gif"},
      {"http://cdn.test//deep//x.gif?v=1", true, "cdn.test", 80, "/deep/x.gif?v=1"},
      {"cdn.test/x.gif", false, "", 0, ""},
      {"http://cdn.test", false, "", 0, ""},
      {"http://a:1:2/x.gif", false, "", 0, ""},
      {"http://cdn.test:/x.gif", false, "", 0, ""},
      {"http://cdn.test:99999/x.gif", false, "", 0, ""},
      {"http://:8080/x.gif", false, "", 0, ""},
  };
  for (const Case& c : cases) {
    GifAddress address;
    ASSERT_EQ(SplitGifUrl(c.url, address), c.ok) << c.url;
    if (!c.ok) continue;
    EXPECT_EQ(address.host, c.host) << c.url;
    EXPECT_EQ(address.port, c.port) << c.url;
    EXPECT_EQ(address.path, c.path) << c.url;
  }
}

TEST_F(BannerTest, IdlesUntilPaintedThenAdoptsTheGifAndAnimates) {
  Serve(CONFIG_KEY, ConfigFor("https://cdn.test:8080/banner/multi.gif"));
  Serve("cdn.test:8080 /banner/multi.gif", Asset(L"banner_multi.gif"));
  auto banner = MakeBanner();
  ::Sleep(150);
  EXPECT_TRUE(state->Requests().empty()) << "nothing is fetched before the first paint";
  EXPECT_TRUE(NearColor(Paint(*banner), FALLBACK_GREY, 2));

  ASSERT_TRUE(WaitFor([&] { return banner->HasMovie(); }, 5000));
  EXPECT_EQ(state->Requests(),
            (std::vector<std::string>{CONFIG_KEY, "cdn.test:8080 /banner/multi.gif"}));
  EXPECT_EQ(banner->FrameCount(), 3);
  EXPECT_EQ(banner->FrameDelays(), (std::vector<int32_t>{10, 20, 30}));
  const RECT shown = banner->MovieRect();
  EXPECT_EQ(shown.left, 20);
  EXPECT_EQ(shown.right, 60);

  // One cycle takes 600 ms.
  EXPECT_GE(sink.Count(1300), 4);
  const uint32_t colors[] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF};
  const int32_t frame = banner->CurrentFrame();
  ASSERT_GE(frame, 0);
  ASSERT_LT(frame, 3);
  const uint32_t painted = Paint(*banner);
  EXPECT_TRUE(NearColor(painted, colors[banner->CurrentFrame()], 2) ||
              NearColor(painted, colors[frame], 2))
      << std::hex << painted;
}

TEST_F(BannerTest, PausedFramesKeepAdvancingSilently) {
  Serve(CONFIG_KEY, ConfigFor("http://cdn.test/multi.gif"));
  Serve("cdn.test:80 /multi.gif", Asset(L"banner_multi.gif"));
  auto banner = MakeBanner();
  Paint(*banner);
  ASSERT_TRUE(WaitFor([&] { return banner->HasMovie(); }, 5000));

  banner->paused = 1;
  sink.Count(50);
  int changes = 0;
  int32_t last = banner->CurrentFrame();
  const DWORD start = ::GetTickCount();
  int posted = 0;
  while (::GetTickCount() - start < 1300) {
    posted += sink.Count(20);
    const int32_t now = banner->CurrentFrame();
    if (now != last) ++changes;
    last = now;
  }
  EXPECT_EQ(posted, 0);
  EXPECT_GE(changes, 3);

  banner->paused = 0;
  EXPECT_GE(sink.Count(700), 1);
}

TEST(BannerFramesTest, AdoptionNeedsFramesAndDelays) {
  struct Case {
    const char* what;
    UINT dimensions;
    int32_t frames;
    std::vector<int32_t> property;
    bool adopted;
    std::vector<int32_t> delays;
  };
  const Case cases[] = {
      {"three frames", 1, 3, {10, 20, 30}, true, {10, 20, 30}},
      {"one frame with a delay", 1, 1, {50}, true, {50}},
      {"one frame without a delay", 1, 1, {}, false, {}},
      {"frames without delays", 1, 3, {}, false, {}},
      {"no frame dimension", 0, 0, {10}, false, {}},
      {"no frames", 1, 0, {10}, false, {}},
      {"fewer delays than frames", 1, 3, {40}, true, {40, 0, 0}},
      {"more delays than frames", 1, 2, {1, 2, 3}, true, {1, 2}},
  };
  for (const Case& c : cases) {
    std::vector<int32_t> delays;
    EXPECT_EQ(FrameDelaysForAdoption(c.dimensions, c.frames, c.property, delays), c.adopted) << c.what;
    EXPECT_EQ(delays, c.delays) << c.what;
  }
}

TEST(BannerFramesTest, FramesWaitTheirDelayButNeverZero) {
  EXPECT_EQ(FrameWaitMs(30), 300u);
  EXPECT_EQ(FrameWaitMs(1), 10u);
  EXPECT_EQ(FrameWaitMs(0), 10u);
  EXPECT_EQ(FrameWaitMs(-5), 10u);
}

TEST_F(BannerTest, SingleFrameGifIsAnnouncedOnceAndAdoptedWhenItHasADelay) {
  for (const wchar_t* asset : {L"banner_single_delay.gif", L"banner_single_plain.gif"}) {
    const std::string gif = Asset(asset);
    // Whether this platform's decoder reports a frame delay for the file:
    // some report none for any single-frame GIF.
    const auto decoded = LoadPictureBytes(gif);
    ASSERT_TRUE(decoded);
    const bool hasDelay = decoded->GetPropertyItemSize(PropertyTagFrameDelay) > 0;

    Serve(CONFIG_KEY, ConfigFor("http://cdn.test/one.gif"));
    Serve("cdn.test:80 /one.gif", gif);
    auto banner = MakeBanner();
    Paint(*banner);
    ASSERT_TRUE(WaitFor([&] { return !banner->IsRunning(); }, 5000));
    EXPECT_EQ(banner->HasMovie(), hasDelay) << asset;
    EXPECT_EQ(banner->FrameCount(), 1) << asset;
    EXPECT_EQ(sink.Count(100), 1) << asset;
    EXPECT_TRUE(NearColor(Paint(*banner), hasDelay ? 0xFFFF0000 : FALLBACK_GREY, 2)) << asset;
  }
  // A GIF87a carries no extension blocks at all, so no delay anywhere.
  EXPECT_FALSE(LoadPictureBytes(Asset(L"banner_single_plain.gif"))
                   ->GetPropertyItemSize(PropertyTagFrameDelay) > 0);
}

TEST_F(BannerTest, WithoutAGifTheFallbackStays) {
  struct Case {
    const char* what;
    std::string reply;
    size_t requests;
  };
  const Case cases[] = {
      {"empty reply", "", 1},
      {"no ProductsShow", R"({"code":"server.success","data":{}})", 1},
      {"address with too few pieces", ConfigFor("cdn.test/multi.gif"), 1},
      {"not a picture", ConfigFor("http://cdn.test/broken.gif"), 2},
      {"empty GIF body", ConfigFor("http://cdn.test/missing.gif"), 2},
  };
  Serve("cdn.test:80 /broken.gif", "GIF89a nonsense");
  for (const Case& c : cases) {
    state->requests.clear();
    Serve(CONFIG_KEY, c.reply);
    auto banner = MakeBanner();
    Paint(*banner);
    ASSERT_TRUE(WaitFor([&] { return !banner->IsRunning(); }, 5000)) << c.what;
    EXPECT_FALSE(banner->HasMovie()) << c.what;
    EXPECT_EQ(state->Requests().size(), c.requests) << c.what;
    EXPECT_EQ(sink.Count(50), 0) << c.what;
    EXPECT_TRUE(NearColor(Paint(*banner), FALLBACK_GREY, 2)) << c.what;
  }
}

TEST_F(BannerTest, StopInterruptsARequestInProgress) {
  state->blockUntilAbort = true;
  auto banner = MakeBanner();
  Paint(*banner);
  ASSERT_TRUE(WaitFor([&] { return !state->Requests().empty(); }, 5000));
  const DWORD start = ::GetTickCount();
  banner.reset();
  EXPECT_LT(::GetTickCount() - start, 1000u);
}

TEST_F(BannerTest, NoNetworkMeansTheFallbackForTheWholeRun) {
  WSADATA data{};
  ASSERT_EQ(::WSAStartup(MAKEWORD(2, 2), &data), 0);
  // A loopback port nobody listens on.
  SOCKET probe = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  ASSERT_EQ(::bind(probe, reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);
  int length = sizeof(address);
  ::getsockname(probe, reinterpret_cast<sockaddr*>(&address), &length);
  ::closesocket(probe);
  {
    CMovieResource banner(MOVIE_RESOURCE_ID, nullptr, sink.hwnd(), "127.0.0.1",
                          ntohs(address.sin_port), CONFIG_PATH, &fallback);
    banner.SetRect(0, 0, 80, 20);
    Paint(banner);
    ASSERT_TRUE(WaitFor([&] { return !banner.IsRunning(); }, 20000));
    EXPECT_FALSE(banner.HasMovie());
    EXPECT_EQ(sink.Count(50), 0);
    EXPECT_TRUE(NearColor(Paint(banner), FALLBACK_GREY, 2));
  }
  ::WSACleanup();
}
