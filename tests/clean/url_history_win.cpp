#include "platform/win32/url_history_win.h"

#include <gtest/gtest.h>

#include "clean/url_history.h"

namespace cv {
namespace {

// The real store: either the system has none (creation fails cleanly and a
// collection without a store does nothing), or it works through the whole
// add / enumerate / delete cycle on an address of our own.
TEST(Win32UrlHistory, CreatedCleanlyOrUsable) {
  auto store = win32::Win32UrlHistoryStore::Create();
  if (!store) {
    CURLHistory history(nullptr);
    EXPECT_EQ(history.Count(), 0);
    EXPECT_NE(history.Clear(), kOk);
    GTEST_SKIP() << "no URL history store on this system";
  }
  const std::string url = "http://clearvane-test.invalid/page";
  CURLHistory history(store.get());
  // Never Clear here: on a real system that would wipe the tester's history.
  history.Refresh("http://clearvane-test.invalid/");
  EXPECT_EQ(history.Count(), 0);
  if (history.AddURL(url, "Clearvane test", 0) != kOk) GTEST_SKIP() << "the store does not accept addresses here";
  history.Refresh("http://clearvane-test.invalid/");
  ASSERT_GE(history.Count(), 1);
  EXPECT_EQ(history.Item(1)->URL(), url);
  const LocalTime visited = history.Item(1)->LastVisited();
  EXPECT_GE(visited.year, 2000);
  history.DeleteURL(url, 0);
  history.Refresh("http://clearvane-test.invalid/");
  EXPECT_EQ(history.Count(), 0);
}

TEST(Win32UrlHistory, TimesConvertThroughTheLocalZone) {
  auto store = win32::Win32UrlHistoryStore::Create();
  if (!store) GTEST_SKIP() << "no URL history store on this system";
  // 2009-02-13 23:31:30 UTC.
  const LocalTime time = store->ToLocalTime(128790414900000000LL);
  EXPECT_EQ(time.year, 2009);
  EXPECT_EQ(time.month, 2);
  EXPECT_GE(time.day, 13);
  EXPECT_LE(time.day, 14);
}

}  // namespace
}  // namespace cv
