// TArray as a sorted ID set, and the allocation and release of IDs.
#include <gtest/gtest.h>

#include <vector>

#include "framework/id_set.h"

namespace {

std::vector<unsigned int> Values(const IdSet* set) {
  std::vector<unsigned int> values;
  if (set == nullptr) return values;
  for (int i = 0; i < set->GetCount(); ++i) values.push_back((*set)[i]);
  return values;
}

class IdSetTest : public ::testing::Test {
 protected:
  void TearDown() override { delete set; }
  IdSet* set = nullptr;
};

TEST(ArrayTest, InsertsAtAnyPlaceAndRemovesDownToNoStorage) {
  IdSet* array = new IdSet();
  ASSERT_NE(array, nullptr);
  EXPECT_EQ(array->GetData(), nullptr);
  EXPECT_EQ(array->InsertAt(0, 5u), S_OK);
  EXPECT_EQ(array->InsertAt(0, 1u), S_OK);
  EXPECT_EQ(array->InsertAt(2, 9u), S_OK);
  EXPECT_EQ(array->InsertAt(1, 3u), S_OK);
  EXPECT_EQ(Values(array), (std::vector<unsigned int>{1, 3, 5, 9}));
  EXPECT_EQ(array->InsertAt(5, 0u), E_INVALIDARG);
  EXPECT_EQ(array->InsertAt(-1, 0u), E_INVALIDARG);
  EXPECT_EQ(array->RemoveAt(1), S_OK);
  EXPECT_EQ(array->RemoveAt(2), S_OK);
  EXPECT_EQ(Values(array), (std::vector<unsigned int>{1, 5}));
  EXPECT_EQ(array->RemoveAt(0), S_OK);
  EXPECT_EQ(array->RemoveAt(0), S_OK);
  EXPECT_EQ(array->GetCount(), 0);
  EXPECT_EQ(array->GetData(), nullptr);
  EXPECT_EQ(array->RemoveAt(0), E_INVALIDARG);
  delete array;
}

TEST(ArrayTest, ByteSizeRefusesWhatASigned32BitSizeCannotHold) {
  SIZE_T bytes = 0;
  EXPECT_EQ(IdSet::ByteSize(0x1FFFFFFF, &bytes), S_OK);
  EXPECT_EQ(bytes, static_cast<SIZE_T>(0x7FFFFFFC));
  bytes = 7;
  EXPECT_EQ(IdSet::ByteSize(0x20000000, &bytes), static_cast<HRESULT>(0x80070216));
  EXPECT_EQ(bytes, static_cast<SIZE_T>(7));
  EXPECT_EQ(IdSet::ByteSize(0x7FFFFFFFLL + 1, &bytes), static_cast<HRESULT>(0x80070216));
}

TEST_F(IdSetTest, FirstAllocationCreatesTheSetAndReturnsLow) {
  unsigned int id = 0;
  EXPECT_EQ(AllocateId(&set, &id, 1000, 10000), S_OK);
  ASSERT_NE(set, nullptr);
  EXPECT_EQ(id, 1000u);
  EXPECT_EQ(Values(set), (std::vector<unsigned int>{1000}));
}

TEST_F(IdSetTest, AReleasedIdIsHandedOutBeforeAnyHigherOne) {
  unsigned int a = 0, b = 0, c = 0, again = 0;
  ASSERT_EQ(AllocateId(&set, &a, 1000, 10000), S_OK);
  ASSERT_EQ(AllocateId(&set, &b, 1000, 10000), S_OK);
  ASSERT_EQ(AllocateId(&set, &c, 1000, 10000), S_OK);
  EXPECT_EQ(a, 1000u);
  EXPECT_EQ(b, 1001u);
  EXPECT_EQ(c, 1002u);
  EXPECT_EQ(ReleaseId(set, b), S_OK);
  EXPECT_EQ(Values(set), (std::vector<unsigned int>{1000, 1002}));
  ASSERT_EQ(AllocateId(&set, &again, 1000, 10000), S_OK);
  EXPECT_EQ(again, 1001u);
  EXPECT_EQ(Values(set), (std::vector<unsigned int>{1000, 1001, 1002}));
}

TEST_F(IdSetTest, AnExhaustedRangeFailsAndAddsNothing) {
  unsigned int id = 0;
  for (unsigned int expected = 5; expected < 8; ++expected) {
    ASSERT_EQ(AllocateId(&set, &id, 5, 8), S_OK);
    EXPECT_EQ(id, expected);
  }
  id = 77;
  EXPECT_EQ(AllocateId(&set, &id, 5, 8), E_FAIL);
  EXPECT_EQ(id, 77u);
  EXPECT_EQ(Values(set), (std::vector<unsigned int>{5, 6, 7}));
}

TEST_F(IdSetTest, AnEmptyRangeFailsAtOnceButCreatesTheSet) {
  unsigned int id = 77;
  EXPECT_EQ(AllocateId(&set, &id, 1000, 1000), E_FAIL);
  ASSERT_NE(set, nullptr);
  EXPECT_EQ(set->GetCount(), 0);
  EXPECT_EQ(id, 77u);
}

TEST_F(IdSetTest, ReleasingTheOnlyIdLeavesAnEmptySetThatStartsAgainAtLow) {
  unsigned int id = 0;
  ASSERT_EQ(AllocateId(&set, &id, 1124, 32768), S_OK);
  EXPECT_EQ(ReleaseId(set, id), S_OK);
  ASSERT_NE(set, nullptr);
  EXPECT_EQ(set->GetCount(), 0);
  EXPECT_EQ(set->GetData(), nullptr);
  ASSERT_EQ(AllocateId(&set, &id, 1124, 32768), S_OK);
  EXPECT_EQ(id, 1124u);
}

TEST_F(IdSetTest, ReleasingAnAbsentIdReportsSFalseAndChangesNothing) {
  EXPECT_EQ(ReleaseId(set, 1000), E_UNEXPECTED);
  unsigned int id = 0;
  ASSERT_EQ(AllocateId(&set, &id, 10, 20), S_OK);
  ASSERT_EQ(AllocateId(&set, &id, 10, 20), S_OK);
  ASSERT_EQ(ReleaseId(set, 10), S_OK);
  EXPECT_EQ(ReleaseId(set, 10), S_FALSE);  // below every value
  EXPECT_EQ(ReleaseId(set, 15), S_FALSE);  // above every value
  EXPECT_EQ(Values(set), (std::vector<unsigned int>{11}));
  // The lowest gap is found even below the values held.
  ASSERT_EQ(AllocateId(&set, &id, 10, 20), S_OK);
  EXPECT_EQ(id, 10u);
  ASSERT_EQ(AllocateId(&set, &id, 10, 20), S_OK);
  EXPECT_EQ(id, 12u);
  EXPECT_EQ(Values(set), (std::vector<unsigned int>{10, 11, 12}));
}

TEST_F(IdSetTest, RangesReachingTheTopOfUnsignedStillWork) {
  unsigned int id = 0;
  ASSERT_EQ(AllocateId(&set, &id, 0xFFFFFFFDu, 0xFFFFFFFFu), S_OK);
  ASSERT_EQ(AllocateId(&set, &id, 0xFFFFFFFDu, 0xFFFFFFFFu), S_OK);
  EXPECT_EQ(id, 0xFFFFFFFEu);
  EXPECT_EQ(AllocateId(&set, &id, 0xFFFFFFFDu, 0xFFFFFFFFu), E_FAIL);
}

}  // namespace
