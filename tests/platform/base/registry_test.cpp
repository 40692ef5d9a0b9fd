// The registry off Windows, through real settings files: where the file is
// looked for, the RegQueryValueExA contract, handles, and that the file is
// only ever read.
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>

#include "temp_settings.h"
#include "win32.h"

namespace {

namespace fs = std::filesystem;

const char kSubKey[] = "Software\\Vorlix\\Drovane";
const std::string kFile =
    "Windows Registry Editor Version 5.00\r\n\r\n"
    "[HKEY_CURRENT_USER\\Software\\Vorlix\\Drovane]\r\n"
    "\"Color3\"=dword:00ff0000\r\n"
    "\"Name\"=\"abc\"\r\n"
    "@=hex:01\r\n"
    "\r\n"
    "[HKEY_CURRENT_USER\\Software\\Vorlix\\Drovane\\Sub]\r\n"
    "\"Inner\"=dword:00000002\r\n";

LONG Open(HKEY* key) { return RegOpenKeyExA(HKEY_CURRENT_USER, kSubKey, 0, KEY_READ, key); }

// The DWORD in Color3, or 0xEEEEEEEE when the query fails.
DWORD ReadColor3(HKEY key) {
  DWORD value = 0;
  DWORD size = sizeof value;
  if (RegQueryValueExA(key, "Color3", nullptr, nullptr, reinterpret_cast<BYTE*>(&value), &size) !=
      ERROR_SUCCESS) {
    return 0xEEEEEEEE;
  }
  return value;
}

std::string ReadAll(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST(RegistryTest, KeyIsMissingWithoutTheFileOrItsSection) {
  TempSettingsHome home;
  HKEY key = reinterpret_cast<HKEY>(&home);
  EXPECT_EQ(Open(&key), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(key, nullptr);

  home.Write("Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\Software\\Vorlix]\r\n");
  EXPECT_EQ(Open(&key), ERROR_FILE_NOT_FOUND);

  // A directory where the file should be, and a FIFO, which must not block.
  fs::remove(home.SettingsFile());
  fs::create_directory(home.SettingsFile());
  EXPECT_EQ(Open(&key), ERROR_FILE_NOT_FOUND);
  fs::remove(home.SettingsFile());
  ASSERT_EQ(mkfifo(home.SettingsFile().c_str(), 0600), 0);
  EXPECT_EQ(Open(&key), ERROR_FILE_NOT_FOUND);
  fs::remove(home.SettingsFile());

  EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, kSubKey, 0, KEY_READ, nullptr),
            ERROR_INVALID_PARAMETER);
}

TEST(RegistryTest, LooksInXdgConfigHomeThenInHomeConfig) {
  TempSettingsHome home;
  const fs::path homeFile = home.root() / "home" / ".config" / "drovane" / "settings.reg";
  home.WriteAt(homeFile, kFile);
  HKEY key = nullptr;
  // XDG_CONFIG_HOME is set, and its file is missing: HOME is not consulted.
  EXPECT_EQ(Open(&key), ERROR_FILE_NOT_FOUND);

  for (const char* xdg : {"", "relative/dir"}) {  // unusable: fall back to HOME
    SCOPED_TRACE(xdg);
    setenv("XDG_CONFIG_HOME", xdg, 1);
    ASSERT_EQ(Open(&key), ERROR_SUCCESS);
    EXPECT_EQ(ReadColor3(key), 0x00FF0000u);
    EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
  }
  unsetenv("XDG_CONFIG_HOME");
  ASSERT_EQ(Open(&key), ERROR_SUCCESS);
  EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
  unsetenv("HOME");
  EXPECT_EQ(Open(&key), ERROR_FILE_NOT_FOUND);
}

TEST(RegistryTest, QueryFollowsTheWin32Contract) {
  TempSettingsHome home;
  home.Write(Utf16LeWithBom(kFile));
  HKEY key = nullptr;
  ASSERT_EQ(Open(&key), ERROR_SUCCESS);
  ASSERT_NE(key, nullptr);

  DWORD type = 99, size = 0;
  // The size alone, and the type, without a buffer.
  EXPECT_EQ(RegQueryValueExA(key, "name", nullptr, &type, nullptr, &size), ERROR_SUCCESS);
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(size, 4u);
  EXPECT_EQ(RegQueryValueExA(key, "Name", nullptr, nullptr, nullptr, nullptr), ERROR_SUCCESS);

  // Too small: ERROR_MORE_DATA with the size needed; the type is still told.
  char buffer[8] = {};
  size = 3;
  type = 99;
  EXPECT_EQ(RegQueryValueExA(key, "NAME", nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size),
            ERROR_MORE_DATA);
  EXPECT_EQ(size, 4u);
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));

  // Exactly large enough, then larger: the bytes and their count.
  for (DWORD room : {4u, 8u}) {
    size = room;
    std::fill(std::begin(buffer), std::end(buffer), 'x');
    EXPECT_EQ(RegQueryValueExA(key, "Name", nullptr, nullptr, reinterpret_cast<BYTE*>(buffer), &size),
              ERROR_SUCCESS);
    EXPECT_EQ(size, 4u);
    EXPECT_EQ(std::string(buffer, 5), std::string("abc\0x", 5));
  }

  // The default value by empty and by null name.
  BYTE one = 0;
  size = 1;
  EXPECT_EQ(RegQueryValueExA(key, nullptr, nullptr, &type, &one, &size), ERROR_SUCCESS);
  EXPECT_EQ(one, 1);
  EXPECT_EQ(type, static_cast<DWORD>(REG_BINARY));
  EXPECT_EQ(RegQueryValueExA(key, "", nullptr, nullptr, nullptr, &size), ERROR_SUCCESS);

  // Absent values, including those of the subkey; and misuse.
  size = sizeof buffer;
  EXPECT_EQ(RegQueryValueExA(key, "Color0", nullptr, nullptr, reinterpret_cast<BYTE*>(buffer), &size),
            ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(RegQueryValueExA(key, "Inner", nullptr, nullptr, nullptr, &size), ERROR_FILE_NOT_FOUND);
  DWORD reserved = 0;
  EXPECT_EQ(RegQueryValueExA(key, "Name", &reserved, nullptr, nullptr, &size),
            ERROR_INVALID_PARAMETER);
  EXPECT_EQ(RegQueryValueExA(key, "Name", nullptr, nullptr, reinterpret_cast<BYTE*>(buffer), nullptr),
            ERROR_INVALID_PARAMETER);
  EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
}

