#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "render/camera.h"
#include "sim/update.h"
#include "sim_fixture.h"

namespace {

class InputTest : public SimTest {
 protected:
  std::unique_ptr<Scene> scene = QuietScene();
  int Send(UINT message, WPARAM wParam) { return HandleSceneMessage(wParam, scene.get(), message); }
  // The Scene's bytes, padding included, to show that nothing was touched.
  std::vector<unsigned char> Bytes() const {
    std::vector<unsigned char> bytes(sizeof(Scene));
    std::memcpy(bytes.data(), scene.get(), sizeof(Scene));
    return bytes;
  }
  static WPARAM Wheel(short delta) {
    return static_cast<WPARAM>(static_cast<DWORD>(static_cast<WORD>(delta)) << 16);
  }
};

TEST_F(InputTest, KeyDownMarksTheSlotOfEachSteeringAndZoomKey) {
  struct Case {
    WPARAM key;
    int slot;
  };
  const Case cases[] = {
      {VK_UP, kKeyUp},          {VK_DOWN, kKeyDown},         {VK_LEFT, kKeyLeft},
      {VK_RIGHT, kKeyRight},    {VK_ADD, kKeyZoomIn},        {VK_OEM_PLUS, kKeyZoomIn},
      {VK_SUBTRACT, kKeyZoomOut}, {VK_OEM_MINUS, kKeyZoomOut},
  };
  for (const Case& c : cases) {
    auto fresh = QuietScene();
    now = 3000 + static_cast<DWORD>(c.key);
    EXPECT_EQ(HandleSceneMessage(c.key, fresh.get(), WM_KEYDOWN), 1) << c.key;
    for (int s = 0; s < kKeySlotCount; ++s) {
      EXPECT_EQ(fresh->keys.held[s], s == c.slot ? 1 : 0) << c.key << " slot " << s;
    }
    EXPECT_EQ(fresh->keys.pressTick[c.slot], now);

    now += 500;
    EXPECT_EQ(HandleSceneMessage(c.key, fresh.get(), WM_KEYUP), 1) << c.key;
    EXPECT_EQ(fresh->keys.held[c.slot], 0);
    EXPECT_EQ(fresh->keys.pressTick[c.slot], now - 500);  // stays
  }
}

TEST_F(InputTest, OtherKeysAndMessagesAreNotHandled) {
  const std::vector<unsigned char> before = Bytes();
  EXPECT_EQ(Send(WM_KEYDOWN, 'A'), 0);
  EXPECT_EQ(Send(WM_KEYUP, 'A'), 0);
  EXPECT_EQ(Send(WM_KEYDOWN, VK_RETURN), 0);
  EXPECT_EQ(Send(WM_CHAR, 'x'), 0);
  EXPECT_EQ(Send(WM_CHAR, '+'), 0);
  EXPECT_EQ(Send(WM_PAINT, VK_UP), 0);
  // The whole wParam is the key: extra high bits make it another key.
  EXPECT_EQ(Send(WM_KEYDOWN, static_cast<WPARAM>(0x10026)), 0);
  EXPECT_EQ(Bytes(), before);
}

TEST_F(InputTest, TheRKeyIsSwallowedAndOnlyItsCharacterResets) {
  const std::vector<unsigned char> before = Bytes();
  EXPECT_EQ(Send(WM_KEYDOWN, 'R'), 1);
  EXPECT_EQ(Send(WM_KEYUP, 'R'), 1);
  EXPECT_EQ(Bytes(), before);

  for (WPARAM ch : {WPARAM{'r'}, WPARAM{'R'}}) {
    auto s = QuietScene();
    s->zoomDistance = 700.0f;
    SetOrbit(&s->camera, 55.0f, 700.0f);
    s->keys.held[kKeyDown] = 1;
    s->keys.pressTick[kKeyDown] = 12;
    now = 4321;
    EXPECT_EQ(HandleSceneMessage(ch, s.get(), WM_CHAR), 1);
    auto reference = StartedScene(4321);
    EXPECT_EQ(s->balls[0].x, reference->balls[0].x);  // a new game seeded by the tick
    EXPECT_EQ(s->balls[255].z, reference->balls[255].z);
    EXPECT_EQ(s->balls[1].state, kBallChaser);
    EXPECT_EQ(s->camera.targetX, static_cast<double>(s->balls[0].x));
    EXPECT_EQ(s->camera.targetZ, static_cast<double>(s->balls[0].z));
    EXPECT_EQ(s->camera.pitch, 55.0f);
    EXPECT_EQ(s->zoomDistance, 700.0f);
    EXPECT_EQ(s->keys.held[kKeyDown], 1);
    EXPECT_EQ(s->keys.pressTick[kKeyDown], 12u);
  }
}

TEST_F(InputTest, AutoRepeatKeepsThePressTickAndANewPressTakesANewOne) {
  now = 1000;
  Send(WM_KEYDOWN, VK_LEFT);
  now = 1500;
  EXPECT_EQ(Send(WM_KEYDOWN, VK_LEFT), 1);
  EXPECT_EQ(scene->keys.pressTick[kKeyLeft], 1000u);
  now = 1600;
  Send(WM_KEYUP, VK_LEFT);
  now = 1700;
  EXPECT_EQ(Send(WM_KEYUP, VK_LEFT), 1);  // a second key-up changes nothing
  EXPECT_EQ(scene->keys.held[kKeyLeft], 0);
  EXPECT_EQ(scene->keys.pressTick[kKeyLeft], 1000u);
  now = 2000;
  Send(WM_KEYDOWN, VK_LEFT);
  EXPECT_EQ(scene->keys.pressTick[kKeyLeft], 2000u);

  RecordKeyPress(kKeyZoomOut, scene.get());
  EXPECT_EQ(scene->keys.held[kKeyZoomOut], 1);
  EXPECT_EQ(scene->keys.pressTick[kKeyZoomOut], 2000u);

  // A slot number outside 0 ... 5 marks nothing.
  const std::vector<unsigned char> before = Bytes();
  RecordKeyPress(-1, scene.get());
  RecordKeyPress(kKeySlotCount, scene.get());
  EXPECT_EQ(Bytes(), before);
}

TEST_F(InputTest, WheelTiltsByLinesPerNotchWithinLevelAndStraightDown) {
  struct Case {
    float pitch;
    short delta;
    UINT lines;
    float after;
  };
  const Case cases[] = {
      {40.0f, 120, 3, 37.0f},   // one notch away from the user
      {40.0f, -120, 3, 43.0f},  // one notch towards the user
      {1.0f, 120, 3, 0.0f},     // not -2
      {89.0f, -120, 3, 90.0f},  // not 92
      {40.0f, 40, 3, 39.0f},    // a fine-resolution wheel
      {40.0f, 120, 1, 39.0f},
      {40.0f, 240, 6, 28.0f},
      {45.0f, -32768, 3, 90.0f},
      {45.0f, 32767, 3, 0.0f},
  };
  for (const Case& c : cases) {
    auto s = QuietScene();
    s->zoomDistance = 300.0f;
    SetOrbit(&s->camera, c.pitch, 300.0f);
    wheelLines = c.lines;
    EXPECT_EQ(HandleSceneMessage(Wheel(c.delta), s.get(), WM_MOUSEWHEEL), 0);
    EXPECT_EQ(s->camera.pitch, c.after) << c.pitch << " " << c.delta << " " << c.lines;
    Camera expected{};
    SetOrbit(&expected, c.after, 300.0f);
    EXPECT_EQ(s->camera.height, expected.height);
    EXPECT_EQ(s->camera.backDistance, expected.backDistance);
    EXPECT_EQ(s->zoomDistance, 300.0f);
  }
}

TEST_F(InputTest, WheelIgnoresTheLowWordAndBitsAboveTheHighWord) {
  const WPARAM noisy = Wheel(120) | 0x0008u | (static_cast<WPARAM>(1) << 40);
  EXPECT_EQ(Send(WM_MOUSEWHEEL, noisy), 0);
  EXPECT_EQ(scene->camera.pitch, 37.0f);
}

TEST_F(InputTest, WheelSettingsThatTurnScrollingOffLeaveThePitchAlone) {
  for (UINT lines : {0u, static_cast<UINT>(WHEEL_PAGESCROLL)}) {
    auto s = QuietScene();
    s->camera.height = 123.0f;  // would be overwritten by any SetOrbit
    wheelLines = lines;
    EXPECT_EQ(HandleSceneMessage(Wheel(120), s.get(), WM_MOUSEWHEEL), 0);
    EXPECT_EQ(s->camera.pitch, 40.0f);
    EXPECT_EQ(s->camera.height, 123.0f);
  }
}

TEST_F(InputTest, AFailedWheelQueryMeansThreeLines) {
  wheelLinesOk = FALSE;  // and leaves garbage in the out value
  EXPECT_EQ(Send(WM_MOUSEWHEEL, Wheel(120)), 0);
  EXPECT_EQ(scene->camera.pitch, 37.0f);
}

}  // namespace
