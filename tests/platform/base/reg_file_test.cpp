// The settings-file reader on bytes in memory: the formats the registry
// editor writes, continuations, names, deletions and damaged lines.
#include "reg_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "temp_settings.h"

namespace {

const char kKey[] = "HKEY_CURRENT_USER\\Software\\Vorlix\\Drovane";
const char kV5[] = "Windows Registry Editor Version 5.00\r\n\r\n";
const char kSection[] = "[HKEY_CURRENT_USER\\Software\\Vorlix\\Drovane]\r\n";

using Bytes = std::vector<std::uint8_t>;

RegFileKey Parse(const std::string& text, const char* key = kKey) {
  return ParseRegFileKey(reinterpret_cast<const std::uint8_t*>(text.data()), text.size(), key);
}

// The value's bytes, or {0xEE} when it is absent (distinct from every value
// the tests define).
Bytes DataOf(const RegFileKey& key, const char* name) {
  const RegFileValue* value = FindRegFileValue(key, name);
  return value != nullptr ? value->data : Bytes{0xEE};
}

std::uint32_t TypeOf(const RegFileKey& key, const char* name) {
  const RegFileValue* value = FindRegFileValue(key, name);
  return value != nullptr ? value->type : 0xEEEEEEEE;
}

TEST(RegFileTest, ReadsAnExportAsTheEditorWritesIt) {
  const std::string text = std::string(kV5) +
                           "[HKEY_CURRENT_USER\\Software\\Vorlix]\r\n"
                           "\"Color0\"=dword:00000001\r\n\r\n" +
                           kSection +
                           "\"Color0\"=dword:00c0ffee\r\n"
                           "\"Color1\"=hex:40,80,c0\r\n"
                           "\"Color2\"=hex(7):41,00,42,00,43,00,00,00\r\n"
                           "\"Color3\"=\"q\\\"b\\\\\"\r\n"
                           "\"Color4\"=hex(0):\r\n"
                           "@=\"def\"\r\n"
                           "\"Long\"=hex:00,01,02,03,04,05,06,07,08,09,0a,0b,0c,0d,0e,0f,10,11,12,13,\\\r\n"
                           "  14,15,16\r\n"
                           "\r\n"
                           "[HKEY_CURRENT_USER\\Software\\Vorlix\\Drovane\\Sub]\r\n"
                           "\"Color5\"=dword:00000005\r\n\r\n";
  const RegFileKey key = Parse(Utf16LeWithBom(text));
  ASSERT_TRUE(key.found);
  EXPECT_EQ(key.values.size(), 7u);  // nothing from the parent or the subkey
  EXPECT_EQ(DataOf(key, "Color0"), (Bytes{0xEE, 0xFF, 0xC0, 0x00}));
  EXPECT_EQ(TypeOf(key, "Color0"), 4u);
  EXPECT_EQ(DataOf(key, "Color1"), (Bytes{0x40, 0x80, 0xC0}));
  EXPECT_EQ(TypeOf(key, "Color1"), 3u);
  // Multi-string data is stored as UTF-16 and handed out as 8-bit text.
  EXPECT_EQ(DataOf(key, "Color2"), (Bytes{'A', 'B', 'C', 0}));
  EXPECT_EQ(TypeOf(key, "Color2"), 7u);
  EXPECT_EQ(DataOf(key, "Color3"), (Bytes{'q', '"', 'b', '\\', 0}));
  EXPECT_EQ(TypeOf(key, "Color3"), 1u);
  EXPECT_EQ(DataOf(key, "Color4"), Bytes{});
  EXPECT_EQ(TypeOf(key, "Color4"), 0u);
  EXPECT_EQ(DataOf(key, ""), (Bytes{'d', 'e', 'f', 0}));
  EXPECT_EQ(DataOf(key, nullptr), (Bytes{'d', 'e', 'f', 0}));
  Bytes counting(0x17);
  for (std::size_t i = 0; i < counting.size(); ++i) counting[i] = static_cast<std::uint8_t>(i);
  EXPECT_EQ(DataOf(key, "Long"), counting);
  EXPECT_EQ(DataOf(key, "Color5"), Bytes{0xEE});
}

TEST(RegFileTest, ReadsRegedit4AndUtf8Files) {
  const std::string body = std::string(kSection) +
                           "\"Color0\"=hex(2):41,42,43,00\r\n"
                           "\"Color1\"=\"\xC3\xA9t\xC3\xA9\"\r\n"
                           "\"Color2\"=dword:FF\r\n";
  // REGEDIT4 is 8-bit throughout: string-typed hex data is taken as it is.
  const RegFileKey r4 = Parse("REGEDIT4\r\n\r\n" + body);
  ASSERT_TRUE(r4.found);
  EXPECT_EQ(DataOf(r4, "Color0"), (Bytes{'A', 'B', 'C', 0}));
  EXPECT_EQ(DataOf(r4, "Color1"), (Bytes{0xC3, 0xA9, 't', 0xC3, 0xA9, 0}));
  EXPECT_EQ(DataOf(r4, "Color2"), (Bytes{0xFF, 0, 0, 0}));

  for (const std::string& bom : {std::string(), std::string("\xEF\xBB\xBF")}) {
    const RegFileKey v5 = Parse(bom + kV5 + body);
    ASSERT_TRUE(v5.found);
    // Version 5 string-typed hex data is UTF-16: the bytes pair up as
    // U+4241 and 'C'.
    EXPECT_EQ(DataOf(v5, "Color0"), (Bytes{0xE4, 0x89, 0x81, 'C'}));
    EXPECT_EQ(DataOf(v5, "Color1"), (Bytes{0xC3, 0xA9, 't', 0xC3, 0xA9, 0}));
  }
}

TEST(RegFileTest, ConvertsUtf16AsTheAnsiQueryWould) {
  // "a", U+00E9, U+1F600 (a surrogate pair), a lone high surrogate, an odd byte.
  const std::string text = std::string(kV5) + kSection +
                           "\"S\"=hex(1):61,00,e9,00,3d,d8,00,de,00,d8,00,00,7f\r\n";
  const RegFileKey key = Parse(text);
  EXPECT_EQ(DataOf(key, "S"),
            (Bytes{'a', 0xC3, 0xA9, 0xF0, 0x9F, 0x98, 0x80, 0xEF, 0xBF, 0xBD, 0}));

  // The same string as a quoted value in a UTF-16 file.
  std::string utf16 = Utf16LeWithBom(std::string(kV5) + kSection + "\"T\"=\"a");
  utf16 += std::string("\xe9\x00\x3d\xd8\x00\xde\x00\xd8", 8);
  utf16 += std::string("\"\x00\r\x00\n\x00", 6);
  EXPECT_EQ(DataOf(Parse(utf16), "T"),
            (Bytes{'a', 0xC3, 0xA9, 0xF0, 0x9F, 0x98, 0x80, 0xEF, 0xBF, 0xBD, 0}));
}

TEST(RegFileTest, ComparesNamesIgnoringCaseAndKeepsTheLastDefinition) {
  const std::string text = std::string(kV5) +
                           "[hkey_current_user\\SOFTWARE\\vorlix\\drovane]\n"
                           "\"color1\"=dword:00000001\n"
                           "\"COLOR1\"=dword:00000002\n"
                           "[HKEY_CURRENT_USER\\Software\\Vorlix\\Drovane]\n"
                           "\"Color2\"=dword:00000003\n";
  const RegFileKey key = Parse(text);
  ASSERT_TRUE(key.found);
  ASSERT_EQ(key.values.size(), 2u);
  EXPECT_EQ(DataOf(key, "Color1"), (Bytes{2, 0, 0, 0}));
  EXPECT_EQ(DataOf(key, "cOLOR2"), (Bytes{3, 0, 0, 0}));
  EXPECT_EQ(DataOf(key, "Color"), Bytes{0xEE});
  EXPECT_EQ(DataOf(key, "Color10"), Bytes{0xEE});
}

TEST(RegFileTest, FindsTheKeyOnlyUnderAHeaderAndItsOwnSection) {
  const std::string section = kSection;
  EXPECT_FALSE(Parse("").found);
  EXPECT_FALSE(Parse(section + "\"Color0\"=dword:00000001\r\n").found);  // no header
  EXPECT_FALSE(Parse("REGEDIT5\r\n" + section).found);
  EXPECT_FALSE(Parse(std::string(kV5)).found);
  EXPECT_FALSE(Parse(std::string(kV5) + "[HKEY_CURRENT_USER\\Software\\Vorlix\\Drovane\\Sub]\r\n").found);
  EXPECT_FALSE(Parse(std::string(kV5) + "[HKEY_CURRENT_USER\\Software\\Vorlix\\Drovan]\r\n").found);
  EXPECT_FALSE(Parse(std::string(kV5) + "[HKEY_LOCAL_MACHINE\\Software\\Vorlix\\Drovane]\r\n").found);
  EXPECT_FALSE(Parse(std::string(kV5) + "[HKEY_CURRENT_USER\\Software\\Vorlix\\Drovane\r\n").found);
  // UTF-16 big-endian is not a format the editor writes.
  std::string bigEndian = "\xFE\xFF";
  for (char c : std::string(kV5) + section) {
    bigEndian.push_back('\0');
    bigEndian.push_back(c);
  }
  EXPECT_FALSE(Parse(bigEndian).found);

  const RegFileKey empty = Parse("\r\n  \r\n" + std::string(kV5) + "  " + section);
  EXPECT_TRUE(empty.found);
  EXPECT_TRUE(empty.values.empty());
}

TEST(RegFileTest, DeletionsRemoveValuesAndKeys) {
  const std::string text = std::string(kV5) + kSection +
                           "\"A\"=dword:00000001\r\n"
                           "\"B\"=dword:00000002\r\n"
                           "\"a\"=-\r\n"
                           "\"Missing\"=-\r\n";
  const RegFileKey key = Parse(text);
  EXPECT_EQ(DataOf(key, "A"), Bytes{0xEE});
  EXPECT_EQ(DataOf(key, "B"), (Bytes{2, 0, 0, 0}));

  // Deleting the key or an ancestor removes what came before; a later
  // section makes the key again.
  EXPECT_FALSE(Parse(text + "[-HKEY_CURRENT_USER\\Software\\Vorlix\\Drovane]\r\n").found);
  EXPECT_FALSE(Parse(text + "[-hkey_current_user\\software\\vorlix]\r\n\"B\"=dword:1\r\n").found);
  EXPECT_TRUE(Parse(text + "[-HKEY_CURRENT_USER\\Software\\Vorlix\\Drovane\\Sub]\r\n").found);
  EXPECT_TRUE(Parse(text + "[-HKEY_CURRENT_USER\\Software\\Vorl]\r\n").found);
  const RegFileKey again = Parse(text + "[-HKEY_CURRENT_USER\\Software]\r\n" + kSection +
                                 "\"C\"=dword:00000003\r\n");
  ASSERT_TRUE(again.found);
  ASSERT_EQ(again.values.size(), 1u);
  EXPECT_EQ(DataOf(again, "C"), (Bytes{3, 0, 0, 0}));
}

TEST(RegFileTest, ContinuationsJoinHexDataAcrossLines) {
  const std::string text = std::string(kV5) + kSection +
                           "\"A\"=hex:\\\r\n"
                           "  01,\\\r\n"
                           "\t02 , 3,\\   \r\n"
                           "  FF\r\n"
                           "\"B\"=hex(b):0a,0b\r\n"
                           // A continuation with nothing after it is damaged...
                           "\"C\"=hex:01,\\\r\n"
                           // ...and the line it would have joined still counts.
                           "\"D\"=hex:04\r\n"
                           "\"E\"=hex:05,\\\r\n"
                           "[HKEY_CURRENT_USER\\Software\\Other]\r\n"
                           "\"F\"=hex:06\r\n"
                           "\"G\"=hex:07,\\\r\n";
  const RegFileKey key = Parse(text);
  EXPECT_EQ(DataOf(key, "A"), (Bytes{0x01, 0x02, 0x03, 0xFF}));
  EXPECT_EQ(TypeOf(key, "B"), 11u);
  EXPECT_EQ(DataOf(key, "B"), (Bytes{0x0A, 0x0B}));
  EXPECT_EQ(DataOf(key, "C"), Bytes{0xEE});
  EXPECT_EQ(DataOf(key, "D"), Bytes{0x04});
  EXPECT_EQ(DataOf(key, "E"), Bytes{0xEE});
  EXPECT_EQ(DataOf(key, "F"), Bytes{0xEE});  // belongs to the other key
  EXPECT_EQ(DataOf(key, "G"), Bytes{0xEE});
}

TEST(RegFileTest, ContinuedLinesOfOtherKeysAreNotReadAsLinesOfTheirOwn) {
  // A continuation line of another key's value that looks like a section.
  const std::string text = std::string(kV5) + "[HKEY_CURRENT_USER\\Software\\Other]\r\n" +
                           "\"X\"=hex:01,\\\r\n"
                           "  02\r\n" +
                           kSection + "\"A\"=dword:00000001\r\n";
  const RegFileKey key = Parse(text);
  ASSERT_TRUE(key.found);
  ASSERT_EQ(key.values.size(), 1u);
  EXPECT_EQ(DataOf(key, "A"), (Bytes{1, 0, 0, 0}));
}

TEST(RegFileTest, SkipsDamagedLinesAndKeepsTheRest) {
  const char* const damaged[] = {
      "\"V\"=hex:1,,2",          "\"V\"=hex:01 02",       "\"V\"=hex:100",
      "\"V\"=hex:0g",            "\"V\"=hex(7:01",        "\"V\"=hex(zz):01",
      "\"V\"=hex(123456789):01", "\"V\"=hex()01",         "\"V\"=hexa:01",
      "\"V\"=dword:123456789",   "\"V\"=dword:",          "\"V\"=dword:12 34",
      "\"V\"=dword:-1",          "\"V\"=\"open",          "\"V\"=\"text\" trailing",
      "\"V\"=text",              "\"V\"=",                "\"V\" \"W\"=dword:1",
      "\"V",                     "V=dword:00000001",      "\"V\"=-x",
      "\"V\"=hex:\\",            "\"V\"=dword:0000000\\", "=dword:00000001",
  };
  for (const char* line : damaged) {
    SCOPED_TRACE(line);
    const std::string text = std::string(kV5) + kSection + "\"V\"=dword:00000007\r\n" + line +
                             "\r\n\"After\"=dword:00000009\r\n";
    const RegFileKey key = Parse(text);
    // The damaged line changes nothing: the earlier V stays, the next line reads.
    EXPECT_EQ(DataOf(key, "V"), (Bytes{7, 0, 0, 0}));
    EXPECT_EQ(DataOf(key, "After"), (Bytes{9, 0, 0, 0}));
  }
}

TEST(RegFileTest, AcceptsTheLooserSpellingsTheEditorAccepts) {
  const std::string text = std::string(kV5) + kSection +
                           "  \"A\" = dword:0000abcd  \r\n"
                           "\"B\"=DWORD:1\r\n"
                           "\"C\"=HEX(7):41,00,00,00\r\n"
                           "\"D\"=hex:a,B,\r\n"
                           "; \"E\"=dword:00000001\r\n"
                           "\"F\"=\"C:\\temp\"\r\n"
                           "\"G\\\\\\\"\"=dword:2\r\n";
  const RegFileKey key = Parse(text);
  EXPECT_EQ(DataOf(key, "A"), (Bytes{0xCD, 0xAB, 0, 0}));
  EXPECT_EQ(DataOf(key, "B"), (Bytes{1, 0, 0, 0}));
  EXPECT_EQ(DataOf(key, "C"), (Bytes{'A', 0}));
  EXPECT_EQ(DataOf(key, "D"), (Bytes{0x0A, 0x0B}));
  EXPECT_EQ(DataOf(key, "E"), Bytes{0xEE});
  EXPECT_EQ(DataOf(key, "F"), (Bytes{'C', ':', '\\', 't', 'e', 'm', 'p', 0}));
  EXPECT_EQ(DataOf(key, "G\\\""), (Bytes{2, 0, 0, 0}));
}

}  // namespace
