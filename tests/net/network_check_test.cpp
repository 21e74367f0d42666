// Publishing repairs: GlobalSettings takes every setting that worked, and the
// first repair of each kind goes out as one "vNetworkCheck" event.
#include <windows.h>

#include <gtest/gtest.h>

#include <thread>

#include "app/global_settings.h"
#include "net/network_check.h"
#include "net_test_support.h"

namespace {

TEST(NetworkCheck, ReportsTheFirstProxyRepairOnceAndKeepsTheLatestSetting) {
  ScopedGlobalSettings scoped;
  GlobalSettings& settings = *GetGlobalSettings();
  FakeLogger logger;
  CNetworkCheck check(&logger);

  check.PublishProxy(settings, ProxySetting{ProxyHttp, "proxy-a.test", 8080});
  check.PublishProxy(settings, ProxySetting{ProxyNone, "proxy-a.test", 8080});
  check.PublishProxy(settings, ProxySetting{ProxyHttp, "proxy-b.test", 3128});

  const auto events = logger.Events();
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(events[0].name, "vNetworkCheck");
  EXPECT_EQ(events[0].strings.at("network_type"), "网络代理");
  EXPECT_EQ(events[0].ints.at("conn_type"), 1);
  EXPECT_EQ(events[0].strings.at("host_name"), "proxy-a.test");
  EXPECT_EQ(CurrentProxySetting().type, ProxyHttp);
  EXPECT_EQ(CurrentProxySetting().host, "proxy-b.test");
  EXPECT_EQ(CurrentProxySetting().port, 3128);
  EXPECT_EQ(CurrentDnsSetting().mode, DnsSystem) << "a proxy repair leaves name resolution alone";
}

TEST(NetworkCheck, TwoWorkersRepairingDnsProduceOneEventAndAProxyRepairItsOwn) {
  ScopedGlobalSettings scoped;
  GlobalSettings& settings = *GetGlobalSettings();
  FakeLogger logger;
  CNetworkCheck check(&logger);

  std::thread first([&] { check.PublishDns(settings, DnsSetting{DnsOwn, "127.0.0.1"}); });
  first.join();
  std::thread second([&] { check.PublishDns(settings, DnsSetting{DnsOwn, "127.0.0.2"}); });
  second.join();
  check.PublishProxy(settings, ProxySetting{ProxyNone, "", 0});

  const auto events = logger.Events();
  ASSERT_EQ(events.size(), 2u);
  EXPECT_EQ(events[0].strings.at("network_type"), "DNS解析");
  EXPECT_EQ(events[0].ints.at("conn_type"), 1);
  EXPECT_EQ(events[0].strings.at("host_name"), "127.0.0.1");
  EXPECT_EQ(events[1].strings.at("network_type"), "网络代理");
  EXPECT_EQ(events[1].ints.at("conn_type"), 0);
  EXPECT_EQ(CurrentDnsSetting().mode, DnsOwn);
  EXPECT_EQ(CurrentDnsSetting().server, "127.0.0.2");
}

TEST(NetworkCheck, PublishingWithoutGlobalSettingsDoesNothing) {
  DeleteGlobalSettings();
  FakeLogger logger;
  GetNetworkCheck().ReportTo(&logger);
  PublishProxySetting(ProxySetting{ProxyHttp, "proxy.test", 1});
  PublishDnsSetting(DnsSetting{DnsOwn, "127.0.0.1"});
  GetNetworkCheck().ReportTo(nullptr);
  EXPECT_EQ(logger.Events().size(), 0u);
  EXPECT_EQ(CurrentProxySetting().type, ProxyNone);
}

}  // namespace
