// Folding Win32 error codes into HRESULTs.
#include <gtest/gtest.h>

#include "framework/hresult.h"

namespace {

TEST(HResultTest, FoldsPositiveCodesAndPassesZeroAndNegativesOn) {
  EXPECT_EQ(FoldWin32Error(ERROR_INVALID_PIXEL_FORMAT), static_cast<HRESULT>(0x800707D0));
  EXPECT_EQ(FoldWin32Error(534), static_cast<HRESULT>(0x80070216));
  EXPECT_EQ(FoldWin32Error(0x12345678), static_cast<HRESULT>(0x80075678));  // low 16 bits
  EXPECT_EQ(FoldWin32Error(0), 0);
  EXPECT_EQ(FoldWin32Error(0x8007000Eu), E_OUTOFMEMORY);
}

TEST(HResultTest, AFailedCallNeverReadsAsSuccess) {
  SetLastError(0);
  EXPECT_EQ(HResultFromFailedCall(), E_FAIL);
  EXPECT_EQ(HResultFromFailedWindowCreation(), E_ABORT);
  SetLastError(ERROR_NOT_ENOUGH_MEMORY);
  EXPECT_EQ(HResultFromFailedCall(), static_cast<HRESULT>(0x80070008));
  EXPECT_EQ(HResultFromFailedWindowCreation(), static_cast<HRESULT>(0x80070008));
  SetLastError(0);
}

}  // namespace
