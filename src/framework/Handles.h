#pragma once
// Owning wrappers, one per release function, and scoped guards for every change made to a DC or to the
// mouse. Owning types are move-only; plain handles are borrowed.
#include "GdiCounter.h"

#include <windows.h>

#include <utility>

namespace qs {

template <typename H, typename Traits>
class TUniqueHandle {
public:
  TUniqueHandle() = default;
  explicit TUniqueHandle(H h) : FHandle(h) {}
  ~TUniqueHandle() { Reset(); }
  TUniqueHandle(TUniqueHandle&& other) noexcept : FHandle(std::exchange(other.FHandle, Traits::Invalid())) {}
  TUniqueHandle& operator=(TUniqueHandle&& other) noexcept {
    if (this != &other) {
      Reset();
      FHandle = std::exchange(other.FHandle, Traits::Invalid());
    }
    return *this;
  }
  TUniqueHandle(const TUniqueHandle&) = delete;
  TUniqueHandle& operator=(const TUniqueHandle&) = delete;

  H Get() const { return FHandle; }
  explicit operator bool() const { return FHandle != Traits::Invalid(); }
  H Release() { return std::exchange(FHandle, Traits::Invalid()); }
  void Reset(H h = Traits::Invalid()) {
    if (FHandle != Traits::Invalid()) Traits::Close(FHandle);
    FHandle = h;
  }

private:
  H FHandle = Traits::Invalid();
};

struct TKernelHandleTraits {
  static HANDLE Invalid() { return nullptr; }
  static void Close(HANDLE h) { CloseHandle(h); }
};
using TKernelHandle = TUniqueHandle<HANDLE, TKernelHandleTraits>;

struct TFileHandleTraits {
  static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
  static void Close(HANDLE h) { CloseHandle(h); }
};
using TFileHandle = TUniqueHandle<HANDLE, TFileHandleTraits>;

struct TKeyHandleTraits {
  static HKEY Invalid() { return nullptr; }
  static void Close(HKEY h) { RegCloseKey(h); }
};
using TKeyHandle = TUniqueHandle<HKEY, TKeyHandleTraits>;

struct THookHandleTraits {
  static HHOOK Invalid() { return nullptr; }
  static void Close(HHOOK h) { UnhookWindowsHookEx(h); }
};
using THookHandle = TUniqueHandle<HHOOK, THookHandleTraits>;

struct TMenuHandleTraits {
  static HMENU Invalid() { return nullptr; }
  static void Close(HMENU h) { DestroyMenu(h); }
};
using TMenuHandle = TUniqueHandle<HMENU, TMenuHandleTraits>;

// Objects the live-object counter follows (TGdiCounter): taking a freshly created object counts it; deleting,
// replacing or releasing it (handing it to the system, as SetWindowRgn takes a region) uncounts it.
template <typename H, typename Traits>
struct TCountedTraits {
  static H Invalid() { return Traits::Invalid(); }
  static void Close(H h) {
    Traits::Close(h);
    TGdiCounter::Deleted();
  }
};
template <typename H, typename Traits>
class TCountedHandle : public TUniqueHandle<H, TCountedTraits<H, Traits>> {
  using Base = TUniqueHandle<H, TCountedTraits<H, Traits>>;

public:
  TCountedHandle() = default;
  // A null handle (creation failed) is not counted.
  explicit TCountedHandle(H h) : Base(h) {
    if (h) TGdiCounter::Created();
  }
  H Release() {
    const H h = Base::Release();
    if (h) TGdiCounter::Deleted();
    return h;
  }
  void Reset(H h = Traits::Invalid()) {
    Base::Reset(h);
    if (h) TGdiCounter::Created();
  }
};

// Pens, brushes, fonts, bitmaps, regions and palettes.
template <typename H>
struct TDeleteObjectTraits {
  static H Invalid() { return nullptr; }
  static void Close(H h) { DeleteObject(h); }
};
template <typename H>
using TGdiObject = TCountedHandle<H, TDeleteObjectTraits<H>>;
using TPenHandle = TGdiObject<HPEN>;
using TBrushHandle = TGdiObject<HBRUSH>;
using TFontHandle = TGdiObject<HFONT>;
using TBitmapHandle = TGdiObject<HBITMAP>;
using TRegionHandle = TGdiObject<HRGN>;
using TPaletteHandle = TGdiObject<HPALETTE>;

// A memory DC (CreateCompatibleDC), counted like the other GDI objects.
struct TDeleteDCTraits {
  static HDC Invalid() { return nullptr; }
  static void Close(HDC h) { DeleteDC(h); }
};
class TMemoryDC : public TCountedHandle<HDC, TDeleteDCTraits> {
public:
  explicit TMemoryDC(HDC compatibleWith) : TCountedHandle(CreateCompatibleDC(compatibleWith)) {}
};

// GetDC / ReleaseDC (GetWindowDC when whole window).
class TWindowDC {
public:
  explicit TWindowDC(HWND wnd, bool wholeWindow = false)
      : FWnd(wnd), FDC(wholeWindow ? GetWindowDC(wnd) : GetDC(wnd)) {}
  ~TWindowDC() {
    if (FDC) ReleaseDC(FWnd, FDC);
  }
  TWindowDC(const TWindowDC&) = delete;
  TWindowDC& operator=(const TWindowDC&) = delete;
  HDC Get() const { return FDC; }

private:
  HWND FWnd;
  HDC FDC;
};

// BeginPaint / EndPaint.
class TPaintDC {
public:
  explicit TPaintDC(HWND wnd) : FWnd(wnd) { FDC = BeginPaint(wnd, &FPaint); }
  ~TPaintDC() { EndPaint(FWnd, &FPaint); }
  TPaintDC(const TPaintDC&) = delete;
  TPaintDC& operator=(const TPaintDC&) = delete;
  HDC Get() const { return FDC; }
  const RECT& UpdateRect() const { return FPaint.rcPaint; }

private:
  HWND FWnd;
  PAINTSTRUCT FPaint{};
  HDC FDC;
};

// SelectObject with the previous object put back at scope end.
class TSelectGuard {
public:
  TSelectGuard(HDC dc, HGDIOBJ obj) : FDC(dc), FOld(obj ? SelectObject(dc, obj) : nullptr) {}
  ~TSelectGuard() {
    if (FOld) SelectObject(FDC, FOld);
  }
  TSelectGuard(const TSelectGuard&) = delete;
  TSelectGuard& operator=(const TSelectGuard&) = delete;

private:
  HDC FDC;
  HGDIOBJ FOld;
};

// SelectPalette and RealizePalette, the previous palette put back at scope end. A background palette
// (forceBackground) takes no colours from the windows in front.
class TSelectPaletteGuard {
public:
  TSelectPaletteGuard(HDC dc, HPALETTE palette, bool forceBackground)
      : FDC(dc), FBackground(forceBackground), FOld(palette ? SelectPalette(dc, palette, forceBackground) : nullptr) {
    if (FOld) RealizePalette(dc);
  }
  ~TSelectPaletteGuard() {
    if (FOld) SelectPalette(FDC, FOld, FBackground);
  }
  TSelectPaletteGuard(const TSelectPaletteGuard&) = delete;
  TSelectPaletteGuard& operator=(const TSelectPaletteGuard&) = delete;

private:
  HDC FDC;
  BOOL FBackground;
  HPALETTE FOld;
};

// SaveDC / RestoreDC: for changes of origin, clipping, modes and colours made together.
class TSavedDC {
public:
  explicit TSavedDC(HDC dc) : FDC(dc), FState(SaveDC(dc)) {}
  ~TSavedDC() { RestoreDC(FDC, FState); }
  TSavedDC(const TSavedDC&) = delete;
  TSavedDC& operator=(const TSavedDC&) = delete;

private:
  HDC FDC;
  int FState;
};

// SetCapture for the life of the guard (released only if the window still holds it).
class TCaptureGuard {
public:
  explicit TCaptureGuard(HWND wnd) : FWnd(wnd) { SetCapture(wnd); }
  ~TCaptureGuard() {
    if (GetCapture() == FWnd) ReleaseCapture();
  }
  TCaptureGuard(const TCaptureGuard&) = delete;
  TCaptureGuard& operator=(const TCaptureGuard&) = delete;

private:
  HWND FWnd;
};

// ClipCursor for the life of the guard; the clip found is put back. With no clip, GetClipCursor reports the
// whole virtual screen: that is put back as no clip at all, not as a clip that happens to be the screen's
// size today (it would keep the pointer off a monitor added later).
class TCursorClipGuard {
public:
  explicit TCursorClipGuard(const RECT& r) {
    GetClipCursor(&FOld);
    const RECT screen{GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
                      GetSystemMetrics(SM_XVIRTUALSCREEN) + GetSystemMetrics(SM_CXVIRTUALSCREEN),
                      GetSystemMetrics(SM_YVIRTUALSCREEN) + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
    FHadClip = !EqualRect(&FOld, &screen);
    ClipCursor(&r);
  }
  ~TCursorClipGuard() { ClipCursor(FHadClip ? &FOld : nullptr); }
  TCursorClipGuard(const TCursorClipGuard&) = delete;
  TCursorClipGuard& operator=(const TCursorClipGuard&) = delete;

private:
  RECT FOld{};
  bool FHadClip = false;
};

// A counter raised for the life of the guard (a nesting level, an "updating" mark), lowered on every way out.
class TCounterLock {
public:
  explicit TCounterLock(int& counter) : FCounter(counter) { ++FCounter; }
  ~TCounterLock() { --FCounter; }
  TCounterLock(const TCounterLock&) = delete;
  TCounterLock& operator=(const TCounterLock&) = delete;

private:
  int& FCounter;
};

// LockWindowUpdate for the life of the guard.
class TWindowUpdateLock {
public:
  explicit TWindowUpdateLock(HWND wnd) { LockWindowUpdate(wnd); }
  ~TWindowUpdateLock() { LockWindowUpdate(nullptr); }
  TWindowUpdateLock(const TWindowUpdateLock&) = delete;
  TWindowUpdateLock& operator=(const TWindowUpdateLock&) = delete;
};

} // namespace qs
