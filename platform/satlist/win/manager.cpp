#include <windows.h>

#include "file_io.h"
#include "objects.h"
#include "orb_common/Log.h"
#include "satlist/satlist_xml.h"
#include "satlist/xml.h"

namespace orb::satlist {
namespace {

const HRESULT kNotFound = HRESULT_FROM_WIN32(ERROR_NOT_FOUND);

// A path argument: not empty, no embedded zero.
bool ToPath(BSTR text, std::wstring& path) {
  const UINT length = ::SysStringLen(text);
  path.assign(text ? text : L"", length);
  return length > 0 && path.find(L'\0') == std::wstring::npos;
}

// A name argument that a satellite may have.
bool ToName(BSTR text, std::string& name) { return ToUtf8(text, name) && IsValidSatelliteName(name); }

}  // namespace

STDMETHODIMP CSatListManager::EnumSatellites(long /*flags*/, long which,
                                             IEnumSatellites** satellites) {
  if (!satellites) return E_POINTER;
  *satellites = nullptr;
  if (which != 0 && which != 1) return E_INVALIDARG;
  std::vector<Satellite> values;
  {
    std::lock_guard<std::mutex> lock(m_);
    for (const Satellite& s : list_.Satellites())
      if (which == 0 || s.selected) values.push_back(s);
  }
  return CEnumSatellites::Make(std::move(values), satellites);
}

STDMETHODIMP CSatListManager::FindSatellite(BSTR name, ISatellite** satellite) {
  if (!satellite) return E_POINTER;
  *satellite = nullptr;
  std::string key;
  if (!ToName(name, key)) return kNotFound;
  Satellite value;
  {
    std::lock_guard<std::mutex> lock(m_);
    const Satellite* found = list_.Find(key);
    if (!found) return kNotFound;
    value = *found;
  }
  return CSatellite::Make(value, satellite);
}

STDMETHODIMP CSatListManager::StoreSatellite(ISatellite* satellite) {
  if (!satellite) return E_POINTER;
  Satellite value;
  if (!CSatellite::ValueOf(satellite, value)) return E_INVALIDARG;
  std::lock_guard<std::mutex> lock(m_);
  list_.Store(value);
  return S_OK;
}

STDMETHODIMP CSatListManager::DeleteSatellite(BSTR name) {
  std::string key;
  if (!ToName(name, key)) return kNotFound;
  std::lock_guard<std::mutex> lock(m_);
  return list_.Delete(key) ? S_OK : kNotFound;
}

STDMETHODIMP CSatListManager::CreateSatellite(BSTR name, ISatellite** satellite) {
  if (!satellite) return E_POINTER;
  *satellite = nullptr;
  Satellite value;
  if (!ToName(name, value.name)) return E_INVALIDARG;
  return CSatellite::Make(value, satellite);
}

STDMETHODIMP CSatListManager::GetSatelliteCount(long* count) {
  if (!count) return E_POINTER;
  std::lock_guard<std::mutex> lock(m_);
  *count = static_cast<long>(list_.Count());
  return S_OK;
}

STDMETHODIMP CSatListManager::Load(BSTR pathText) {
  std::wstring path;
  if (!ToPath(pathText, path)) return E_INVALIDARG;
  CLog& log = ManagerLog();
  std::string data;
  const DWORD rc = ReadWholeFile(path, data, xml::kMaxInput);
  if (rc == ERROR_FILE_NOT_FOUND || rc == ERROR_PATH_NOT_FOUND) {
    log.Log(2, "No satellite list at %S", path.c_str());
    return HRESULT_FROM_WIN32(rc);
  }
  if (rc != ERROR_SUCCESS) {
    log.Log(1, "Failed to read satellite list %S: error %lu; it will be kept as a backup "
               "before the list is saved there", path.c_str(), rc);
    return HRESULT_FROM_WIN32(rc);
  }
  SatelliteList read;
  std::string error;
  if (!ReadSatListXml(data, read, error)) {
    log.Log(1, "Satellite list %S is not readable (%s); it will be kept as a backup before "
               "the list is saved there", path.c_str(), error.c_str());
    return HRESULT_FROM_WIN32(ERROR_INVALID_DATA);
  }
  const size_t count = read.Count();
  {
    std::lock_guard<std::mutex> lock(m_);
    list_ = std::move(read);
  }
  log.Log(2, "Loaded %u satellites from %S", static_cast<unsigned>(count), path.c_str());
  return S_OK;
}

STDMETHODIMP CSatListManager::Save(BSTR pathText) {
  std::wstring path;
  if (!ToPath(pathText, path)) return E_INVALIDARG;
  if (IsDirectory(path)) return HRESULT_FROM_WIN32(ERROR_DIRECTORY);
  CLog& log = ManagerLog();
  std::string document;
  size_t count = 0;
  {
    std::lock_guard<std::mutex> lock(m_);
    document = WriteSatListXml(list_);
    count = list_.Count();
  }

  // What stands there now is replaced only when it is a list we can read:
  // anything else (a damaged file, a hand edit gone wrong, a file that
  // cannot be read) is kept beside it first.
  std::string existing;
  std::string reason;
  const DWORD readRc = ReadWholeFile(path, existing, xml::kMaxInput);
  if (readRc == ERROR_SUCCESS) {
    SatelliteList old;
    if (!ReadSatListXml(existing, old, reason)) reason = "not a readable list: " + reason;
  } else if (readRc != ERROR_FILE_NOT_FOUND && readRc != ERROR_PATH_NOT_FOUND) {
    reason = "cannot be read: error " + std::to_string(readRc);
  }
  if (!reason.empty()) {
    const std::wstring backup = FreeBackupName(path);
    if (backup.empty() || !::MoveFileExW(path.c_str(), backup.c_str(), MOVEFILE_WRITE_THROUGH)) {
      const DWORD err = backup.empty() ? ERROR_FILE_EXISTS : ::GetLastError();
      log.Log(1, "Satellite list %S (%s) could not be kept as a backup (error %lu); "
                 "it is not overwritten", path.c_str(), reason.c_str(), err);
      return HRESULT_FROM_WIN32(err);
    }
    log.Log(1, "Satellite list %S (%s) kept as %S", path.c_str(), reason.c_str(), backup.c_str());
  }

  const DWORD rc = WriteWholeFile(path, document);
  if (rc != ERROR_SUCCESS) {
    log.Log(1, "Failed to save satellite list %S: error %lu", path.c_str(), rc);
    return HRESULT_FROM_WIN32(rc);
  }
  log.Log(2, "Saved %u satellites to %S", static_cast<unsigned>(count), path.c_str());
  return S_OK;
}

}  // namespace orb::satlist
