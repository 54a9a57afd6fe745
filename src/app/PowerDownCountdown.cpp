#include "PowerDownCountdown.h"

#include <string>

namespace qs {

namespace {

constexpr int kMessageLines = 2;
constexpr unsigned kTickMs = 1000;

std::string CountdownText(int seconds) {
  const std::string when = seconds == 1 ? "1 second" : std::to_string(seconds) + " seconds";
  return "Encoding has finished. The computer will be switched off in " + when + ".\nPress Cancel to keep it on.";
}

} // namespace

TPowerDownCountdown::TPowerDownCountdown(TComponent* owner) : TReportForm(owner) {
  SetName("PowerDownCountdown");

  Message = new TLabel(this);
  Message->SetName("Message");
  Message->SetAutoSize(false);
  Message->SetWordWrap(true);
  Message->SetShowAccelChar(false);
  Message->SetParent(this);

  CancelButton = CloseButton;
  CancelButton->SetCaption("Cancel");

  Ticker = new TTimer(this);
  Ticker->SetEnabled(false);
  Ticker->SetInterval(kTickMs);
  Ticker->SetOnTimer([this](TComponent*) { Tick(); });
}

TPowerDownCountdown::~TPowerDownCountdown() {
  FOnEnded = nullptr;
  DestroyComponents();
}

void TPowerDownCountdown::Start(int seconds, TEndedEvent onEnded, HWND nearWindow) {
  FOnEnded = std::move(onEnded);
  FSecondsLeft = seconds;
  FCounting = true;
  ShowSecondsLeft();
  Arrange(nearWindow, Message, kMessageLines);
  Show();
  CancelButton->SetFocus();
  // A countdown to power-off that hides behind another window would be no warning at all.
  SetWindowPos(Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  if (FSecondsLeft <= 0) {
    End(true);
    return;
  }
  Ticker->SetEnabled(true);
}

void TPowerDownCountdown::Cancel() {
  if (FCounting) End(false);
}

void TPowerDownCountdown::Tick() {
  if (!FCounting) return;
  if (--FSecondsLeft > 0) {
    ShowSecondsLeft();
    return;
  }
  End(true);
}

void TPowerDownCountdown::End(bool expired) {
  FCounting = false;
  Ticker->SetEnabled(false);
  Hide();
  // Taken out first: the handler may start the next countdown on this very window.
  TEndedEvent onEnded = std::move(FOnEnded);
  FOnEnded = nullptr;
  if (onEnded) onEnded(expired);
}

void TPowerDownCountdown::ShowSecondsLeft() { Message->SetCaption(CountdownText(FSecondsLeft)); }

} // namespace qs
