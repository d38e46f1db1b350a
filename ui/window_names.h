#pragma once
// Window class names of clearvane.exe; the GUI tests find windows by them.

namespace cv::ui {

inline constexpr wchar_t kMainWindowClass[] = L"ClearvaneMain";
inline constexpr wchar_t kSplashClass[] = L"ClearvaneSplash";
inline constexpr wchar_t kNavigationBarClass[] = L"ClearvaneNavBar";
inline constexpr wchar_t kNavigationEntryClass[] = L"ClearvaneNavEntry";
inline constexpr wchar_t kPanelClass[] = L"ClearvanePanel";
inline constexpr wchar_t kNotificationClass[] = L"ClearvaneNotification";
inline constexpr wchar_t kLinkLabelClass[] = L"ClearvaneLink";

}  // namespace cv::ui
