#include "EndReport.h"

namespace qs {

TEndReport::TEndReport(TComponent* owner) : TReportForm(owner) {
  SetName("EndReport");
  OkButton = CloseButton;
  OkButton->SetCaption("OK");
}

void TEndReport::ShowReport(HWND ownerWindow, const std::vector<TRowProblem>& problems, std::size_t total) {
  SetOwnerWindow(ownerWindow);
  SetReport(problems, total);
  Arrange(ownerWindow, nullptr, 0);
  Show();
  OkButton->SetFocus();
}

void TEndReport::CloseClicked() { Hide(); }

} // namespace qs
