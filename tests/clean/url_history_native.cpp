#include <gtest/gtest.h>

#include "clean/url_history.h"
#include "platform/emulated/emulated_url_history.h"

namespace cv {
namespace {

using emulated::EmulatedUrlHistory;
using emulated::FileTimeFromCalendar;

class UrlHistoryTest : public ::testing::Test {
 protected:
  void AddThree() {
    store.now = FileTimeFromCalendar(2026, 3, 29, 0, 30, 0);
    store.AddUrl("http://a.example/", "A", 0);
    store.AddUrl("https://b.example/x", "B", 1);
    store.AddUrl("http://c.example/", "C", 2);
  }
  EmulatedUrlHistory store;
};

TEST_F(UrlHistoryTest, NewCollectionSnapshotsTheStoreAndClearEmptiesBoth) {
  EXPECT_EQ(CURLHistory(&store).Count(), 0);
  AddThree();
  CURLHistory history(&store);
  ASSERT_EQ(history.Count(), 3);
  EXPECT_EQ(history.Item(2)->URL(), "https://b.example/x");
  EXPECT_EQ(history.Item(2)->Title(), "B");
  EXPECT_EQ(history.Item(2)->FLAGS(), 1u);
  EXPECT_EQ(history.Item(0), nullptr);
  EXPECT_EQ(history.Item(4), nullptr);

  history.AddURL("http://d.example/", "D", 0);
  EXPECT_EQ(history.Count(), 3) << "AddURL does not refresh";

  EXPECT_EQ(history.Clear(), kOk);
  EXPECT_EQ(history.Count(), 0);
  EXPECT_TRUE(store.entries.empty());
}

TEST_F(UrlHistoryTest, RefreshWithPrefixKeepsOnlyMatchingEntries) {
  AddThree();
  CURLHistory history(&store);
  history.Refresh("http://");
  ASSERT_EQ(history.Count(), 2);
  EXPECT_EQ(history.Item(1)->URL(), "http://a.example/");
  EXPECT_EQ(history.Item(2)->URL(), "http://c.example/");
  history.Refresh();
  EXPECT_EQ(history.Count(), 3);
}

TEST_F(UrlHistoryTest, TimesAreConvertedToLocalAndStableAcrossReads) {
  AddThree();
  store.utcOffsetMinutes = -60;  // crossing midnight backwards changes the date
  CURLHistory history(&store);
  const auto item = history.Item(1);
  const LocalTime first = item->LastVisited();
  const LocalTime second = item->LastVisited();
  EXPECT_EQ(first.year, 2026);
  EXPECT_EQ(first.month, 3);
  EXPECT_EQ(first.day, 28);
  EXPECT_EQ(first.hour, 23);
  EXPECT_EQ(first.minute, 30);
  EXPECT_EQ(first.dayOfWeek, 6);  // Saturday
  EXPECT_EQ(second.day, first.day);
  EXPECT_EQ(second.hour, first.hour);
  EXPECT_EQ(item->Record().lastVisited, store.now) << "the record keeps its UTC time";
}

TEST_F(UrlHistoryTest, RemoveDeletesFromStoreAndShiftsLaterItems) {
  AddThree();
  CURLHistory history(&store);
  const auto formerFirst = history.Item(1);
  EXPECT_EQ(history.Remove(1), kOk);
  ASSERT_EQ(history.Count(), 2);
  EXPECT_EQ(history.Item(1)->URL(), "https://b.example/x");
  EXPECT_EQ(store.entries.size(), 2u);
  EXPECT_EQ(formerFirst->URL(), "http://a.example/") << "a held item outlives its place in the collection";
  EXPECT_NE(history.Remove(5), kOk);
  EXPECT_EQ(history.Count(), 2);

  history.DeleteURL("http://c.example/", 0);
  ASSERT_EQ(history.Count(), 1);
  EXPECT_EQ(store.entries.size(), 1u);
}

TEST_F(UrlHistoryTest, WithoutAStoreEverythingDoesNothing) {
  CURLHistory history(nullptr);
  EXPECT_FALSE(history.HasStore());
  EXPECT_EQ(history.Count(), 0);
  EXPECT_NE(history.Clear(), kOk);
  EXPECT_NE(history.AddURL("http://a/", "", 0), kOk);
  EXPECT_EQ(history.Item(1), nullptr);
}

TEST_F(UrlHistoryTest, AFailingStoreLeavesAnEmptyCollection) {
  AddThree();
  store.failWith = static_cast<Status>(0x80004005);
  CURLHistory history(&store);
  EXPECT_EQ(history.Count(), 0);
  EXPECT_NE(history.Clear(), kOk);
  EXPECT_EQ(store.entries.size(), 3u);
}

}  // namespace
}  // namespace cv
