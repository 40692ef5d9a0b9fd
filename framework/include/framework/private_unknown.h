// CPrivateUnknown: the base of reference-counted objects that follow the COM
// rules and could be aggregated.
//
// The object's own QueryInterface/AddRef/Release only forward to its
// controlling unknown. The real (non-delegating) IUnknown is the nested
// CPrivateDefaultOuter, held as the first field; it counts, answers
// IID_IUnknown with its own address (the object's identity) and leaves every
// other IID to the derived class's PrivateQueryInterface.
//
// Objects are heap objects: `new Derived(...)` returns null when the heap
// refuses (or construct with placement new in a block from HeapAlloc), and
// the last Release deletes through the virtual destructor and gives the
// block back with HeapFree. An object on the stack must never see its last
// Release.
#pragma once

#include "framework/heap.h"
#include "win32.h"

class CPrivateUnknown : public IUnknown {
 public:
  class CPrivateDefaultOuter : public IUnknown {
   public:
    CPrivateDefaultOuter() = default;
    CPrivateDefaultOuter(const CPrivateDefaultOuter&) = delete;
    CPrivateDefaultOuter& operator=(const CPrivateDefaultOuter&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    virtual ~CPrivateDefaultOuter() {}

   private:
    // The owner is found from this object's place inside it.
    CPrivateUnknown* Owner();
  };

  FRAMEWORK_HEAP_OBJECT

  // outer: the aggregating object's IUnknown, or null when not aggregated
  // (the object's own default outer then controls it). Count starts at 1.
  explicit CPrivateUnknown(IUnknown* outer = nullptr);
  CPrivateUnknown(const CPrivateUnknown&) = delete;
  CPrivateUnknown& operator=(const CPrivateUnknown&) = delete;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  virtual ~CPrivateUnknown();

  // The derived class's lookup of its own interfaces. Never called with
  // IID_IUnknown or a null out pointer. On success: store the pointer, AddRef
  // through the object, S_OK. Otherwise E_NOINTERFACE, out untouched.
  virtual HRESULT PrivateQueryInterface(REFIID iid, void** object) = 0;
  // Reserved; nothing calls it.
  virtual HRESULT PrivateReserved();

  // The non-delegating IUnknown: the object's identity, and an aggregator's
  // handle on this object.
  IUnknown* GetDefaultOuter() { return &m_defaultOuter; }

 private:
  CPrivateDefaultOuter m_defaultOuter;
  LONG m_refCount;
  IUnknown* m_controllingUnknown;
};
