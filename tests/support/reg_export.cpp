#include "reg_export.h"

#include <cstdio>

std::string ExportedValueLine(const char* name, DWORD type, const std::vector<BYTE>& data) {
  std::string line = "\"" + std::string(name) + "\"=";
  char hex[16];
  if (type == REG_DWORD && data.size() == 4) {
    std::snprintf(hex, sizeof hex, "dword:%02x%02x%02x%02x", data[3], data[2], data[1], data[0]);
    line += hex;
  } else {
    // The editor writes string types as stored: UTF-16 (ASCII here).
    const bool wide = type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ;
    line += type == REG_BINARY ? std::string("hex:") : "hex(" + std::to_string(type) + "):";
    for (std::size_t i = 0; i < data.size(); ++i) {
      std::snprintf(hex, sizeof hex, "%s%02x%s", i == 0 ? "" : ",", data[i], wide ? ",00" : "");
      line += hex;
    }
  }
  return line + "\r\n";
}

std::string ExportedKey(const std::string& valueLines) {
  return "Windows Registry Editor Version 5.00\r\n\r\n"
         "[HKEY_CURRENT_USER\\Software\\Vorlix\\Drovane]\r\n" +
         valueLines + "\r\n";
}
