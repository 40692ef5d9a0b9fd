// Reference counts, identity and delegation of CPrivateUnknown.
#include <gtest/gtest.h>

#include "counted_object.h"

namespace {

TEST(PrivateUnknownTest, CountsFromOneAndDestroysOnTheLastRelease) {
  bool destroyed = false;
  CountedObject* object = new CountedObject(&destroyed);
  ASSERT_NE(object, nullptr);
  EXPECT_EQ(object->AddRef(), 2u);
  EXPECT_EQ(object->Release(), 1u);
  EXPECT_FALSE(destroyed);
  EXPECT_EQ(object->Release(), 0u);
  EXPECT_TRUE(destroyed);
}

TEST(PrivateUnknownTest, CountsThroughEitherInterfaceAreShared) {
  bool destroyed = false;
  CountedObject* object = new CountedObject(&destroyed);
  EXPECT_EQ(object->Secondary()->AddRef(), 2u);
  EXPECT_EQ(object->Primary()->AddRef(), 3u);
  EXPECT_EQ(object->GetDefaultOuter()->AddRef(), 4u);
  EXPECT_EQ(object->Secondary()->Release(), 3u);
  EXPECT_EQ(object->GetDefaultOuter()->Release(), 2u);
  EXPECT_EQ(object->Primary()->Release(), 1u);
  EXPECT_EQ(object->Secondary()->Release(), 0u);
  EXPECT_TRUE(destroyed);
}

TEST(PrivateUnknownTest, IdentityIsTheDefaultOuterFromEveryInterface) {
  bool destroyed = false;
  CountedObject* object = new CountedObject(&destroyed);
  void* fromPrimary = nullptr;
  void* fromSecondary = nullptr;
  void* fromIdentity = nullptr;
  ASSERT_EQ(object->Primary()->QueryInterface(IID_IUnknown, &fromPrimary), S_OK);
  ASSERT_EQ(object->Secondary()->QueryInterface(IID_IUnknown, &fromSecondary), S_OK);
  ASSERT_EQ(object->GetDefaultOuter()->QueryInterface(IID_IUnknown, &fromIdentity), S_OK);
  EXPECT_EQ(fromPrimary, object->GetDefaultOuter());
  EXPECT_EQ(fromSecondary, fromPrimary);
  EXPECT_EQ(fromIdentity, fromPrimary);
  EXPECT_NE(fromPrimary, static_cast<void*>(object->Primary()));
  // Three successful queries added three references.
  EXPECT_EQ(object->AddRef(), 5u);
  for (int i = 0; i < 4; ++i) object->Release();
  EXPECT_FALSE(destroyed);
  EXPECT_EQ(static_cast<IUnknown*>(fromIdentity)->Release(), 0u);
  EXPECT_TRUE(destroyed);
}

TEST(PrivateUnknownTest, QueriesForOtherInterfacesReachTheDerivedLookup) {
  bool destroyed = false;
  CountedObject* object = new CountedObject(&destroyed);
  void* window = nullptr;
  ASSERT_EQ(object->Primary()->QueryInterface(IID_IOleWindow, &window), S_OK);
  EXPECT_EQ(window, static_cast<void*>(object->Secondary()));
  void* again = nullptr;
  ASSERT_EQ(object->Secondary()->QueryInterface(IID_IOleWindow, &again), S_OK);
  EXPECT_EQ(again, window);
  EXPECT_EQ(object->Release(), 2u);
  EXPECT_EQ(object->Release(), 1u);
  EXPECT_EQ(object->Release(), 0u);
  EXPECT_TRUE(destroyed);
}

TEST(PrivateUnknownTest, FailedQueriesLeaveCountAndOutPointerAlone) {
  bool destroyed = false;
  CountedObject* object = new CountedObject(&destroyed);
  EXPECT_EQ(object->QueryInterface(IID_IUnknown, nullptr), E_POINTER);
  EXPECT_EQ(object->QueryInterface(IID_IOleWindow, nullptr), E_POINTER);
  EXPECT_EQ(object->QueryInterface(IID_IBaseWindow, nullptr), E_POINTER);
  void* untouched = &destroyed;
  EXPECT_EQ(object->Secondary()->QueryInterface(IID_IBaseWindow, &untouched), E_NOINTERFACE);
  EXPECT_EQ(untouched, static_cast<void*>(&destroyed));
  EXPECT_EQ(object->PrivateReserved(), S_OK);
  EXPECT_EQ(object->AddRef(), 2u);
  object->Release();
  EXPECT_EQ(object->Release(), 0u);
  EXPECT_TRUE(destroyed);
}

TEST(InterfaceIdTest, ComparesAllSixteenBytes) {
  IID changed = IID_IOleWindow;
  EXPECT_TRUE(IidEquals(changed, IID_IOleWindow));
  changed.Data4[7] ^= 0x01;
  EXPECT_FALSE(IidEquals(changed, IID_IOleWindow));
  changed = IID_IUnknown;
  changed.Data1 = 1;
  EXPECT_FALSE(IidEquals(changed, IID_IUnknown));
  EXPECT_FALSE(IidEquals(IID_IUnknown, IID_IOleWindow));
  // {60BA8858-E9C8-4F22-BD55-361CDF9BEC75}
  EXPECT_EQ(IID_IBaseWindow.Data1, 0x60BA8858u);
  EXPECT_EQ(IID_IBaseWindow.Data2, 0xE9C8u);
  EXPECT_EQ(IID_IBaseWindow.Data3, 0x4F22u);
  const BYTE tail[8] = {0xBD, 0x55, 0x36, 0x1C, 0xDF, 0x9B, 0xEC, 0x75};
  for (int i = 0; i < 8; ++i) EXPECT_EQ(IID_IBaseWindow.Data4[i], tail[i]) << i;
}

// An aggregating object: it hands its own IUnknown to the inner object and
// keeps the inner's default outer as its handle on it, counting its own
// references apart from the inner's.
class CountingOuter : public IUnknown {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    ++queries;
    if (object == nullptr) return E_POINTER;
    if (IidEquals(iid, IID_IUnknown)) {
      *object = static_cast<IUnknown*>(this);
      AddRef();
      return S_OK;
    }
    return inner->QueryInterface(iid, object);  // the non-delegating unknown
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(++count); }
  ULONG STDMETHODCALLTYPE Release() override { return static_cast<ULONG>(--count); }

