// Binding, message routing, handlers and the services of CBaseWindow.
#include <string>

#include "test_windows.h"

namespace {

class BaseWindowTest : public FakePlatformTest {
 protected:
  void SetUp() override {
    FakePlatformTest::SetUp();
    window = new TestBaseWindow(&destroyed);
    ASSERT_NE(window, nullptr);
  }
  void TearDown() override {
    if (!destroyed) {
      if (window->GetHandle() != nullptr) DestroyWindow(window->GetHandle());
      window->Release();
    }
  }
  HRESULT Create(DWORD style = WS_OVERLAPPEDWINDOW, int showCommand = SW_SHOW) {
    return window->CreateBaseWindow(kTestClass, style, 0, "Base", 10, 20, 300, 200, showCommand);
  }
  std::string Msg(UINT message) { return "OnMessage " + std::to_string(message); }

  TestBaseWindow* window = nullptr;
  bool destroyed = false;
};

TEST_F(BaseWindowTest, BindsOnNcCreateAndNothingEarlierReachesTheObject) {
  ASSERT_EQ(Create(), S_OK);
  HWND hwnd = window->GetHandle();
  ASSERT_NE(hwnd, nullptr);
  EXPECT_EQ(hwnd, fake::LastCreatedWindow());

  // WM_GETMINMAXINFO came first (the core's order) and went to
  // DefWindowProcA only.
  ASSERT_GE(fake::DefWindowProcMessages().size(), 2u);
  EXPECT_EQ(fake::DefWindowProcMessages()[0], static_cast<UINT>(WM_GETMINMAXINFO));
  EXPECT_EQ(fake::DefWindowProcMessages()[1], static_cast<UINT>(WM_NCCREATE));
  EXPECT_EQ(EventIndex(Msg(WM_GETMINMAXINFO)), -1);
  ASSERT_GE(g_events.size(), 3u);
  EXPECT_EQ(g_events[0], Msg(WM_NCCREATE));
  EXPECT_EQ(g_events[1], Msg(WM_CREATE));
  // An overlapped window's first WM_SIZE comes from ShowWindow in OnCreated.
  EXPECT_EQ(g_events[2], "OnCreated");
  EXPECT_GT(EventIndex(Msg(WM_SIZE)), 2);
  // WM_NCCREATE went on to default handling (TRUE), or there were no window.

  // Pointer-sized window data and the instance procedure.
  EXPECT_EQ(fake::CountCalls("SetWindowLongPtrA -21"), 1);
  EXPECT_EQ(fake::CountCalls("SetWindowLongPtrA -4"), 1);
  EXPECT_EQ(GetWindowLongPtrA(hwnd, GWLP_USERDATA),
            reinterpret_cast<LONG_PTR>(static_cast<CBaseWindow*>(window)));
  EXPECT_EQ(GetWindowLongPtrA(hwnd, GWLP_WNDPROC),
            reinterpret_cast<LONG_PTR>(&CBaseWindow::InstanceWndProc));

  const fake::WindowState state = fake::Window(hwnd);
  EXPECT_EQ(state.createParam, static_cast<void*>(static_cast<CBaseWindow*>(window)));
  EXPECT_EQ(state.instance, fake::ModuleHandle());
  EXPECT_EQ(state.menu, nullptr);
  EXPECT_EQ(state.title, "Base");
  // The window holds its own reference.
  EXPECT_EQ(RefCount(window), 2u);
}

TEST_F(BaseWindowTest, NcDestroyReachesOnMessageThenOnNcDestroyThenUnbinds) {
  ASSERT_EQ(Create(), S_OK);
  HWND hwnd = window->GetHandle();
  g_events.clear();
  EXPECT_EQ(window->Destroy(), S_OK);
  ASSERT_EQ(g_events.size(), 3u);
  EXPECT_EQ(g_events[0], Msg(WM_DESTROY));
  EXPECT_EQ(g_events[1], Msg(WM_NCDESTROY));
  EXPECT_EQ(g_events[2], "OnNcDestroy bound");
  EXPECT_EQ(window->handleAtNcDestroy, hwnd);
  EXPECT_EQ(window->GetHandle(), nullptr);
  EXPECT_FALSE(fake::Window(hwnd).exists);
  EXPECT_EQ(RefCount(window), 1u);
}

TEST_F(BaseWindowTest, TheWindowsReferenceKeepsTheObjectUntilNcDestroy) {
  ASSERT_EQ(Create(), S_OK);
  HWND hwnd = window->GetHandle();
  EXPECT_EQ(window->Release(), 1u);  // start-up lets go; the window holds on
  EXPECT_FALSE(destroyed);
  SendMessageA(hwnd, WM_CLOSE, 0, 0);  // default handling destroys the window
  EXPECT_TRUE(destroyed);
  EXPECT_EQ(g_events.back(), "TestBaseWindow destroyed");
  EXPECT_FALSE(fake::Window(hwnd).exists);
}

TEST_F(BaseWindowTest, HandledResultsAndDefaultProcessing) {
  ASSERT_EQ(Create(), S_OK);
  HWND hwnd = window->GetHandle();
  const UINT custom = WM_USER + 5;
  window->handledMessage = custom;
  window->writeResult = false;
  window->handledValue = 9;  // any non-zero counts
  EXPECT_EQ(SendMessageA(hwnd, custom, 0, 0), 0);
  window->writeResult = true;
  window->handledResult = 42;
  EXPECT_EQ(SendMessageA(hwnd, custom, 0, 0), 42);
  EXPECT_EQ(fake::CountCalls("DefWindowProcA " + std::to_string(custom)), 0);
  // Unhandled: default processing.
  SendMessageA(hwnd, WM_USER + 6, 0, 0);
  EXPECT_EQ(fake::CountCalls("DefWindowProcA " + std::to_string(WM_USER + 6)), 1);
}

TEST_F(BaseWindowTest, RouteMessageFlagsChooseTheStages) {
  ASSERT_EQ(Create(), S_OK);
  TestHandler handler("A", WM_USER + 1);
  ASSERT_EQ(window->AttachHandler(&handler), S_OK);
  g_events.clear();
  LRESULT result = 55;
  EXPECT_EQ(window->RouteMessage(ROUTE_SELF, WM_USER + 1, 0, 0, &result), 0);
  EXPECT_EQ(g_events, std::vector<std::string>{Msg(WM_USER + 1)});
  g_events.clear();
  EXPECT_EQ(window->RouteMessage(ROUTE_HANDLERS, WM_USER + 1, 0, 0, &result), 1);
  EXPECT_EQ(result, 7);
  EXPECT_EQ(g_events, std::vector<std::string>{"A OnWindowMessage 1025"});
  // Default handling only: called, but neither handled nor written.
  g_events.clear();
  result = 55;
  EXPECT_EQ(window->RouteMessage(ROUTE_DEFAULT, WM_USER + 2, 0, 0, &result), 0);
  EXPECT_EQ(result, 55);
  EXPECT_TRUE(g_events.empty());
  EXPECT_EQ(fake::CountCalls("DefWindowProcA " + std::to_string(WM_USER + 2)), 1);
  EXPECT_EQ(window->DetachHandler(&handler), S_OK);
}

TEST_F(BaseWindowTest, HandlersRunNewestFirstAndCanTakeAMessage) {
  ASSERT_EQ(Create(), S_OK);
  HWND hwnd = window->GetHandle();
  TestHandler a("A", WM_USER + 1);
  TestHandler b("B", WM_USER + 2);
  EXPECT_EQ(window->AttachHandler(&a), S_OK);
  EXPECT_EQ(window->AttachHandler(&b), S_OK);
  EXPECT_EQ(a.attachedTo, window);
  EXPECT_EQ(window->GetHandlerCount(), 2);

  g_events.clear();
  EXPECT_EQ(SendMessageA(hwnd, WM_USER + 2, 0, 0), 7);
  EXPECT_EQ(g_events, std::vector<std::string>{"B OnWindowMessage 1026"});

  g_events.clear();
  EXPECT_EQ(SendMessageA(hwnd, WM_USER + 1, 0, 0), 7);
  EXPECT_EQ(g_events,
            (std::vector<std::string>{"B OnWindowMessage 1025", "A OnWindowMessage 1025"}));

  g_events.clear();
  SendMessageA(hwnd, WM_USER + 3, 0, 0);
  EXPECT_EQ(g_events, (std::vector<std::string>{"B OnWindowMessage 1027",
                                                "A OnWindowMessage 1027", Msg(WM_USER + 3)}));

  g_events.clear();
  EXPECT_EQ(window->DetachHandler(&b), S_OK);
  EXPECT_EQ(g_events, std::vector<std::string>{"B OnDetach"});
  EXPECT_EQ(window->GetHandlerCount(), 1);
  g_events.clear();
  EXPECT_EQ(SendMessageA(hwnd, WM_USER + 2, 0, 0), 0);
  EXPECT_EQ(g_events, (std::vector<std::string>{"A OnWindowMessage 1026", Msg(WM_USER + 2)}));
  EXPECT_EQ(window->DetachHandler(&a), S_OK);
  EXPECT_EQ(window->GetHandlerCount(), 0);
}

TEST_F(BaseWindowTest, DetachingWhatIsNotAttachedChangesAndCallsNothing) {
  TestHandler a("A", 0);
  TestHandler b("B", 0);
  EXPECT_EQ(window->DetachHandler(&a), E_INVALIDARG);  // empty list
  EXPECT_EQ(window->AttachHandler(nullptr), E_INVALIDARG);
  EXPECT_EQ(window->DetachHandler(nullptr), E_INVALIDARG);
  ASSERT_EQ(window->AttachHandler(&a), S_OK);
  g_events.clear();
  EXPECT_EQ(window->DetachHandler(&b), E_INVALIDARG);
  EXPECT_TRUE(g_events.empty());
  EXPECT_EQ(window->GetHandlerCount(), 1);
  EXPECT_EQ(window->DetachHandler(&a), S_OK);
}

TEST_F(BaseWindowTest, AHandlerAttachedTwiceStandsTwiceAndTheDestructorDetachesAll) {
  TestHandler a("A", 0);
  TestHandler b("B", 0);
  ASSERT_EQ(window->AttachHandler(&a), S_OK);
  ASSERT_EQ(window->AttachHandler(&b), S_OK);
  ASSERT_EQ(window->AttachHandler(&a), S_OK);
  EXPECT_EQ(window->GetHandlerCount(), 3);
  g_events.clear();
  EXPECT_EQ(window->Release(), 0u);
  EXPECT_TRUE(destroyed);
  EXPECT_EQ(g_events, (std::vector<std::string>{"TestBaseWindow destroyed", "A OnDetach",
                                                "B OnDetach", "A OnDetach"}));
}

TEST_F(BaseWindowTest, ServicesWithoutAWindow) {
  HWND out = reinterpret_cast<HWND>(&destroyed);
  EXPECT_EQ(window->GetWindow(nullptr), E_INVALIDARG);
  EXPECT_EQ(window->GetWindow(&out), E_FAIL);
  EXPECT_EQ(out, nullptr);
  EXPECT_EQ(window->ContextSensitiveHelp(TRUE), S_FALSE);
  EXPECT_EQ(window->GetMenu(), nullptr);
  EXPECT_EQ(window->Show(SW_SHOW), E_HANDLE);
  EXPECT_EQ(window->Destroy(), E_FAIL);
  EXPECT_EQ(window->Invalidate(TRUE), E_FAIL);
  EXPECT_EQ(window->Move(0, 0, 10, 10, TRUE), E_FAIL);
  UINT timer = 0;
  EXPECT_EQ(window->StartTimer(10, &timer), E_FAIL);
  EXPECT_TRUE(fake::Calls().empty());
}

TEST_F(BaseWindowTest, ServicesWithAWindow) {
  ASSERT_EQ(Create(), S_OK);
  HWND hwnd = window->GetHandle();
  HWND out = nullptr;
  EXPECT_EQ(window->GetWindow(&out), S_OK);
  EXPECT_EQ(out, hwnd);
  EXPECT_EQ(window->Show(SW_MINIMIZE), S_OK);
  EXPECT_EQ(fake::Window(hwnd).lastShowCommand, SW_MINIMIZE);
  EXPECT_EQ(window->Invalidate(TRUE), S_OK);
  EXPECT_EQ(fake::CountCalls("InvalidateRect 1"), 1);
  EXPECT_EQ(window->Move(5, 6, 400, 300, FALSE), S_OK);
  EXPECT_EQ(fake::CountCalls("MoveWindow 5,6,400,300,0"), 1);
  fake::Inject(fake::Fault::InvalidateRect, 0);
  fake::Inject(fake::Fault::MoveWindow, 0);
  EXPECT_EQ(window->Invalidate(FALSE), E_FAIL);
  EXPECT_EQ(window->Move(5, 6, 400, 300, FALSE), E_FAIL);
}

TEST_F(BaseWindowTest, DestroyReportsARefusalAsSFalse) {
  ASSERT_EQ(Create(), S_OK);
  fake::Inject(fake::Fault::DestroyWindow, 5, true);
  EXPECT_EQ(window->Destroy(), S_FALSE);
  EXPECT_NE(window->GetHandle(), nullptr);
  EXPECT_TRUE(fake::Window(window->GetHandle()).exists);
  EXPECT_EQ(window->Destroy(), S_OK);
  EXPECT_EQ(window->GetHandle(), nullptr);
}

TEST_F(BaseWindowTest, MessageIdsComeFromTheirRangeWithOrWithoutAWindow) {
  EXPECT_EQ(window->FreeMessageId(1124), E_UNEXPECTED);
  UINT first = 0, second = 0, again = 0;
  EXPECT_EQ(window->AllocMessageId(&first), S_OK);
  EXPECT_EQ(window->AllocMessageId(&second), S_OK);
  EXPECT_EQ(first, 1124u);
  EXPECT_EQ(second, 1125u);
  EXPECT_EQ(window->FreeMessageId(first), S_OK);
  EXPECT_EQ(window->FreeMessageId(first), S_FALSE);
  EXPECT_EQ(window->AllocMessageId(&again), S_OK);
  EXPECT_EQ(again, 1124u);
}

TEST_F(BaseWindowTest, TimersUseTheirIdsAndKillTimerEvenForUnknownIds) {
  EXPECT_EQ(window->StopTimer(1000), E_UNEXPECTED);
  EXPECT_EQ(fake::CountCallsNamed("KillTimer"), 0);
  ASSERT_EQ(Create(), S_OK);
  HWND hwnd = window->GetHandle();
  UINT first = 0, second = 0;
  EXPECT_EQ(window->StartTimer(50, &first), S_OK);
  EXPECT_EQ(window->StartTimer(70, &second), S_OK);
  EXPECT_EQ(first, 1000u);
  EXPECT_EQ(second, 1001u);
  EXPECT_EQ(fake::CountCalls("SetTimer 1000,50"), 1);
  EXPECT_EQ(fake::Window(hwnd).timers, 2);
  EXPECT_EQ(window->StopTimer(first), S_OK);
  EXPECT_EQ(fake::CountCalls("KillTimer 1000"), 1);
  EXPECT_EQ(window->StopTimer(4242), S_FALSE);
  EXPECT_EQ(fake::CountCalls("KillTimer 4242"), 1);
  EXPECT_EQ(fake::Window(hwnd).timers, 1);
}

TEST_F(BaseWindowTest, AFailedSetTimerGivesTheIdBackAndNeverReportsSuccess) {
  ASSERT_EQ(Create(), S_OK);
  UINT timer = 0;
  fake::Inject(fake::Fault::SetTimer, ERROR_NOT_ENOUGH_MEMORY, true);
  EXPECT_EQ(window->StartTimer(10, &timer), static_cast<HRESULT>(0x80070008));
  fake::Inject(fake::Fault::SetTimer, 0, true);
  EXPECT_EQ(window->StartTimer(10, &timer), E_FAIL);
  // Both IDs went back: the next timer is the first of the range again.
  EXPECT_EQ(window->StartTimer(10, &timer), S_OK);
  EXPECT_EQ(timer, 1000u);
}

TEST_F(BaseWindowTest, CreateBaseWindowRefusesWithoutAClassOrWithAWindow) {
  EXPECT_EQ(window->CreateBaseWindow(nullptr, 0, 0, "x", 0, 0, 10, 10, SW_SHOW), E_UNEXPECTED);
  ASSERT_EQ(Create(), S_OK);
  fake::ClearCalls();
  EXPECT_EQ(Create(), E_UNEXPECTED);
  EXPECT_EQ(fake::CountCallsNamed("CreateWindowExA"), 0);
  EXPECT_EQ(fake::LiveWindows(), 1);
}

TEST_F(BaseWindowTest, FailedCreationLeavesTheObjectUnbound) {
  fake::Inject(fake::Fault::CreateWindow, ERROR_NOT_ENOUGH_MEMORY, true);
  EXPECT_EQ(Create(), static_cast<HRESULT>(0x80070008));
  fake::Inject(fake::Fault::CreateWindow, 0, true);
  EXPECT_EQ(Create(), E_ABORT);
  EXPECT_EQ(window->CreateBaseWindow("NoSuchClass", 0, 0, "x", 0, 0, 10, 10, SW_SHOW),
            static_cast<HRESULT>(0x8007057F));
  EXPECT_EQ(window->GetHandle(), nullptr);
  EXPECT_EQ(RefCount(window), 1u);
}

TEST_F(BaseWindowTest, ARefusalInWmCreateUnbindsThroughNcDestroy) {
  window->handledMessage = WM_CREATE;
  window->handledResult = -1;
  EXPECT_EQ(Create(), E_ABORT);
  EXPECT_NE(EventIndex("OnNcDestroy bound"), -1);
  EXPECT_EQ(EventIndex("OnCreated"), -1);
  EXPECT_EQ(window->GetHandle(), nullptr);
  EXPECT_EQ(fake::LiveWindows(), 0);
  EXPECT_EQ(RefCount(window), 1u);
}

TEST_F(BaseWindowTest, OnCreatedShowsAndUpdatesTopLevelWindowsOnly) {
  ASSERT_EQ(Create(WS_OVERLAPPEDWINDOW, SW_SHOWMAXIMIZED), S_OK);
  const int show = fake::FindCall("ShowWindow 3");
  ASSERT_NE(show, -1);
  EXPECT_GT(fake::FindCall("UpdateWindow"), show);
  ASSERT_EQ(window->Destroy(), S_OK);
  fake::ClearCalls();
  ASSERT_EQ(Create(WS_CHILD, SW_SHOW), S_OK);
  EXPECT_EQ(fake::CountCallsNamed("ShowWindow"), 0);
  EXPECT_EQ(fake::CountCallsNamed("UpdateWindow"), 0);
}

TEST_F(BaseWindowTest, AFailedOnCreatedDestroysTheWindowAndIsReturned) {
  window->onCreatedResult = E_OUTOFMEMORY;
  EXPECT_EQ(Create(), E_OUTOFMEMORY);
  EXPECT_EQ(window->GetHandle(), nullptr);
  EXPECT_EQ(fake::LiveWindows(), 0);
  EXPECT_EQ(RefCount(window), 1u);
  window->onCreatedResult = S_FALSE;  // not a failure: passed on, window kept
  EXPECT_EQ(Create(), S_FALSE);
  EXPECT_NE(window->GetHandle(), nullptr);
}

}  // namespace
