// The events file of drovane-sim: one scripted message a line,
// "FRAME MESSAGE WPARAM". Pure parsing; reading the file is separate.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct ReplayEvent {
  std::uint32_t frame;    // 1 ... frames, never decreasing
  std::uint32_t message;
  std::uint64_t wParam;   // handed to the Scene whole
};

// Parses the whole text of an events file. fileName only labels messages.
// On failure returns false with "fileName:line: what is wrong".
bool ParseEvents(const std::string& text, const std::string& fileName, std::uint32_t frames,
                 std::vector<ReplayEvent>* events, std::string* error);

// Reads a file whole, in binary. On failure returns false with a message.
bool ReadWholeFile(const std::string& path, std::string* text, std::string* error);
