#include "PowerDownCountdown.h"

#include "Application.h"

#include <string>

namespace qs {

namespace {

constexpr int kClientWidth = 320;
constexpr int kClientHeight = 96;
constexpr int kMargin = 12;
constexpr int kMessageHeight = 36;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 25;
constexpr unsigned kTickMs = 1000;

std::string CountdownText(int seconds) {
  const std::string when = seconds == 1 ? "1 second" : std::to_string(seconds) + " seconds";
  return "Encoding has finished. The computer will be switched off in " + when + ".\nPress Cancel to keep it on.";
}

} // namespace

TPowerDownCountdown::TPowerDownCountdown(TComponent* owner) : TForm(owner) {
  SetName("PowerDownCountdown");
  SetCaption(Application ? Application->Title() : std::string());
  SetBorderStyle(TFormBorderStyle::bsDialog);
  SetBorderIcons(biSystemMenu);
  SetPosition(TPosition::poScreenCenter);
  SetClientSize(kClientWidth, kClientHeight);

  Message = new TLabel(this);
  Message->SetName("Message");
  Message->SetAutoSize(false);
  Message->SetWordWrap(true);
  Message->SetBounds(kMargin, kMargin, kClientWidth - 2 * kMargin, kMessageHeight);
  Message->SetParent(this);

  CancelButton = new TButton(this);
  CancelButton->SetName("CancelButton");
  CancelButton->SetCaption("Cancel");
  CancelButton->SetBounds((kClientWidth - kButtonWidth) / 2, kClientHeight - kMargin - kButtonHeight, kButtonWidth,
                          kButtonHeight);
  CancelButton->SetParent(this);
  CancelButton->OnClick = [this](TComponent*) { Cancel(); };

  Ticker = new TTimer(this);
  Ticker->SetEnabled(false);
  Ticker->SetInterval(kTickMs);
  Ticker->SetOnTimer([this](TComponent*) { Tick(); });

  // Closing the window is the same answer as Cancel: the user is there and wants the machine on.
  OnClose = [this](TComponent*) { Cancel(); };
}

TPowerDownCountdown::~TPowerDownCountdown() {
  FOnEnded = nullptr;
  DestroyComponents();
}

void TPowerDownCountdown::Start(int seconds, TEndedEvent onEnded) {
  FOnEnded = std::move(onEnded);
  FSecondsLeft = seconds;
  FCounting = true;
  ShowSecondsLeft();
  Show();
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
