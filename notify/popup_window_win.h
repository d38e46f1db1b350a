#pragma once
// The pop-up window (frmNotification) and the factory the notification
// system uses to create one per shown request.
#include <functional>
#include <memory>
#include <string>

#include "notify/notification.h"
#include "platform/win32/win.h"

namespace cv::ui {

struct PopupEvents {
  // The description was clicked on a request that enables it (Clicked).
  std::function<void(const std::string& key)> clicked;
  // The pop-up has shrunk away (Finished).
  std::function<void()> finished;
};

class Win32PopupFactory : public PopupFactory {
 public:
  Win32PopupFactory(HINSTANCE instance, PopupEvents events);
  std::unique_ptr<NotificationPopup> ShowNotification(const cNotificationRequest& request) override;

 private:
  HINSTANCE instance_;
  PopupEvents events_;
};

// PlayNotificationSound: asynchronous, and silent (no default beep) when the
// file is missing; nothing at all for an empty path.
void PlayNotificationSound(const std::string& path);

}  // namespace cv::ui
