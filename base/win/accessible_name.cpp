#include "base/win/accessible_name.h"

#include <oleacc.h>

#include "base/win/module.h"
#include "base/win/wide_text.h"

namespace win {

namespace {

using CreateStdObject = HRESULT(WINAPI *)(HWND, LONG, REFIID, void **);
using ObjectResult = LRESULT(WINAPI *)(REFIID, WPARAM, LPUNKNOWN);
using AllocString = BSTR(WINAPI *)(const OLECHAR *);

// oleacc's entry points and the allocator of the strings the objects hand out, bound on the first
// request. The library stays loaded for the rest of the process: the objects live as long as
// their clients (screen readers, in processes of their own) hold them.
struct AccessibilityApi {
  CreateStdObject createStdObject = nullptr;
  ObjectResult objectResult = nullptr;
  AllocString allocString = nullptr;

  // Null when the system lacks any of them.
  static const AccessibilityApi *Get() {
    static AccessibilityApi api;
    static const bool bound = api.Bind();
    return bound ? &api : nullptr;
  }

private:
  bool Bind() {
    HMODULE oleacc = LoadSystemLibrary("oleacc.dll");
    const auto create = ProcAddress<CreateStdObject>(oleacc, "CreateStdAccessibleObject");
    const auto result = ProcAddress<ObjectResult>(oleacc, "LresultFromObject");
    // oleaut32, which oleacc loads for its own strings.
    const auto alloc =
        ProcAddress<AllocString>(::GetModuleHandleA("oleaut32.dll"), "SysAllocString");
    createStdObject = create;
    objectResult = result;
    allocString = alloc;
    return create != nullptr && result != nullptr && alloc != nullptr;
  }
};

// A window's text as UTF-8; labels and figures are short.
std::string TextOf(HWND window) {
  wchar_t text[128];
  return NarrowText(text, ::GetWindowTextW(window, text, 128));
}

bool IsSelf(const VARIANT &child) { return child.vt == VT_I4 && child.lVal == CHILDID_SELF; }

// The system's object of a control with another name.
class NamedObject final : public IAccessible {
public:
  NamedObject(IAccessible *system, AllocString allocString, const std::string &name)
      : system_(system), allocString_(allocString), name_(name) {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void **object) override {
    if (id == __uuidof(IUnknown) || id == __uuidof(IDispatch) || id == __uuidof(IAccessible)) {
      *object = static_cast<IAccessible *>(this);
      ++references_;
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() override {
    if (--references_ != 0) {
      return references_;
    }
    system_->Release();
    delete this;
    return 0;
  }

  // No type information: clients call the methods directly, as with the system's objects.
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT *) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo **) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR *, UINT, LCID, DISPID *) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS *, VARIANT *, EXCEPINFO *,
                                   UINT *) override {
    return E_NOTIMPL;
  }

  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR *name) override {
    if (!IsSelf(child)) {
      return system_->get_accName(child, name);
    }
    *name = allocString_(name_.get());
    return *name != nullptr ? S_OK : E_OUTOFMEMORY;
  }

  // What a screen reader reads of a focused control or a figure is the system's: its role,
  // state, value and place.
  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch **parent) override {
    return system_->get_accParent(parent);
  }
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR *value) override {
    return system_->get_accValue(child, value);
  }
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT *role) override {
    return system_->get_accRole(child, role);
  }
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT *state) override {
    return system_->get_accState(child, state);
  }
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT *child) override {
    return system_->get_accFocus(child);
  }
  HRESULT STDMETHODCALLTYPE accLocation(long *left, long *top, long *width, long *height,
                                        VARIANT child) override {
    return system_->accLocation(left, top, width, height, child);
  }

  // The object stands for the control as a whole: no parts to visit or hit, no help, no
  // actions, nothing changed from outside.
  HRESULT STDMETHODCALLTYPE get_accChildCount(long *count) override {
    *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT, IDispatch **) override { return E_INVALIDARG; }
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT, BSTR *) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT, BSTR *) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR *, VARIANT, long *) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT, BSTR *) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT *) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT, BSTR *) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE accSelect(long, VARIANT) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE accNavigate(long, VARIANT, VARIANT *) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE accHitTest(long, long, VARIANT *) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

private:
  ~NamedObject() = default;

  IAccessible *system_;
  AllocString allocString_;
  WideText name_;
  ULONG references_ = 1;
};

} // namespace

LRESULT AnswerNamedObject(HWND control, WPARAM wParam, LPARAM lParam, const std::string &name) {
  if (static_cast<LONG>(lParam) != OBJID_CLIENT) {
    return 0;
  }
  const AccessibilityApi *api = AccessibilityApi::Get();
  IAccessible *system = nullptr;
  if (api == nullptr || FAILED(api->createStdObject(control, OBJID_CLIENT, __uuidof(IAccessible),
                                                    reinterpret_cast<void **>(&system)))) {
    return 0;
  }
  auto *object = new NamedObject(system, api->allocString, name);
  const LRESULT result = api->objectResult(__uuidof(IAccessible), wParam, object);
  object->Release();
  return result;
}

void NamedControl::Install(HWND control, HWND label, bool withText) {
  label_ = label;
  withText_ = withText;
  subclass_.Install(control, &NamedControl::OnMessage, this);
}

bool NamedControl::OnMessage(void *context, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                             LRESULT *result) {
  if (message != WM_GETOBJECT) {
    return false;
  }
  const auto *self = static_cast<NamedControl *>(context);
  std::string name = TextOf(self->label_);
  if (self->withText_) {
    // As it is now: the system tells clients when it changes, and they ask again.
    name += ' ';
    name += TextOf(hwnd);
  }
  *result = AnswerNamedObject(hwnd, wParam, lParam, name);
  return *result != 0;
}

} // namespace win
