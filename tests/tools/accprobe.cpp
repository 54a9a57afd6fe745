// An accessibility client, run as a process of its own as screen readers and automation tools are: it asks a
// window for the object of its client area (AccessibleObjectFromWindow, so the object crosses from the program's
// process into this one) and prints what it finds there, or does a child's default action.
//
//   accprobe <window handle, hex> list
//     window <TAB> name=... <TAB> role=N <TAB> state=0xN <TAB> location=L T W H <TAB> children=N
//     child <TAB> id <TAB> name=... <TAB> description=... <TAB> role=N <TAB> state=0xN <TAB> location=L T W H
//           <TAB> action=... <TAB> shortcut=... <TAB> hit=<name of what a hit test at its middle finds>
//   accprobe <window handle, hex> press <child name>
//     press <TAB> <name> <TAB> <HRESULT of accDoDefaultAction, 0xNNNNNNNN>
//
// Children are listed as clients list them (AccessibleChildren), each asked through its own object when it
// has one. Text is UTF-8. Exit codes: 0 done (a press that failed included), 64 bad arguments, 65 no object,
// 66 no child of that name.
#include "ToolKit.h"

#include <windows.h>

#include <oleacc.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr int kExitDone = 0;
constexpr int kExitBadArguments = 64;
constexpr int kExitNoObject = 65;
constexpr int kExitNoSuchChild = 66;
constexpr int kHexBase = 16;

