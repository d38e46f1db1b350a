#include "notify/popup_animation.h"

namespace cv {

PopupAnimation::PopupAnimation(int fullHeight, int workAreaBottom, int workAreaRight)
    : fullHeight_(fullHeight), workAreaBottom_(workAreaBottom), workAreaRight_(workAreaRight) {
  geometry_.height = fullHeight;
}

void PopupAnimation::SetWidth(int width) {
  geometry_.width = width;
  geometry_.left = workAreaRight_ - (width + kRightMargin);
}

void PopupAnimation::Show() {
  geometry_.left = workAreaRight_ - (geometry_.width + kRightMargin);
  geometry_.top = workAreaBottom_ - kStartHeight;
  geometry_.height = kStartHeight;
  state_ = kGrowing;
  interval_ = kFrameInterval;
  timerEnabled_ = true;
}

void PopupAnimation::Update() {
  state_ = kGrowing;
  // The frame interval at once, so a pop-up in its hold starts a full new
  // hold as soon as it is back at full height (it already is, or nearly).
  interval_ = kFrameInterval;
  timerEnabled_ = true;
}

bool PopupAnimation::Tick() {
  if (!timerEnabled_) return true;
  const int h = geometry_.height;
  if (state_ == kGrowing) {
    geometry_.top = workAreaBottom_ - h;
    geometry_.height = h + kStep;
    if (geometry_.height >= fullHeight_) {
      geometry_.height = fullHeight_;
      state_ = kHoldingOrShrinking;
      interval_ = kDisplayTime;
    }
    return true;
  }
  interval_ = kFrameInterval;
  geometry_.top = workAreaBottom_ - h;
  geometry_.height = h - kStep;
  if (geometry_.height < kStep) {
    timerEnabled_ = false;
    return false;
  }
  return true;
}

}  // namespace cv
