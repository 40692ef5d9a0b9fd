#include "dump.h"

#include <cstring>

#include "sim/scene.h"

namespace {

void AppendHex(std::string* out, std::uint64_t bits, int digits) {
  static const char kHex[] = "0123456789abcdef";
  char text[16];
  for (int i = digits - 1; i >= 0; --i) {
    text[i] = kHex[bits & 15u];
    bits >>= 4;
  }
  out->append(text, static_cast<std::size_t>(digits));
}

void AppendInt(std::string* out, std::int64_t value) { *out += std::to_string(value); }

void AppendSpaceFloat(std::string* out, float value) {
  *out += ' ';
  AppendFloatBits(out, value);
}

void AppendSpaceDouble(std::string* out, double value) {
  *out += ' ';
  AppendDoubleBits(out, value);
}

void AppendSpaceInt(std::string* out, std::int64_t value) {
  *out += ' ';
  AppendInt(out, value);
}

}  // namespace

void AppendFloatBits(std::string* out, float value) {
  std::uint32_t bits = 0;
  std::memcpy(&bits, &value, sizeof bits);
  AppendHex(out, bits, 8);
}

void AppendDoubleBits(std::string* out, double value) {
  std::uint64_t bits = 0;
  std::memcpy(&bits, &value, sizeof bits);
  AppendHex(out, bits, 16);
}

void AppendSceneBlock(std::string* out, const Scene& scene, std::uint32_t frame, std::uint32_t tick) {
  *out += "frame";
  AppendSpaceInt(out, frame);
  *out += " tick";
  AppendSpaceInt(out, tick);

  const Camera& camera = scene.camera;
  *out += "\ncamera";
  AppendSpaceDouble(out, camera.targetX);
  AppendSpaceDouble(out, camera.targetY);
  AppendSpaceDouble(out, camera.targetZ);
  AppendSpaceDouble(out, camera.heading);
  AppendSpaceFloat(out, camera.pitch);
  AppendSpaceFloat(out, camera.turn);
  AppendSpaceFloat(out, camera.height);
  AppendSpaceFloat(out, camera.backDistance);

  *out += "\nzoom";
  AppendSpaceFloat(out, scene.zoomDistance);

  *out += "\nkeys";
  for (int slot = 0; slot < kKeySlotCount; ++slot) AppendSpaceInt(out, scene.keys.held[slot]);
  *out += '\n';

  for (int i = 0; i < kBallCount; ++i) {
    const Ball& ball = scene.balls[i];
    *out += "ball";
    AppendSpaceInt(out, i);
    AppendSpaceFloat(out, ball.x);
    AppendSpaceFloat(out, ball.z);
    AppendSpaceFloat(out, ball.vx);
    AppendSpaceFloat(out, ball.vz);
    AppendSpaceInt(out, ball.state);
    AppendSpaceInt(out, ball.cooldown);
    AppendSpaceInt(out, ball.pushCount);
    // The count is printed as it stands; only the entries that exist are read.
    const int entries = ball.pushCount < 0 ? 0 : (ball.pushCount > kPushCapacity ? kPushCapacity : ball.pushCount);
    for (int p = 0; p < entries; ++p) {
      AppendSpaceFloat(out, ball.pushes[p].dx);
      AppendSpaceFloat(out, ball.pushes[p].dz);
      AppendSpaceInt(out, ball.pushes[p].tick);
    }
    *out += '\n';
  }
}
