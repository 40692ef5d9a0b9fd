// The touch gestures' keys and wheel, natively.
#include "touch_gestures.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// What the gestures send, as "+38 -38 w120 ..." (key down, key up, wheel).
struct Record : web_layer::GestureSink {
  void Key(WPARAM key, bool down) override { log += (down ? "+" : "-") + std::to_string(key) + " "; }
  void Wheel(int delta) override { log += "w" + std::to_string(delta) + " "; }
  std::string Take() { std::string out; out.swap(log); return out; }
  std::string log;
};

struct TouchGesturesTest : ::testing::Test {
  void MoveTo(long id, double x, double y) {  // one finger, in an event of its own
    gestures.Move(id, x, y);
    gestures.Moved();
  }
  void Tap(long id, double x, double y, double at, double held = 50) {
    gestures.Start(id, x, y, at);
    gestures.End(id, at + held);
  }
  Record sink;
  web_layer::TouchGestures gestures{&sink};
};

TEST_F(TouchGesturesTest, DragHoldsTheArrowsItPointsAtAndTapsInOnePlaceMakeR) {
  gestures.Start(7, 100, 100, 0);
  MoveTo(7, 105, 95);  // still a tap
  MoveTo(7, 100, 40);  // up
  MoveTo(7, 150, 50);  // up and right
  MoveTo(7, 20, 110);  // left
  gestures.End(7, 900);
  EXPECT_EQ(sink.Take(), "+38 +39 -38 -39 +37 -37 ");
  Tap(1, 50, 50, 1000, 100);
  Tap(2, 200, 50, 1200);  // too far from the first tap
  Tap(3, 205, 55, 1400);
  EXPECT_EQ(sink.Take(), "+82 -82 ");
  Tap(4, 205, 55, 1500);
  Tap(5, 205, 55, 2200);  // too late
  Tap(6, 205, 55, 2300, 400);  // held too long
  EXPECT_EQ(sink.Take(), "");
}

TEST_F(TouchGesturesTest, TwoFingersPinchAndTiltButNeitherDragNorTap) {
  gestures.Start(1, 100, 100, 0);
  MoveTo(1, 100, 50);
  gestures.Start(2, 200, 50, 10);  // ends the drag
  MoveTo(2, 300, 50);              // spread
  MoveTo(2, 200, 50);              // closed
  gestures.StopZoom();
  EXPECT_EQ(sink.Take(), "+38 -38 +187 -187 +189 -189 ");
  gestures.Move(1, 100, -15);  // both up by 65 in one event: two notches, no pinch
  gestures.Move(2, 200, -15);
  gestures.Moved();
  EXPECT_EQ(sink.Take(), "w-120 w-120 ");
  MoveTo(2, 300, -15);
  gestures.Cancel();
  EXPECT_EQ(sink.Take(), "+187 -187 ");
  gestures.Start(1, 100, 100, 500);
  gestures.Start(2, 110, 100, 510);
  gestures.End(2, 520);
  MoveTo(1, 100, 200);  // the finger left behind drives nothing
  gestures.End(1, 530);
  Tap(3, 100, 100, 560, 20);  // nor makes a tap of the next
  EXPECT_EQ(sink.Take(), "");
}

}  // namespace
