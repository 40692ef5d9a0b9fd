// Key mapping without a display: the zoom keys follow the layout, the rest
// keeps its codes. Key codes are what SDL reports for each layout's key.
#include <gtest/gtest.h>

#include "sdl_internal.h"

namespace {

struct Case {
  const char* what;
  SDL_Scancode position;
  SDL_Keycode code;
  WPARAM virtualKey;
  unsigned scanCode;
};

TEST(KeymapTest, ZoomKeysFollowTheLayoutAndOthersKeepTheirCodes) {
  const Case cases[] = {
      {"us '=' / '+'", SDL_SCANCODE_EQUALS, '=', VK_OEM_PLUS, 0x0D},
      {"us '-'", SDL_SCANCODE_MINUS, '-', VK_OEM_MINUS, 0x0C},
      {"de '+'", SDL_SCANCODE_RIGHTBRACKET, '+', VK_OEM_PLUS, 0x1B},
      {"de '-'", SDL_SCANCODE_SLASH, '-', VK_OEM_MINUS, 0x35},
      {"de dead acute", SDL_SCANCODE_EQUALS, 0xB4, VK_OEM_8, 0x0D},
      {"de sharp s", SDL_SCANCODE_MINUS, 0xDF, VK_OEM_8, 0x0C},
      {"fr 6 as SDL reports it", SDL_SCANCODE_6, '6', '6', 0x07},
      {"fr 6 typing '-'", SDL_SCANCODE_6, '-', '6', 0x07},
      {"keypad '+'", SDL_SCANCODE_KP_PLUS, SDLK_KP_PLUS, VK_ADD, 0x4E},
      {"keypad '+' typing '+'", SDL_SCANCODE_KP_PLUS, '+', VK_ADD, 0x4E},
      {"up arrow", SDL_SCANCODE_UP, SDLK_UP, VK_UP, 0x48},
      {"de R", SDL_SCANCODE_R, 'r', 'R', 0x13},
      {"fr A on the US Q key", SDL_SCANCODE_Q, 'a', 'A', 0x10},
  };
  for (const Case& c : cases) {
    SDL_Keysym key{};
    key.scancode = c.position;
    key.sym = c.code;
    const sdl_layer::KeyInfo info = sdl_layer::MapKey(key);
    EXPECT_EQ(info.virtualKey, c.virtualKey) << c.what;
    EXPECT_EQ(info.scanCode, c.scanCode) << c.what;
  }
}

}  // namespace
