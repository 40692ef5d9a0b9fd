// The text the registry editor exports for the colour settings key: what the
// settings-file stores (the file off Windows, localStorage in the page) write.
#pragma once

#include <string>
#include <vector>

#include "win32.h"

// One value's line, CRLF included: "name"=dword:… or "name"=hex(…):….
std::string ExportedValueLine(const char* name, DWORD type, const std::vector<BYTE>& data);

// The whole export of the key holding these value lines.
std::string ExportedKey(const std::string& valueLines);