class TComApartment {
public:
  TComApartment() { CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
  ~TComApartment() { CoUninitialize(); }
  TComApartment(const TComApartment&) = delete;
  TComApartment& operator=(const TComApartment&) = delete;
};

template <typename T>
class TComPtr {
public:
  TComPtr() = default;
  ~TComPtr() {
    if (FPtr) FPtr->Release();
  }
  TComPtr(TComPtr&& other) noexcept : FPtr(std::exchange(other.FPtr, nullptr)) {}
  TComPtr(const TComPtr&) = delete;
  TComPtr& operator=(const TComPtr&) = delete;
  T* operator->() const { return FPtr; }
  T* Get() const { return FPtr; }
  T** Out() { return &FPtr; }
  explicit operator bool() const { return FPtr != nullptr; }

private:
  T* FPtr = nullptr;
};

class TVariant {
public:
  TVariant() { VariantInit(&FValue); }
  explicit TVariant(long childId) : TVariant() {
    FValue.vt = VT_I4;
    FValue.lVal = childId;
  }
  ~TVariant() { VariantClear(&FValue); }
  TVariant(const TVariant&) = delete;
  TVariant& operator=(const TVariant&) = delete;
  VARIANT& Get() { return FValue; }
  const VARIANT& Get() const { return FValue; }

private:
  VARIANT FValue;
};
// Handed to AccessibleChildren as an array of VARIANTs.
static_assert(sizeof(TVariant) == sizeof(VARIANT));

std::string Utf8(const wchar_t* text, int length) {
  if (!text || length <= 0) return {};
  return tool::ToUtf8(std::wstring_view(text, static_cast<size_t>(length)));
}

// A text property: its value, or "!0x..." when the call failed, or "" when there is none.
template <typename TGetter>
std::string Text(TGetter get) {
  BSTR value = nullptr;
  const HRESULT result = get(&value);
  std::string text;
  if (FAILED(result)) {
    char code[16];
    std::snprintf(code, sizeof(code), "!0x%08lx", static_cast<unsigned long>(result));
    text = code;
  } else {
    text = Utf8(value, value ? static_cast<int>(SysStringLen(value)) : 0);
  }
  SysFreeString(value);
  return text;
}

// One element: an object of its own (Id 0), or a simple child of its parent's object.
struct TElement {
  IAccessible* Object;
  long Id;
};

std::string Name(const TElement& e) {
  return Text([&](BSTR* out) { return e.Object->get_accName(TVariant(e.Id).Get(), out); });
}

long Number(HRESULT result, const TVariant& value) {
  return SUCCEEDED(result) && value.Get().vt == VT_I4 ? value.Get().lVal : -1;
}

std::string Location(const TElement& e, RECT& r) {
  long left = 0, top = 0, width = 0, height = 0;
  if (FAILED(e.Object->accLocation(&left, &top, &width, &height, TVariant(e.Id).Get()))) return "none";
  r = RECT{left, top, left + width, top + height};
  return std::to_string(left) + " " + std::to_string(top) + " " + std::to_string(width) + " " + std::to_string(height);
}

std::string Describe(const TElement& e, RECT& r) {
  TVariant role, state;
  const long roleNumber = Number(e.Object->get_accRole(TVariant(e.Id).Get(), &role.Get()), role);
  const long stateBits = Number(e.Object->get_accState(TVariant(e.Id).Get(), &state.Get()), state);
  char stateText[16];
  std::snprintf(stateText, sizeof(stateText), "0x%lx", static_cast<unsigned long>(stateBits));
  return "name=" + Name(e) + "\trole=" + std::to_string(roleNumber) + "\tstate=" + stateText +
         "\tlocation=" + Location(e, r);
}

// What a hit test of the window's object at a point finds, by name.
std::string HitName(IAccessible* window, POINT p) {
  TVariant hit;
  if (window->accHitTest(p.x, p.y, &hit.Get()) != S_OK) return "";
  if (hit.Get().vt == VT_I4) return Name(TElement{window, hit.Get().lVal});
  if (hit.Get().vt != VT_DISPATCH || !hit.Get().pdispVal) return "";
  TComPtr<IAccessible> child;
  if (FAILED(hit.Get().pdispVal->QueryInterface(__uuidof(IAccessible), reinterpret_cast<void**>(child.Out()))))
    return "";
  return Name(TElement{child.Get(), CHILDID_SELF});
}

// The window's children as clients get them, each with the object to ask (its own, or the window's).
struct TChild {
  TComPtr<IAccessible> Own;
  long Id;
  TElement Element(IAccessible* window) const { return Own ? TElement{Own.Get(), CHILDID_SELF} : TElement{window, Id}; }
};

std::vector<TChild> Children(IAccessible* window) {
  long count = 0;
  window->get_accChildCount(&count);
  std::vector<TVariant> found(static_cast<size_t>(count > 0 ? count : 0));
  long obtained = 0;
  if (count <= 0 || FAILED(AccessibleChildren(window, 0, count, &found[0].Get(), &obtained))) return {};
  std::vector<TChild> children;
  for (long i = 0; i < obtained; ++i) {
    TChild child;
    child.Id = i + 1;
    const VARIANT& v = found[static_cast<size_t>(i)].Get();
    if (v.vt == VT_DISPATCH && v.pdispVal)
      v.pdispVal->QueryInterface(__uuidof(IAccessible), reinterpret_cast<void**>(child.Own.Out()));
    else if (v.vt == VT_I4) child.Id = v.lVal;
    children.push_back(std::move(child));
  }
  return children;
}

int List(IAccessible* window) {
  RECT r{};
  const std::vector<TChild> children = Children(window);
  std::printf("window\t%s\tchildren=%zu\n", Describe(TElement{window, CHILDID_SELF}, r).c_str(), children.size());
  for (const TChild& child : children) {
    const TElement e = child.Element(window);
    const TVariant self(e.Id);
    RECT bounds{};
    const std::string described = Describe(e, bounds);
    const std::string description = Text([&](BSTR* out) { return e.Object->get_accDescription(self.Get(), out); });
    const std::string action = Text([&](BSTR* out) { return e.Object->get_accDefaultAction(self.Get(), out); });
    const std::string shortcut = Text([&](BSTR* out) { return e.Object->get_accKeyboardShortcut(self.Get(), out); });
    const POINT middle{(bounds.left + bounds.right) / 2, (bounds.top + bounds.bottom) / 2};
    std::printf("child\t%ld\t%s\tdescription=%s\taction=%s\tshortcut=%s\thit=%s\n", child.Id, described.c_str(),
                description.c_str(), action.c_str(), shortcut.c_str(), HitName(window, middle).c_str());
  }
  return kExitDone;
}

int Press(IAccessible* window, const std::string& name) {
  for (const TChild& child : Children(window)) {
    const TElement e = child.Element(window);
    if (Name(e) != name) continue;
    const HRESULT result = e.Object->accDoDefaultAction(TVariant(e.Id).Get());
    std::printf("press\t%s\t0x%08lx\n", name.c_str(), static_cast<unsigned long>(result));
    return kExitDone;
  }
  return kExitNoSuchChild;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
  const bool list = argc == 3 && std::wcscmp(argv[2], L"list") == 0;
  const bool press = argc == 4 && std::wcscmp(argv[2], L"press") == 0;
  if (!list && !press) return kExitBadArguments;
  const auto window = reinterpret_cast<HWND>(static_cast<UINT_PTR>(std::wcstoull(argv[1], nullptr, kHexBase)));
  const TComApartment apartment;
  TComPtr<IAccessible> object;
  if (FAILED(AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                        reinterpret_cast<void**>(object.Out()))) ||
      !object)
    return kExitNoObject;
  const int code = list ? List(object.Get()) : Press(object.Get(), tool::ToUtf8(argv[3]));
  std::fflush(stdout);
  return code;
}
