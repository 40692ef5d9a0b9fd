#include "settings_store.h"

void SettingsStore::PutDword(const char* name, DWORD value) {
  Put(name, REG_DWORD,
      {static_cast<BYTE>(value), static_cast<BYTE>(value >> 8), static_cast<BYTE>(value >> 16),
       static_cast<BYTE>(value >> 24)});
}
