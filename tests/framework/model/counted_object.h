// A CPrivateUnknown object with a second interface (IOleWindow), for the
// object-model tests; needs no window manager.
#pragma once

#include "framework/interface_ids.h"
#include "framework/private_unknown.h"

class CountedObject : public CPrivateUnknown, public IOleWindow {
 public:
  CountedObject(bool* destroyed, IUnknown* outer = nullptr)
      : CPrivateUnknown(outer), m_destroyed(destroyed) {}
  ~CountedObject() override {
    if (m_destroyed != nullptr) *m_destroyed = true;
  }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    return CPrivateUnknown::QueryInterface(iid, object);
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return CPrivateUnknown::AddRef(); }
  ULONG STDMETHODCALLTYPE Release() override { return CPrivateUnknown::Release(); }

  HRESULT PrivateQueryInterface(REFIID iid, void** object) override {
    if (IidEquals(iid, IID_IOleWindow)) {
      *object = static_cast<IOleWindow*>(this);
      AddRef();
      return S_OK;
    }
    return E_NOINTERFACE;
  }

  HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override {
    *window = nullptr;
    return E_FAIL;
  }
  HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return S_FALSE; }

  IOleWindow* Secondary() { return static_cast<IOleWindow*>(this); }
  IUnknown* Primary() { return static_cast<CPrivateUnknown*>(this); }

 private:
  bool* m_destroyed;
};
