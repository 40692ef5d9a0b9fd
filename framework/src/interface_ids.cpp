#include "framework/interface_ids.h"

#include <cstring>

extern const IID IID_IBaseWindow = {0x60BA8858, 0xE9C8, 0x4F22,
                                    {0xBD, 0x55, 0x36, 0x1C, 0xDF, 0x9B, 0xEC, 0x75}};

static_assert(sizeof(IID) == 16, "an IID is 16 bytes");

bool IidEquals(REFIID a, REFIID b) { return std::memcmp(&a, &b, sizeof(IID)) == 0; }
