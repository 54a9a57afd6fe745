#pragma once
// The last chance to keep the machine on after a power-down run: a small window that counts down and powers off
// when the time runs out, unless Cancel is pressed or the window is closed. It is not modal, so the main window
// stays usable while it counts.
#include "Button.h"
#include "Form.h"
#include "Label.h"
#include "Timer.h"

#include <functional>

namespace qs {

class TPowerDownCountdown : public TForm {
public:
  static constexpr int DefaultSeconds = 30;

  // `onEnded(true)` when the time ran out, `onEnded(false)` when cancelled; it runs once, after the window hid.
  using TEndedEvent = std::function<void(bool expired)>;

  explicit TPowerDownCountdown(TComponent* owner);
  ~TPowerDownCountdown() override;

  void Start(int seconds, TEndedEvent onEnded);
  void Cancel();
  bool Counting() const { return FCounting; }
  int SecondsLeft() const { return FSecondsLeft; }

  TLabel* Message = nullptr;
  TButton* CancelButton = nullptr;
  TTimer* Ticker = nullptr;

private:
  void Tick();
  void End(bool expired);
  void ShowSecondsLeft();

  bool FCounting = false;
  int FSecondsLeft = 0;
  TEndedEvent FOnEnded;
};

} // namespace qs
