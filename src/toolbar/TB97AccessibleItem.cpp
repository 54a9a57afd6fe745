// The accessible object: what a control is to a client (name, role, state, shortcut, place on screen).
#include "TB97Accessible.h"
#include "TB97Button.h"
#include "TB97ToolWindow.h"
#include "TB97ToolbarSep.h"
#include "Unicode.h"

namespace qs {

TIntRect TAccessible97::ScreenBounds(const TControl& control) {
  const POINT origin = control.ClientOrigin();
  const RECT client = control.ClientRect();
  return TIntRect::FromBounds(origin.x, origin.y, client.right - client.left, client.bottom - client.top);
}

std::string TAccessible97::NameOf(const TControl& control) {
  if (dynamic_cast<const TCustomToolWindow97*>(&control)) return control.Caption();
  return AccessibleName(control.Caption(), control.GetHintText());
}

long TAccessible97::RoleOf(const TControl& control) {
  if (dynamic_cast<const TCustomToolWindow97*>(&control)) return ROLE_SYSTEM_TOOLBAR;
  if (dynamic_cast<const TToolbarButton97*>(&control)) return ROLE_SYSTEM_PUSHBUTTON;
  if (dynamic_cast<const TToolbarSep97*>(&control)) return ROLE_SYSTEM_SEPARATOR;
  return ROLE_SYSTEM_CLIENT;
}

unsigned TAccessible97::StateOf(const TControl& control) {
  unsigned state = control.Enabled() ? 0 : STATE_SYSTEM_UNAVAILABLE;
  if (dynamic_cast<const TCustomToolWindow97*>(&control)) {
    if (!control.Showing()) state |= STATE_SYSTEM_INVISIBLE;
    return state;
  }
  if (!control.Visible()) state |= STATE_SYSTEM_INVISIBLE;
  if (const auto* button = dynamic_cast<const TToolbarButton97*>(&control)) {
    // Pressed while it shows pressed: held down by the mouse or its click, or down in its group.
    if (button->Down() || button->DrawState() == TButtonDrawState::dsDown) state |= STATE_SYSTEM_PRESSED;
    if (button->MouseIn()) state |= STATE_SYSTEM_HOTTRACKED;
  }
  return state;
}

std::string TAccessible97::ShortcutOf(const TControl& control) {
  const auto* button = dynamic_cast<const TToolbarButton97*>(&control);
  // Only a caption that shows has an accelerator (see the button's own handling of it).
  if (!button || button->DisplayMode() == TButtonDisplayMode::dmGlyphOnly) return {};
  std::wstring key = Widen(AcceleratorText(button->Caption()));
  if (key.empty()) return {};
  // The key is named as the system names letters of any script on their keys: in upper case.
  CharUpperBuffW(key.data(), static_cast<DWORD>(key.size()));
  return "Alt+" + Narrow(key);
}

} // namespace qs
