#pragma once
// Notification pop-ups: the request, the queue the main window feeds from,
// and the posting rules. Only one pop-up is on screen at a time; the window
// system behind it is reached through PopupFactory.
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace cv {

struct cNotificationRequest {
  std::string Key;
  int Icon = 0;  // resource id of the icon; 0 = none (the pop-up keeps its own)
  std::string Title;
  std::string Description;
  bool EnableClickEvent = false;
  std::string SoundFileLocation;  // empty for silence
};

// The pop-up on screen, as the notification system sees it.
class NotificationPopup {
 public:
  virtual ~NotificationPopup() = default;
  virtual const cNotificationRequest& NotificationRequest() const = 0;
  // Replaces the content and restarts the display, without moving back or
  // playing the sound again.
  virtual void UpdateNotification(const cNotificationRequest& request) = 0;
};

class PopupFactory {
 public:
  virtual ~PopupFactory() = default;
  // Creates a pop-up and starts showing the request (ShowNotification).
  virtual std::unique_ptr<NotificationPopup> ShowNotification(const cNotificationRequest& request) = 0;
};

// mNotificationSystem with the main window's NotificationQueue,
// m_NotificationWindow and the tmrShowPopup tick.
class NotificationSystem {
 public:
  static constexpr unsigned kFeedInterval = 500;  // tmrShowPopup, ms

  explicit NotificationSystem(PopupFactory& factory) : factory_(factory) {}

  void PostNotification(std::string_view key, std::string_view title, std::string_view description, bool SeparateEntry,
                        bool enableClick, int icon, std::string_view soundFile);
  // No error when nothing is queued under the key (compared without regard to case).
  void RemoveQueuedNotification(std::string_view queueKey);

  // tmrShowPopup: shows the first queued request when no pop-up is on screen.
  void FeedTick();
  // The pop-up's Finished event: the next request may be shown. The pop-up
  // object is released at the next tick, not from inside its own event.
  void Finished();

  bool PopupOnScreen() const { return m_NotificationWindow != nullptr; }
  const NotificationPopup* Popup() const { return m_NotificationWindow.get(); }

  struct Queued {
    std::string key;
    cNotificationRequest request;
  };
  const std::vector<Queued>& NotificationQueue() const { return queue_; }

 private:
  PopupFactory& factory_;
  std::vector<Queued> queue_;
  std::unique_ptr<NotificationPopup> m_NotificationWindow;
  std::unique_ptr<NotificationPopup> finished_;
};

// The message box text for a click on a pop-up's description.
std::string ClickedMessage(std::string_view key);

}  // namespace cv
