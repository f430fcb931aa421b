#pragma once
// Synchronisation objects: critical section, mutex, event, and a lock that
// releases what it holds when it goes out of scope.
#include "afx.h"

class CSyncObject : public CObject {
  DECLARE_DYNAMIC(CSyncObject)

 public:
  explicit CSyncObject(CStrArg pstrName);
  ~CSyncObject() override;
  CSyncObject(const CSyncObject&) = delete;
  CSyncObject& operator=(const CSyncObject&) = delete;

  HANDLE m_hObject = nullptr;
  operator HANDLE() const { return m_hObject; }  // NOLINT

  // TRUE when acquired within dwTimeout milliseconds.
  virtual BOOL Lock(DWORD dwTimeout = INFINITE);
  virtual BOOL Unlock() = 0;
  virtual BOOL Unlock(LONG /*lCount*/, LPLONG /*lpPrevCount*/ = nullptr) { return TRUE; }
};

class CCriticalSection : public CSyncObject {
  DECLARE_DYNAMIC(CCriticalSection)

 public:
  CCriticalSection();
  ~CCriticalSection() override;

  operator CRITICAL_SECTION*() { return &m_sect; }  // NOLINT
  BOOL Lock() { ::EnterCriticalSection(&m_sect); return TRUE; }
  // A critical section has no timeout: any value waits.
  BOOL Lock(DWORD dwTimeout) override;
  BOOL Unlock() override { ::LeaveCriticalSection(&m_sect); return TRUE; }

  CRITICAL_SECTION m_sect;
};

class CMutex : public CSyncObject {
  DECLARE_DYNAMIC(CMutex)

 public:
  explicit CMutex(BOOL bInitiallyOwn = FALSE, CStrArg lpszName = nullptr,
                  LPSECURITY_ATTRIBUTES lpsaAttribute = nullptr);
  BOOL Unlock() override { return ::ReleaseMutex(m_hObject); }
};

class CEvent : public CSyncObject {
  DECLARE_DYNAMIC(CEvent)

 public:
  explicit CEvent(BOOL bInitiallyOwn = FALSE, BOOL bManualReset = FALSE, CStrArg lpszName = nullptr,
                  LPSECURITY_ATTRIBUTES lpsaAttribute = nullptr);
  BOOL SetEvent() { return ::SetEvent(m_hObject); }
  BOOL ResetEvent() { return ::ResetEvent(m_hObject); }
  BOOL PulseEvent() { return ::PulseEvent(m_hObject); }
  BOOL Unlock() override { return TRUE; }
};

class CSemaphore : public CSyncObject {
  DECLARE_DYNAMIC(CSemaphore)

 public:
  explicit CSemaphore(LONG lInitialCount = 1, LONG lMaxCount = 1, CStrArg pstrName = nullptr,
                      LPSECURITY_ATTRIBUTES lpsaAttributes = nullptr);
  BOOL Unlock() override { return Unlock(1, nullptr); }
  BOOL Unlock(LONG lCount, LPLONG lprevCount = nullptr) override {
    return ::ReleaseSemaphore(m_hObject, lCount, lprevCount);
  }
};

// Holds one synchronisation object; unlocks it when destroyed.
class CSingleLock {
 public:
  explicit CSingleLock(CSyncObject* pObject, BOOL bInitialLock = FALSE);
  ~CSingleLock() { Unlock(); }
  CSingleLock(const CSingleLock&) = delete;
  CSingleLock& operator=(const CSingleLock&) = delete;

  BOOL Lock(DWORD dwTimeOut = INFINITE);
  BOOL Unlock();
  BOOL IsLocked() const { return m_bAcquired; }

 private:
  CSyncObject* m_pObject;
  BOOL m_bAcquired = FALSE;
};