TEST(RegistryTest, HandlesKeepWhatTheyReadUntilClosed) {
  TempSettingsHome home;
  home.Write(kFile);
  HKEY first = nullptr, second = nullptr, sub = nullptr;
  ASSERT_EQ(Open(&first), ERROR_SUCCESS);
  // Changing or removing the file does not change an open key.
  home.Write(std::string(kFile).replace(kFile.find("00ff0000"), 8, "00000001"));
  ASSERT_EQ(Open(&second), ERROR_SUCCESS);
  fs::remove(home.SettingsFile());
  EXPECT_NE(first, second);
  EXPECT_EQ(ReadColor3(first), 0x00FF0000u);
  EXPECT_EQ(ReadColor3(second), 0x00000001u);

  EXPECT_EQ(RegCloseKey(first), ERROR_SUCCESS);
  EXPECT_EQ(ReadColor3(first), 0xEEEEEEEEu);  // closed: refused, not followed
  EXPECT_EQ(RegCloseKey(first), ERROR_INVALID_HANDLE);
  EXPECT_EQ(ReadColor3(second), 0x00000001u);

  // Subkeys open relative to an open key, from the file as it is now.
  home.Write(kFile);
  ASSERT_EQ(RegOpenKeyExA(second, "sub", 0, KEY_READ, &sub), ERROR_SUCCESS);
  DWORD inner = 0, size = sizeof inner;
  EXPECT_EQ(RegQueryValueExA(sub, "Inner", nullptr, nullptr, reinterpret_cast<BYTE*>(&inner), &size),
            ERROR_SUCCESS);
  EXPECT_EQ(inner, 2u);
  EXPECT_EQ(RegCloseKey(sub), ERROR_SUCCESS);
  EXPECT_EQ(RegCloseKey(second), ERROR_SUCCESS);
  EXPECT_EQ(RegOpenKeyExA(second, "Sub", 0, KEY_READ, &sub), ERROR_INVALID_HANDLE);
  EXPECT_EQ(RegCloseKey(HKEY_CURRENT_USER), ERROR_SUCCESS);
}

TEST(RegistryTest, NeverCreatesOrWritesTheFile) {
  TempSettingsHome home;
  HKEY key = nullptr;
  EXPECT_EQ(Open(&key), ERROR_FILE_NOT_FOUND);
  EXPECT_TRUE(fs::is_empty(home.root() / "xdg"));
  EXPECT_TRUE(fs::is_empty(home.root() / "home"));

  home.Write(kFile);
  ASSERT_EQ(chmod(home.SettingsFile().c_str(), 0400), 0);  // a write would have to fail
  const auto written = fs::last_write_time(home.SettingsFile());
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  ASSERT_EQ(Open(&key), ERROR_SUCCESS);
  EXPECT_EQ(ReadColor3(key), 0x00FF0000u);
  EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
  EXPECT_EQ(ReadAll(home.SettingsFile()), kFile);
  EXPECT_EQ(fs::last_write_time(home.SettingsFile()), written);
  EXPECT_EQ(std::distance(fs::directory_iterator(home.SettingsFile().parent_path()),
                          fs::directory_iterator()),
            1);
}

}  // namespace
