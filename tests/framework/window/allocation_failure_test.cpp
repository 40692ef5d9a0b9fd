// What a refused heap allocation does to objects, ID sets and handler lists.
#include <vector>

#include "test_windows.h"

namespace {

using AllocationFailureTest = FakePlatformTest;

std::vector<unsigned int> Values(const IdSet* set) {
  std::vector<unsigned int> values;
  for (int i = 0; i < set->GetCount(); ++i) values.push_back((*set)[i]);
  return values;
}

TEST_F(AllocationFailureTest, AnObjectThatCannotBeAllocatedIsNull) {
  const int blocks = fake::LiveBlocks();
  fake::FailAllocation(1);
  EXPECT_EQ(new TestGLWindow(), nullptr);
  EXPECT_EQ(fake::LiveBlocks(), blocks);
  TestGLWindow* window = new TestGLWindow();
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(fake::LiveBlocks(), blocks + 1);
  window->Release();
  EXPECT_EQ(fake::LiveBlocks(), blocks);
}

TEST_F(AllocationFailureTest, PlacementConstructionInAHeapBlockIsFreedByTheLastRelease) {
  const int blocks = fake::LiveBlocks();
  void* block = HeapAlloc(GetProcessHeap(), 0, sizeof(TestBaseWindow));
  ASSERT_NE(block, nullptr);
  bool destroyed = false;
  TestBaseWindow* window = new (block) TestBaseWindow(&destroyed);
  EXPECT_EQ(window->Release(), 0u);
  EXPECT_TRUE(destroyed);
  EXPECT_EQ(fake::LiveBlocks(), blocks);
}

TEST_F(AllocationFailureTest, ASetThatCannotBeCreatedLeavesThePointerNull) {
  IdSet* set = nullptr;
  unsigned int id = 5;
  fake::FailAllocation(1);
  EXPECT_EQ(AllocateId(&set, &id, 1000, 10000), E_OUTOFMEMORY);
  EXPECT_EQ(set, nullptr);
  EXPECT_EQ(id, 5u);
}

TEST_F(AllocationFailureTest, StorageThatCannotGrowLeavesTheSetAsItWas) {
  const int blocks = fake::LiveBlocks();
  IdSet* set = nullptr;
  unsigned int id = 0;
  fake::FailAllocation(2);  // the set object, then its first storage
  EXPECT_EQ(AllocateId(&set, &id, 1000, 10000), E_OUTOFMEMORY);
  ASSERT_NE(set, nullptr);
  EXPECT_EQ(set->GetCount(), 0);
  EXPECT_EQ(id, 0u);
  ASSERT_EQ(AllocateId(&set, &id, 1000, 10000), S_OK);
  ASSERT_EQ(AllocateId(&set, &id, 1000, 10000), S_OK);
  id = 0;
  fake::FailAllocation(1);
  EXPECT_EQ(AllocateId(&set, &id, 1000, 10000), E_OUTOFMEMORY);
  EXPECT_EQ(id, 0u);
  EXPECT_EQ(Values(set), (std::vector<unsigned int>{1000, 1001}));
  delete set;
  EXPECT_EQ(fake::LiveBlocks(), blocks);
}

TEST_F(AllocationFailureTest, AShrinkThatCannotBeHadKeepsTheLargerBlock) {
  IdSet* set = nullptr;
  unsigned int id = 0;
  for (int i = 0; i < 3; ++i) ASSERT_EQ(AllocateId(&set, &id, 1, 100), S_OK);
  const unsigned int* before = set->GetData();
  fake::FailAllocation(1);
  EXPECT_EQ(ReleaseId(set, 2), S_OK);
  EXPECT_EQ(set->GetData(), before);
  EXPECT_EQ(Values(set), (std::vector<unsigned int>{1, 3}));
  ASSERT_EQ(AllocateId(&set, &id, 1, 100), S_OK);
  EXPECT_EQ(id, 2u);
  EXPECT_EQ(Values(set), (std::vector<unsigned int>{1, 2, 3}));
  delete set;
}

TEST_F(AllocationFailureTest, HandlerListsThatCannotBeAllocated) {
  TestBaseWindow* window = new TestBaseWindow();
  ASSERT_NE(window, nullptr);
  TestHandler a("A", 0);
  TestHandler b("B", 0);
  ASSERT_EQ(window->AttachHandler(&a), S_OK);
  g_events.clear();
  fake::FailAllocation(1);
  EXPECT_EQ(window->AttachHandler(&b), E_OUTOFMEMORY);
  EXPECT_TRUE(g_events.empty());  // no OnAttach
  EXPECT_EQ(window->GetHandlerCount(), 1);

  ASSERT_EQ(window->AttachHandler(&b), S_OK);
  fake::FailAllocation(1);  // the smaller list: the old one stays in use
  EXPECT_EQ(window->DetachHandler(&b), S_OK);
  EXPECT_EQ(window->GetHandlerCount(), 1);
  EXPECT_EQ(b.attachedTo, nullptr);
  EXPECT_EQ(window->DetachHandler(&b), E_INVALIDARG);
  EXPECT_EQ(window->DetachHandler(&a), S_OK);
  window->Release();
}

TEST_F(AllocationFailureTest, IdsThatCannotBeStoredAreNotHandedOut) {
  TestBaseWindow* window = new TestBaseWindow();
  ASSERT_NE(window, nullptr);
  ASSERT_EQ(window->CreateBaseWindow(kTestClass, WS_OVERLAPPEDWINDOW, 0, "x", 0, 0, 100, 100,
                                     SW_SHOW),
            S_OK);
  UINT id = 0;
  fake::FailAllocation(1);
  EXPECT_EQ(window->AllocMessageId(&id), E_OUTOFMEMORY);
  fake::ClearCalls();
  fake::FailAllocation(1);
  EXPECT_EQ(window->StartTimer(10, &id), E_OUTOFMEMORY);
  EXPECT_EQ(fake::CountCallsNamed("SetTimer"), 0);
  EXPECT_EQ(window->Destroy(), S_OK);
  window->Release();
}

TEST_F(AllocationFailureTest, AWindowsWholeLifeGivesBackEveryBlock) {
  const int blocks = fake::LiveBlocks();
  TestGLWindow* window = new TestGLWindow();
  ASSERT_NE(window, nullptr);
  TestHandler handler("H", 0);
  ASSERT_EQ(CreateGL(window, FALSE), S_OK);
  ASSERT_EQ(window->AttachHandler(&handler), S_OK);
  UINT id = 0;
  ASSERT_EQ(window->AllocMessageId(&id), S_OK);
  ASSERT_EQ(window->StartTimer(5, &id), S_OK);
  ASSERT_EQ(window->SwitchScreenMode(TRUE, 1024, 768), S_OK);
  ASSERT_EQ(window->Destroy(), S_OK);
  EXPECT_EQ(window->Release(), 0u);
  EXPECT_EQ(fake::LiveBlocks(), blocks);
}

}  // namespace
