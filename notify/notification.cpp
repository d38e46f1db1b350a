#include "notify/notification.h"

#include <algorithm>

#include "platform/text.h"

namespace cv {

void NotificationSystem::PostNotification(std::string_view key, std::string_view title, std::string_view description,
                                          bool SeparateEntry, bool enableClick, int icon, std::string_view soundFile) {
  cNotificationRequest request;
  request.Key = key;
  request.Title = title;
  request.Description = description;
  request.Icon = icon;
  request.EnableClickEvent = enableClick;
  request.SoundFileLocation = soundFile;

  if (m_NotificationWindow && !SeparateEntry && m_NotificationWindow->NotificationRequest().Title == request.Title) {
    m_NotificationWindow->UpdateNotification(request);
    return;
  }
  std::string queueKey = SeparateEntry ? request.Description : request.Title;
  RemoveQueuedNotification(queueKey);
  queue_.push_back({std::move(queueKey), std::move(request)});
}

void NotificationSystem::RemoveQueuedNotification(std::string_view queueKey) {
  std::erase_if(queue_, [&](const Queued& queued) { return EqualsNoCase(queued.key, queueKey); });
}

void NotificationSystem::FeedTick() {
  finished_.reset();
  if (queue_.empty() || m_NotificationWindow) return;
  const cNotificationRequest request = queue_.front().request;
  queue_.erase(queue_.begin());
  m_NotificationWindow = factory_.ShowNotification(request);
}

void NotificationSystem::Finished() { finished_ = std::move(m_NotificationWindow); }

std::string ClickedMessage(std::string_view key) {
  if (key == "ALERT") return "You have clicked the Alerts Notification";
  if (key == "MESSAGE") return "You have clicked the Messages Notification";
  return "You have clicked the Notification with Key: " + std::string(key);
}

}  // namespace cv
