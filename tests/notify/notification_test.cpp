#include "notify/notification.h"

#include <gtest/gtest.h>

namespace cv {
namespace {

class FakePopup : public NotificationPopup {
 public:
  explicit FakePopup(const cNotificationRequest& request, int& alive) : request_(request), alive_(alive) { ++alive_; }
  ~FakePopup() override { --alive_; }
  const cNotificationRequest& NotificationRequest() const override { return request_; }
  void UpdateNotification(const cNotificationRequest& request) override {
    request_ = request;
    ++updates;
  }
  int updates = 0;

 private:
  cNotificationRequest request_;
  int& alive_;
};

class FakeFactory : public PopupFactory {
 public:
  std::unique_ptr<NotificationPopup> ShowNotification(const cNotificationRequest& request) override {
    shown.push_back(request);
    auto popup = std::make_unique<FakePopup>(request, alive);
    last = popup.get();
    return popup;
  }
  std::vector<cNotificationRequest> shown;
  FakePopup* last = nullptr;
  int alive = 0;
};

class NotificationTest : public ::testing::Test {
 protected:
  void Post(std::string_view title, std::string_view description, bool separate, std::string_view key = "k") {
    system.PostNotification(key, title, description, separate, true, 0, "");
  }
  FakeFactory factory;
  NotificationSystem system{factory};
};

TEST_F(NotificationTest, SameTitleWhileNothingIsShownKeepsOnlyTheNewerRequest) {
  Post("Title", "first", false);
  Post("TITLE", "second", false);  // queue keys ignore letter case
  ASSERT_EQ(system.NotificationQueue().size(), 1u);
  system.FeedTick();
  system.Finished();
  system.FeedTick();
  ASSERT_EQ(factory.shown.size(), 1u);
  EXPECT_EQ(factory.shown[0].Description, "second");
}

TEST_F(NotificationTest, ANewerRequestWithAQueuedKeyMovesToTheEnd) {
  Post("A", "a1", false);
  Post("B", "b", false);
  Post("a", "a2", false);
  ASSERT_EQ(system.NotificationQueue().size(), 2u);
  EXPECT_EQ(system.NotificationQueue()[0].request.Title, "B");
  EXPECT_EQ(system.NotificationQueue()[1].request.Description, "a2");
}

TEST_F(NotificationTest, SameTitleAsThePopupOnScreenUpdatesItInsteadOfQueueing) {
  Post("Title", "first", false);
  system.FeedTick();
  ASSERT_NE(factory.last, nullptr);
  Post("Title", "second", false);
  EXPECT_EQ(factory.last->updates, 1);
  EXPECT_EQ(factory.last->NotificationRequest().Description, "second");
  EXPECT_TRUE(system.NotificationQueue().empty());
  // The title match is exact: another case queues.
  Post("title", "third", false);
  EXPECT_EQ(factory.last->updates, 1);
  EXPECT_EQ(system.NotificationQueue().size(), 1u);
}

TEST_F(NotificationTest, SeparateEntriesWithTheSameTitleAreAllShownOneAfterTheOther) {
  Post("Title", "first", true);
  system.FeedTick();
  Post("Title", "second", true);  // not an update, although the title matches
  Post("Title", "third", true);
  EXPECT_EQ(factory.last->updates, 0);
  EXPECT_EQ(system.NotificationQueue().size(), 2u);
  // Only one pop-up at a time: ticks while one is on screen show nothing.
  system.FeedTick();
  EXPECT_EQ(factory.shown.size(), 1u);
  for (int i = 0; i < 2; ++i) {
    system.Finished();
    system.FeedTick();
  }
  ASSERT_EQ(factory.shown.size(), 3u);
  EXPECT_EQ(factory.shown[1].Description, "second");
  EXPECT_EQ(factory.shown[2].Description, "third");
}

TEST_F(NotificationTest, AFinishedPopupIsReleasedAtTheNextTickNotDuringItsEvent) {
  Post("Title", "first", false);
  system.FeedTick();
  system.Finished();
  EXPECT_FALSE(system.PopupOnScreen());
  EXPECT_EQ(factory.alive, 1);  // still alive while its own event runs
  system.FeedTick();
  EXPECT_EQ(factory.alive, 0);
}

TEST_F(NotificationTest, RemovingAKeyThatIsNotQueuedIsNoError) {
  system.RemoveQueuedNotification("nothing");
  Post("Title", "d", true);
  system.RemoveQueuedNotification("D");  // separate entries are keyed by description
  EXPECT_TRUE(system.NotificationQueue().empty());
}

TEST_F(NotificationTest, RequestFieldsArriveUnchanged) {
  system.PostNotification("www", "Clearvane", "text", true, true, 7, "C:\\cv\\Sounds\\Message.wav");
  system.FeedTick();
  ASSERT_EQ(factory.shown.size(), 1u);
  const cNotificationRequest& shown = factory.shown[0];
  EXPECT_EQ(shown.Key, "www");
  EXPECT_EQ(shown.Title, "Clearvane");
  EXPECT_EQ(shown.Description, "text");
  EXPECT_EQ(shown.Icon, 7);
  EXPECT_TRUE(shown.EnableClickEvent);
  EXPECT_EQ(shown.SoundFileLocation, "C:\\cv\\Sounds\\Message.wav");
}

TEST(ClickedMessage, NamesTheKnownKeysAndEchoesOthers) {
  EXPECT_EQ(ClickedMessage("ALERT"), "You have clicked the Alerts Notification");
  EXPECT_EQ(ClickedMessage("MESSAGE"), "You have clicked the Messages Notification");
  EXPECT_EQ(ClickedMessage("alert"), "You have clicked the Notification with Key: alert");
  EXPECT_EQ(ClickedMessage("www"), "You have clicked the Notification with Key: www");
}

}  // namespace
}  // namespace cv
