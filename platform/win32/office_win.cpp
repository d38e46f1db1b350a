#include "platform/win32/office_win.h"

#include <oaidl.h>
#include <objbase.h>
#include <oleauto.h>

#include "platform/win32/com_apartment.h"
#include "platform/win32/text_win.h"
#include "platform/win32/unique_handle.h"
#include "platform/win32/win.h"

namespace cv::win32 {

namespace {

inline void ReleaseDispatch(IDispatch* object) { object->Release(); }
inline IDispatch* NullDispatch() { return nullptr; }
using UniqueDispatch = UniqueHandle<IDispatch*, ReleaseDispatch, NullDispatch>;

class ScopedVariant {
 public:
  ScopedVariant() { ::VariantInit(&value_); }
  ~ScopedVariant() { ::VariantClear(&value_); }
  ScopedVariant(const ScopedVariant&) = delete;
  ScopedVariant& operator=(const ScopedVariant&) = delete;
  VARIANT* get() { return &value_; }

 private:
  VARIANT value_;
};

// Invokes a member without arguments; false when it does not exist or fails.
bool InvokeByName(IDispatch* object, const wchar_t* name, WORD flags, VARIANT* result) {
  DISPID id = 0;
  LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
  if (FAILED(object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id))) return false;
  DISPPARAMS noArguments{};
  return SUCCEEDED(object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &noArguments, result, nullptr, nullptr));
}

std::string VersionText(IDispatch* word) {
  ScopedVariant version;
  if (!InvokeByName(word, L"Version", DISPATCH_PROPERTYGET, version.get())) return {};
  ScopedVariant text;
  if (FAILED(::VariantChangeType(text.get(), version.get(), 0, VT_BSTR)) || text.get()->bstrVal == nullptr) return {};
  const BSTR bstr = text.get()->bstrVal;
  return Narrow(std::wstring_view(bstr, ::SysStringLen(bstr)));
}

}  // namespace

std::optional<std::string> Win32OfficeDetector::WordVersion() {
  ComApartment apartment;
  CLSID wordClass{};
  if (FAILED(::CLSIDFromProgID(L"Word.Application.8", &wordClass))) return std::nullopt;
  UniqueDispatch word;
  if (FAILED(::CoCreateInstance(wordClass, nullptr, CLSCTX_LOCAL_SERVER | CLSCTX_INPROC_SERVER, IID_IDispatch,
                                reinterpret_cast<void**>(word.put()))) ||
      !word)
    return std::nullopt;
  std::string version = VersionText(word.get());
  // The instance was started only to be asked; it must not stay running.
  ScopedVariant ignored;
  InvokeByName(word.get(), L"Quit", DISPATCH_METHOD, ignored.get());
  return version;
}

}  // namespace cv::win32
