// The touch gestures' keys and wheel, natively.
#include "touch_gestures.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Records what the gestures send as "+38 -38 w120 ..." (key down, up, wheel).
class Record : public web_layer::GestureSink {
 public:
  void Key(WPARAM key, bool down) override { log += (down ? "+" : "-") + std::to_string(key) + " "; }
  void Wheel(int delta) override { log += "w" + std::to_string(delta) + " "; }
  std::string Take() { std::string out = log; log.clear(); return out; }
  std::string log;
};

class TouchGesturesTest : public ::testing::Test {
 protected:
  // One finger moved alone, in an event of its own.
  void MoveTo(long id, double x, double y) {
    gestures.Move(id, x, y);
    gestures.Moved();
  }
  Record sink;
  web_layer::TouchGestures gestures{&sink};
};

TEST_F(TouchGesturesTest, DragHoldsTheArrowsItPointsAtUntilTheFingerLifts) {
  gestures.Start(7, 100, 100, 0);
  MoveTo(7, 105, 95);  // within the tap radius: nothing yet
  EXPECT_EQ(sink.Take(), "");
  MoveTo(7, 100, 40);
  EXPECT_EQ(sink.Take(), "+38 ");  // up
  MoveTo(7, 150, 50);
  EXPECT_EQ(sink.Take(), "+39 ");  // up and right
  MoveTo(7, 160, 100);
  EXPECT_EQ(sink.Take(), "-38 ");  // right only
  MoveTo(7, 20, 110);
  EXPECT_EQ(sink.Take(), "-39 +37 ");  // left
  gestures.End(7, 900);
  EXPECT_EQ(sink.Take(), "-37 ");
}

TEST_F(TouchGesturesTest, TwoQuickTapsInOnePlaceAreR) {
  gestures.Start(1, 50, 50, 0);
  gestures.End(1, 100);
  gestures.Start(2, 200, 50, 200);  // too far from the first
  gestures.End(2, 250);
  EXPECT_EQ(sink.Take(), "");
  gestures.Start(3, 205, 55, 400);
  gestures.End(3, 450);
  EXPECT_EQ(sink.Take(), "+82 -82 ");
  gestures.Start(4, 205, 55, 500);  // a third tap starts a new pair
  gestures.End(4, 550);
  gestures.Start(5, 205, 55, 1200);  // too late for it
  gestures.End(5, 1250);
  gestures.Start(6, 205, 55, 1300);  // held too long
  gestures.End(6, 1700);
  EXPECT_EQ(sink.Take(), "");
}

TEST_F(TouchGesturesTest, TwoFingersPinchAndTiltButNeverDrag) {
  gestures.Start(1, 100, 100, 0);
  MoveTo(1, 100, 50);
  EXPECT_EQ(sink.Take(), "+38 ");
  gestures.Start(2, 200, 50, 10);  // a second finger ends the drag
  EXPECT_EQ(sink.Take(), "-38 ");
  MoveTo(2, 260, 50);  // spread: zoom in, held while it goes on
  MoveTo(2, 300, 50);
  EXPECT_EQ(sink.Take(), "+187 ");
  MoveTo(2, 200, 50);  // closing: zoom out
  EXPECT_EQ(sink.Take(), "-187 +189 ");
  gestures.StopZoom();
  EXPECT_EQ(sink.Take(), "-189 ");
  gestures.Move(1, 100, -15);  // both up by 65 in one event: two notches towards the user
  gestures.Move(2, 200, -15);
  gestures.Moved();
  EXPECT_EQ(sink.Take(), "w-120 w-120 ");
  gestures.End(2, 500);
  MoveTo(1, 100, 200);  // the finger left behind drives nothing
  gestures.End(1, 520);
  gestures.Start(3, 100, 100, 560);  // nor makes a tap of the next
  gestures.End(3, 580);
  EXPECT_EQ(sink.Take(), "");
}

TEST_F(TouchGesturesTest, CancelLetsGoOfEverythingHeld) {
  gestures.Start(1, 100, 100, 0);
  gestures.Start(2, 140, 100, 0);
  MoveTo(2, 200, 100);
  EXPECT_EQ(sink.Take(), "+187 ");
  gestures.Cancel();
  EXPECT_EQ(sink.Take(), "-187 ");
  gestures.Start(3, 100, 100, 10);
  MoveTo(3, 100, 200);
  gestures.Cancel();
  EXPECT_EQ(sink.Take(), "+40 -40 ");
}

}  // namespace
