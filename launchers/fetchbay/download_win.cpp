#include "launchers/fetchbay/download_win.h"

#include <urlmon.h>
#include <windows.h>
#include <wininet.h>
#include <wrl/client.h>

#include <new>
#include <optional>

#include "common/atomic_file.h"
#include "common/path_kind.h"
#include "common/win_handles.h"
#include "launchers/fetchbay/fetchbay_rules.h"

namespace {

using Microsoft::WRL::ComPtr;

// The progress callback of one download. It answers IHttpNegotiate so that
// it is told the HTTP response's status (after redirects, the final one),
// and asks the binding for the status once more at the end, for a response
// that reached no OnResponse (one served from the cache).
class StatusCallback final : public IBindStatusCallback, public IHttpNegotiate {
 public:
  std::optional<unsigned> status() const { return status_; }

  // IUnknown
  STDMETHODIMP QueryInterface(REFIID riid, void** object) override {
    if (!object) return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IBindStatusCallback) {
      *object = static_cast<IBindStatusCallback*>(this);
    } else if (riid == IID_IHttpNegotiate) {
      *object = static_cast<IHttpNegotiate*>(this);
    } else {
      *object = nullptr;
      return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return InterlockedIncrement(&references_); }
  STDMETHODIMP_(ULONG) Release() override {
    const LONG left = InterlockedDecrement(&references_);
    if (left == 0) delete this;
    return left;
  }

  // IBindStatusCallback
  STDMETHODIMP OnStartBinding(DWORD, IBinding* binding) override {
    if (binding && !binding_) binding_ = binding;
    return S_OK;
  }
  STDMETHODIMP GetPriority(LONG*) override { return E_NOTIMPL; }
  STDMETHODIMP OnLowResource(DWORD) override { return S_OK; }
  STDMETHODIMP OnProgress(ULONG, ULONG, ULONG, LPCWSTR) override { return S_OK; }
  STDMETHODIMP OnStopBinding(HRESULT, LPCWSTR) override {
    if (binding_) {
      // The binding's own answer is the final status even where no
      // OnResponse came.
      ComPtr<IWinInetHttpInfo> info;
      if (SUCCEEDED(binding_->QueryInterface(IID_IWinInetHttpInfo,
                                             reinterpret_cast<void**>(info.GetAddressOf()))) &&
          info) {
        DWORD code = 0;
        DWORD size = sizeof code;
        if (info->QueryInfo(HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &code, &size, nullptr,
                            nullptr) == S_OK &&
            code != 0) {
          status_ = code;
        }
      }
      binding_.Reset();
    }
    return S_OK;
  }
  STDMETHODIMP GetBindInfo(DWORD* flags, BINDINFO* info) override {
    // Some hosts fail the whole bind when this fails; ask for a fresh copy
    // rather than one from the cache.
    if (flags) *flags = BINDF_GETNEWESTVERSION;
    if (info && info->cbSize >= sizeof(DWORD)) {
      const ULONG size = info->cbSize;
      ZeroMemory(info, size);
      info->cbSize = size;
      info->dwBindVerb = BINDVERB_GET;
    }
    return S_OK;
  }
  STDMETHODIMP OnDataAvailable(DWORD, DWORD, FORMATETC*, STGMEDIUM*) override { return S_OK; }
  STDMETHODIMP OnObjectAvailable(REFIID, IUnknown*) override { return S_OK; }

  // IHttpNegotiate
  STDMETHODIMP BeginningTransaction(LPCWSTR, LPCWSTR, DWORD, LPWSTR* additionalHeaders) override {
    if (additionalHeaders) *additionalHeaders = nullptr;
    return S_OK;
  }
  STDMETHODIMP OnResponse(DWORD code, LPCWSTR, LPCWSTR, LPWSTR* additionalHeaders) override {
    if (additionalHeaders) *additionalHeaders = nullptr;
    status_ = code;
    return S_OK;
  }

 private:
  // Only Release ends it.
  ~StatusCallback() = default;

  LONG references_ = 1;
  ComPtr<IBinding> binding_;
  std::optional<unsigned> status_;
};

// Gives the finished temporary file the name, unless something has it. Only
// the previous download itself may be replaced by a download of its name.
NameClaim MoveToName(const std::string& temporary, const std::string& target, bool mayReplace) {
  const PathKind kind = GetPathKind(target);
  if (kind == PathKind::Folder || (kind == PathKind::File && !mayReplace)) return NameClaim::Taken;
  // Otherwise without MOVEFILE_REPLACE_EXISTING: a file that appeared
  // meanwhile stays.
  if (MoveFileExA(temporary.c_str(), target.c_str(), mayReplace ? MOVEFILE_REPLACE_EXISTING : 0)) {
    return NameClaim::Claimed;
  }
  const DWORD error = GetLastError();
  return error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS ? NameClaim::Taken : NameClaim::Failed;
}

}  // namespace

bool DownloadToFile(const std::string& url, const std::string& path) {
  // The new object's one reference is the caller's.
  ComPtr<StatusCallback> callback;
  callback.Attach(new (std::nothrow) StatusCallback);
  if (!callback) return false;
  const HRESULT result = URLDownloadToFileA(nullptr, url.c_str(), path.c_str(), 0, callback.Get());
  return DownloadSucceeded(result == S_OK, callback->status());
}

std::optional<std::string> DownloadUnderFreeName(const std::string& url, const std::string& folder,
                                                 const std::string& name, bool avoidPlainName,
                                                 const std::string& previousDownload) {
  // Created exclusively, so the temporary file can never be one that was
  // there before.
  const std::string temporary = CreateTemporarySibling(folder + name);
  if (temporary.empty()) return std::nullopt;
  std::optional<std::string> saved;
  if (DownloadToFile(url, temporary)) {
    saved = ClaimFreeName(name, avoidPlainName, [&](const std::string& candidate) {
      return MoveToName(temporary, folder + candidate, IsSamePath(candidate, previousDownload));
    });
  }
  if (!saved) DeleteFileA(temporary.c_str());
  return saved;
}
