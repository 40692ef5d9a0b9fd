// Reader for the registry editor's export format (.reg), the form the settings
// file takes off Windows. Pure: bytes in, the values of one key out, so it can
// be tested and fuzzed without files.
//
// Reads: "Windows Registry Editor Version 5.00" files (UTF-16LE with a BOM as
// the editor writes them, or UTF-8 with or without a BOM) and "REGEDIT4"
// files (8-bit text). Sections [KEY] and [-KEY]; values "name"=... and @=...
// as "string", dword:XXXXXXXX, hex:..., hex(N):... with backslash line
// continuations, and =- (value deleted). Lines it cannot read are skipped.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct RegFileValue {
  std::string name;                // unescaped; "" for the default value (@)
  std::uint32_t type;              // REG_SZ, REG_DWORD, REG_BINARY, or hex(N)'s N
  std::vector<std::uint8_t> data;  // the bytes RegQueryValueExA hands out
};

struct RegFileKey {
  bool found = false;  // a section opens the key (and no later [-...] removed it)
  std::vector<RegFileValue> values;
};

// The values of `keyPath` (a full path such as
// "HKEY_CURRENT_USER\\Software\\Example", compared case-insensitively) as the
// file defines them; a value defined twice keeps the later definition. A file
// without one of the two header lines defines nothing.
//
// String data comes out as the ANSI functions give it: the string's bytes
// (UTF-8 off Windows) plus a terminating NUL. In a version 5.00 file the
// hex(1), hex(2) and hex(7) data is UTF-16LE and is converted the same way.
RegFileKey ParseRegFileKey(const std::uint8_t* bytes, std::size_t size, const char* keyPath);

// Finds a value by name, case-insensitively (ASCII letters); null if absent.
const RegFileValue* FindRegFileValue(const RegFileKey& key, const char* name);
