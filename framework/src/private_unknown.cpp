#include "framework/private_unknown.h"

#include <cstddef>

#include "framework/interface_ids.h"

CPrivateUnknown::CPrivateUnknown(IUnknown* outer)
    : m_defaultOuter(),
      m_refCount(1),
      m_controllingUnknown(outer != nullptr ? outer : &m_defaultOuter) {}

CPrivateUnknown::~CPrivateUnknown() {}

HRESULT STDMETHODCALLTYPE CPrivateUnknown::QueryInterface(REFIID iid, void** object) {
  return m_controllingUnknown->QueryInterface(iid, object);
}

ULONG STDMETHODCALLTYPE CPrivateUnknown::AddRef() { return m_controllingUnknown->AddRef(); }

ULONG STDMETHODCALLTYPE CPrivateUnknown::Release() { return m_controllingUnknown->Release(); }

HRESULT CPrivateUnknown::PrivateReserved() { return S_OK; }

CPrivateUnknown* CPrivateUnknown::CPrivateDefaultOuter::Owner() {
  // The class is not standard-layout (it has virtual functions), but it has
  // no virtual bases, so the field offset is a constant that GCC, Clang and
  // MSVC all compute.
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Winvalid-offsetof"
#endif
  constexpr std::size_t kOffset = offsetof(CPrivateUnknown, m_defaultOuter);
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif
  return reinterpret_cast<CPrivateUnknown*>(reinterpret_cast<char*>(this) - kOffset);
}

HRESULT STDMETHODCALLTYPE CPrivateUnknown::CPrivateDefaultOuter::QueryInterface(REFIID iid,
                                                                                void** object) {
  if (object == nullptr) {
    return E_POINTER;
  }
  if (IidEquals(iid, IID_IUnknown)) {
    *object = static_cast<IUnknown*>(this);
    InterlockedIncrement(&Owner()->m_refCount);
    return S_OK;
  }
  return Owner()->PrivateQueryInterface(iid, object);
}

ULONG STDMETHODCALLTYPE CPrivateUnknown::CPrivateDefaultOuter::AddRef() {
  return static_cast<ULONG>(InterlockedIncrement(&Owner()->m_refCount));
}

ULONG STDMETHODCALLTYPE CPrivateUnknown::CPrivateDefaultOuter::Release() {
  CPrivateUnknown* owner = Owner();
  const LONG count = InterlockedDecrement(&owner->m_refCount);
  if (count != 0) {
    return static_cast<ULONG>(count);
  }
  delete owner;
  return 0;
}
