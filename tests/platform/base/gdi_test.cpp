// GDI objects off Windows: handles that exist, are distinct and are counted.
#include <gtest/gtest.h>

#include <set>

#include "platform_posix_testing.h"
#include "win32.h"

namespace {

TEST(GdiObjectsTest, HandlesAreDistinctAndCountedUntilDeleted) {
  const int before = PlatformLiveGdiObjects();
  HBRUSH a = CreateSolidBrush(RGB(1, 2, 3));
  HBRUSH b = CreateSolidBrush(RGB(1, 2, 3));
  HPEN pen = CreatePen(PS_SOLID, 0, RGB(0, 0, 0));
  ASSERT_NE(a, nullptr);
  ASSERT_NE(b, nullptr);
  ASSERT_NE(pen, nullptr);
  std::set<void*> distinct{a, b, pen};
  EXPECT_EQ(distinct.size(), 3u);
  EXPECT_EQ(PlatformLiveGdiObjects(), before + 3);

  EXPECT_EQ(DeleteObject(b), TRUE);
  EXPECT_EQ(PlatformLiveGdiObjects(), before + 2);
  EXPECT_EQ(DeleteObject(b), FALSE);  // already gone
  // A handle made after a deletion never takes a deleted one's value, so a
  // stale handle cannot delete a live object.
  HBRUSH c = CreateSolidBrush(RGB(4, 5, 6));
  EXPECT_NE(c, b);
  EXPECT_EQ(DeleteObject(b), FALSE);
  EXPECT_EQ(PlatformLiveGdiObjects(), before + 3);

  EXPECT_EQ(DeleteObject(nullptr), FALSE);
  int notAnObject = 0;
  EXPECT_EQ(DeleteObject(&notAnObject), FALSE);
  EXPECT_EQ(PlatformLiveGdiObjects(), before + 3);

  EXPECT_EQ(DeleteObject(pen), TRUE);
  EXPECT_EQ(DeleteObject(a), TRUE);
  EXPECT_EQ(DeleteObject(c), TRUE);
  EXPECT_EQ(PlatformLiveGdiObjects(), before);
}

}  // namespace
