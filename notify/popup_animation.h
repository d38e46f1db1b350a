#pragma once
// The pop-up's movement, in twips: it grows from the work area's bottom-right
// by 20 twips every 15 ms, holds at full height for 5000 ms, shrinks by 20
// twips every 15 ms and then asks to be unloaded. The window applies the
// geometry and runs its timer at TimerInterval() while TimerEnabled().
namespace cv {

struct PopupGeometry {
  int left = 0, top = 0, width = 0, height = 0;
};

class PopupAnimation {
 public:
  static constexpr int kStep = 20;           // twips per frame
  static constexpr int kFrameInterval = 15;  // ms
  static constexpr int kDisplayTime = 5000;  // ms at full height
  static constexpr int kStartHeight = 10;    // twips
  static constexpr int kRightMargin = 100;   // twips between pop-up and work-area edge

  enum State { kGrowing = 0, kHoldingOrShrinking = 1 };

  PopupAnimation(int fullHeight, int workAreaBottom, int workAreaRight);

  // FillFromRequest's sizing: the width, and the left edge that goes with it.
  void SetWidth(int width);
  // First display: height 10 at the bottom of the work area, growing.
  void Show();
  // New content: grow back to full height, then hold again for the full time.
  void Update();

  // One timer tick; returns false when the pop-up is to be unloaded.
  bool Tick();

  const PopupGeometry& Geometry() const { return geometry_; }
  int AnimationState() const { return state_; }
  int TimerInterval() const { return interval_; }
  bool TimerEnabled() const { return timerEnabled_; }
  int FullHeight() const { return fullHeight_; }

 private:
  int fullHeight_;
  int workAreaBottom_;
  int workAreaRight_;
  PopupGeometry geometry_;
  State state_ = kGrowing;
  int interval_ = kFrameInterval;
  bool timerEnabled_ = false;
};

}  // namespace cv
