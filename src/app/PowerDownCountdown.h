#pragma once
// The last chance to keep the machine on after a power-down run: a window that counts down and powers off when
// the time runs out, unless Cancel is pressed or the window is closed. Whoever asked for power-down has left the
// machine, so a run with problems shows its report here, in the window that counts, rather than in one that would
// wait for OK with the machine on all night. It is not modal, so the main window stays usable while it counts.
#include "ReportForm.h"
#include "Timer.h"

#include <functional>

namespace qs {

class TPowerDownCountdown : public TReportForm {
public:
  static constexpr int DefaultSeconds = 30;

  // `onEnded(true)` when the time ran out, `onEnded(false)` when cancelled; it runs once, after the window hid.
  using TEndedEvent = std::function<void(bool expired)>;

  explicit TPowerDownCountdown(TComponent* owner);
  ~TPowerDownCountdown() override;

  // Shows the window on the monitor `nearWindow` is on, with the report set by SetReport if any, and counts.
  void Start(int seconds, TEndedEvent onEnded, HWND nearWindow = nullptr);
  void Cancel();
  bool Counting() const { return FCounting; }
  int SecondsLeft() const { return FSecondsLeft; }

  TLabel* Message = nullptr;
  TButton* CancelButton = nullptr;
  TTimer* Ticker = nullptr;

protected:
  void CloseClicked() override { Cancel(); }

private:
  void Tick();
  void End(bool expired);
  void ShowSecondsLeft();

  bool FCounting = false;
  int FSecondsLeft = 0;
  TEndedEvent FOnEnded;
};

} // namespace qs
