#include "replay.h"

#include <cstdlib>
#include <string>

#include "dump.h"
#include "sim/scene.h"
#include "sim/seams.h"
#include "sim/update.h"

namespace {

// The seams take plain function pointers, so the scripted values live here.
DWORD g_clock = 0;
UINT g_wheelLines = 3;

DWORD ScriptedTick() { return g_clock; }

BOOL ScriptedWheelLines(UINT* lines) {
  *lines = g_wheelLines;
  return TRUE;
}

bool WriteBlock(std::string* text, const Scene& scene, std::uint32_t frame, std::uint32_t tick,
                std::FILE* out) {
  text->clear();
  AppendSceneBlock(text, scene, frame, tick);
  return std::fwrite(text->data(), 1, text->size(), out) == text->size();
}

}  // namespace

bool RunReplay(const ReplayOptions& options, const std::vector<ReplayEvent>& events, std::FILE* out) {
  g_clock = options.startTick;
  g_wheelLines = options.wheelLines;
  SetTickSource(ScriptedTick);
  SetWheelLinesSource(ScriptedWheelLines);

  // calloc only to keep the run free of stale memory; InitScene sets every
  // field the output shows.
  Scene* scene = static_cast<Scene*>(std::calloc(1, sizeof(Scene)));
  if (scene == nullptr) std::abort();
  InitScene(scene);

  std::string text;
  text.reserve(64 * 1024);
  bool ok = WriteBlock(&text, *scene, 0, options.startTick, out);

  std::size_t next = 0;
  const std::uint64_t frames = options.frames;
  for (std::uint64_t f = 1; f <= frames && ok; ++f) {
    const std::uint32_t frame = static_cast<std::uint32_t>(f);
    // T + f * M, wrapping at 32 bits like the tick itself.
    g_clock = options.startTick + frame * options.frameMs;
    for (; next < events.size() && events[next].frame == frame; ++next) {
      HandleSceneMessage(static_cast<WPARAM>(events[next].wParam), scene, events[next].message);
    }
    UpdateScene(scene);
    const bool dumpHere = f == frames || (options.dumpEvery != 0 && frame % options.dumpEvery == 0);
    if (dumpHere) ok = WriteBlock(&text, *scene, frame, g_clock, out);
  }

  std::free(scene);
  SetTickSource(nullptr);
  SetWheelLinesSource(nullptr);
  return ok;
}
