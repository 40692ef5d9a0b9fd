#include "touch_gestures.h"

#include <cmath>

namespace web_layer {

namespace {

constexpr WPARAM kArrows[] = {VK_UP, VK_DOWN, VK_LEFT, VK_RIGHT};
constexpr unsigned kUp = 1u, kDown = 2u, kLeft = 4u, kRight = 8u;
// A drag holds the key of an axis whose share of the drag is above
// sin 22.5 degrees: eight directions, as two keys held together give.
constexpr double kAxisShare = 0.383;

}  // namespace

TouchGestures::Finger* TouchGestures::FindFinger(long id) {
  for (int i = 0; i < count_; ++i) {
    if (fingers_[i].id == id) return &fingers_[i];
  }
  return nullptr;
}

double TouchGestures::Spread() const {
  return std::hypot(fingers_[0].x - fingers_[1].x, fingers_[0].y - fingers_[1].y);
}

double TouchGestures::MiddleY() const { return (fingers_[0].y + fingers_[1].y) / 2.0; }

void TouchGestures::SetArrows(unsigned wanted) {
  for (unsigned i = 0; i < 4; ++i) {
    const unsigned bit = 1u << i;
    if ((arrows_ & bit) != 0 && (wanted & bit) == 0) sink_->Key(kArrows[i], false);
  }
  for (unsigned i = 0; i < 4; ++i) {
    const unsigned bit = 1u << i;
    if ((arrows_ & bit) == 0 && (wanted & bit) != 0) sink_->Key(kArrows[i], true);
  }
  arrows_ = wanted;
}

void TouchGestures::SetZoom(WPARAM key) {
  if (key != zoomKey_) {
    if (zoomKey_ != 0) sink_->Key(zoomKey_, false);
    if (key != 0) sink_->Key(key, true);
    zoomKey_ = key;
  }
  if (key != 0) ++zoomSteps_;
}

void TouchGestures::Start(long id, double x, double y, double ms) {
  if (count_ == 2 || FindFinger(id) != nullptr) return;
  fingers_[count_++] = Finger{id, x, y};
  if (count_ == 1 && mode_ == Mode::kIdle) {
    mode_ = Mode::kDrag;
    startX_ = x;
    startY_ = y;
    startMs_ = ms;
    moved_ = false;
  } else if (count_ == 2) {
    // A second finger turns a drag into a pinch or tilt, never a tap.
    SetArrows(0);
    tapped_ = false;
    mode_ = Mode::kTwo;
    pinchSpread_ = Spread();
    tiltY_ = MiddleY();
  }
}

void TouchGestures::Move(long id, double x, double y) {
  Finger* finger = FindFinger(id);
  if (finger == nullptr) return;
  finger->x = x;
  finger->y = y;
}

void TouchGestures::Moved() {
  if (mode_ == Mode::kDrag) DragMoved();
  if (mode_ == Mode::kTwo && count_ == 2) TwoMoved();
}

void TouchGestures::DragMoved() {
  const double dx = fingers_[0].x - startX_, dy = fingers_[0].y - startY_;
  const double length = std::hypot(dx, dy);
  if (length < kDragStartPx) {
    SetArrows(0);
    return;
  }
  moved_ = true;
  unsigned wanted = 0;
  if (std::fabs(dx) > kAxisShare * length) wanted |= dx < 0 ? kLeft : kRight;
  if (std::fabs(dy) > kAxisShare * length) wanted |= dy < 0 ? kUp : kDown;
  SetArrows(wanted);
}

void TouchGestures::TwoMoved() {
  const double spread = Spread();
  if (pinchSpread_ > 0.0 && spread >= pinchSpread_ * kPinchStep) {
    SetZoom(VK_OEM_PLUS);
    pinchSpread_ = spread;
  } else if (spread <= pinchSpread_ / kPinchStep) {
    SetZoom(VK_OEM_MINUS);
    pinchSpread_ = spread;
  }
  // Fingers moving up look further down onto the floor, as a wheel turned
  // towards the user does.
  const double middle = MiddleY();
  while (middle - tiltY_ >= kTiltStepPx) {
    sink_->Wheel(WHEEL_DELTA);
    tiltY_ += kTiltStepPx;
  }
  while (tiltY_ - middle >= kTiltStepPx) {
    sink_->Wheel(-WHEEL_DELTA);
    tiltY_ -= kTiltStepPx;
  }
}

void TouchGestures::End(long id, double ms) {
  Finger* finger = FindFinger(id);
  if (finger == nullptr) return;
  if (finger == &fingers_[0] && count_ == 2) fingers_[0] = fingers_[1];
  --count_;
  if (mode_ == Mode::kTwo) {
    SetZoom(0);
    mode_ = Mode::kSpent;  // the finger left behind drives nothing
  }
  if (count_ > 0) return;
  if (mode_ == Mode::kDrag) {
    SetArrows(0);
    if (!moved_ && ms - startMs_ <= kTapMs) {
      if (tapped_ && ms - tapMs_ <= kDoubleTapMs &&
          std::hypot(startX_ - tapX_, startY_ - tapY_) <= kDoubleTapPx) {
        tapped_ = false;
        sink_->Key('R', true);
        sink_->Key('R', false);
      } else {
        tapped_ = true;
        tapMs_ = ms;
        tapX_ = startX_;
        tapY_ = startY_;
      }
    } else {
      tapped_ = false;
    }
  }
  mode_ = Mode::kIdle;
}

void TouchGestures::Cancel() {
  SetArrows(0);
  SetZoom(0);
  count_ = 0;
  tapped_ = false;
  mode_ = Mode::kIdle;
}

}  // namespace web_layer
