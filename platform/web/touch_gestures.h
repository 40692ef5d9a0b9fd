// Touch gestures on the canvas, told apart and turned into the input a
// keyboard and wheel would give (not a public header).
//
// Supports: one finger held and dragged away from where it landed holds
//   the arrow keys pointing that way (two of them on a diagonal) until it
//   lifts or comes back; two fingers spreading or closing hold + or - while
//   they move; two fingers dragged up or down turn the wheel, a notch per
//   kTiltStepPx; two quick taps in one place are the R key.
// Lacks: more than two fingers (the rest are ignored), long presses.
// Depends on: nothing but the Win32 subset's key codes, so it is tested
//   natively; touch.cpp feeds it the page's touch events.
#pragma once

#include "win32.h"

namespace web_layer {

// Where the gestures go: touch.cpp posts them as window messages.
class GestureSink {
 public:
  virtual void Key(WPARAM virtualKey, bool down) = 0;
  virtual void Wheel(int delta) = 0;  // WHEEL_DELTA units, positive away from the user
 protected:
  ~GestureSink() = default;
};

class TouchGestures {
 public:
  // Distances in CSS pixels, times in milliseconds.
  static constexpr double kDragStartPx = 12.0;   // a finger moved less is still a tap
  static constexpr double kPinchStep = 1.06;     // spread ratio that counts as a pinch
  static constexpr double kZoomHoldMs = 150.0;   // a pinch resting this long stops zooming
  static constexpr double kTiltStepPx = 30.0;
  static constexpr double kTapMs = 300.0;        // longest touch that is a tap
  static constexpr double kDoubleTapMs = 400.0;  // longest gap between the two taps
  static constexpr double kDoubleTapPx = 40.0;

  explicit TouchGestures(GestureSink* sink) : sink_(sink) {}

  void Start(long id, double x, double y, double ms);
  // A finger's new place; Moved() then judges all that moved in one event
  // together (two fingers moved in turn would seem to pinch in between).
  void Move(long id, double x, double y);
  void Moved();
  void End(long id, double ms);
  void Cancel();  // the browser took the touches: everything held is let go
  // The pinch's steps so far: touch.cpp calls StopZoom once they have not
  // grown for kZoomHoldMs, timed as the page runs (the zoom key acts on
  // the frames drawn while it is held).
  unsigned ZoomSteps() const { return zoomSteps_; }
  void StopZoom() { SetZoom(0); }

 private:
  struct Finger {
    long id;
    double x;
    double y;
  };
  enum class Mode { kIdle, kDrag, kTwo, kSpent };

  Finger* FindFinger(long id);
  void SetArrows(unsigned wanted);
  void SetZoom(WPARAM key);
  void DragMoved();
  void TwoMoved();
  double Spread() const;
  double MiddleY() const;

  GestureSink* sink_;
  Mode mode_ = Mode::kIdle;
  Finger fingers_[2] = {};
  int count_ = 0;
  double startX_ = 0, startY_ = 0, startMs_ = 0;
  bool moved_ = false;       // the one finger went past kDragStartPx: no tap
  unsigned arrows_ = 0;      // bits of the arrow keys held, as kArrows orders them
  WPARAM zoomKey_ = 0;       // VK_OEM_PLUS or VK_OEM_MINUS while held
  unsigned zoomSteps_ = 0;
  double pinchSpread_ = 0;   // the spread when the zoom last stepped
  double tiltY_ = 0;         // the fingers' middle when the wheel last turned
  bool tapped_ = false;      // a first tap waits for its second
  double tapMs_ = 0, tapX_ = 0, tapY_ = 0;
};

}  // namespace web_layer