  IUnknown* inner = nullptr;
  int count = 1;
  int queries = 0;
};

TEST(PrivateUnknownTest, AnAggregatedObjectDelegatesToItsOuter) {
  CountingOuter outer;
  bool destroyed = false;
  CountedObject* object = new CountedObject(&destroyed, &outer);
  outer.inner = object->GetDefaultOuter();

  // The inner's interfaces count on the outer, not on themselves.
  EXPECT_EQ(object->Secondary()->AddRef(), 2u);
  EXPECT_EQ(object->Primary()->Release(), 1u);
  EXPECT_EQ(outer.count, 1);

  // IUnknown through an inner interface is the outer's identity.
  void* identity = nullptr;
  ASSERT_EQ(object->Secondary()->QueryInterface(IID_IUnknown, &identity), S_OK);
  EXPECT_EQ(identity, static_cast<void*>(&outer));
  EXPECT_EQ(outer.queries, 1);
  EXPECT_EQ(outer.count, 2);

  // Through the outer to the inner's lookup; the reference it adds goes to
  // the outer again, and the inner's own count does not move.
  void* window = nullptr;
  ASSERT_EQ(outer.QueryInterface(IID_IOleWindow, &window), S_OK);
  EXPECT_EQ(window, static_cast<void*>(object->Secondary()));
  EXPECT_EQ(outer.count, 3);
  EXPECT_EQ(outer.inner->AddRef(), 2u);  // inner count: 1 + this one
  EXPECT_EQ(outer.inner->Release(), 1u);

  // The inner's default outer answers IUnknown with itself.
  void* innerIdentity = nullptr;
  ASSERT_EQ(outer.inner->QueryInterface(IID_IUnknown, &innerIdentity), S_OK);
  EXPECT_EQ(innerIdentity, static_cast<void*>(outer.inner));
  EXPECT_EQ(outer.count, 3);

  EXPECT_EQ(outer.inner->Release(), 1u);
  EXPECT_FALSE(destroyed);
  EXPECT_EQ(outer.inner->Release(), 0u);  // the outer lets its inner go
  EXPECT_TRUE(destroyed);
}

}  // namespace
