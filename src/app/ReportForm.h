#pragma once
// What the end-of-run report shows, on its own (TEndReport) or inside the power-down countdown
// (TPowerDownCountdown): a summary line, the list of every file with its reason, a Copy button and the button that
// closes the window, all placed by LayOutEndReport inside the work area of one monitor, however long the list.
#include "Button.h"
#include "EncodeRules.h"
#include "Form.h"
#include "Label.h"
#include "Memo.h"

#include <cstddef>
#include <string>
#include <vector>

namespace qs {

class TReportForm : public TForm {
public:
  explicit TReportForm(TComponent* owner);
  ~TReportForm() override;

  // The problems of a run of `total` files. Without problems only the header and the close button show.
  void SetReport(const std::vector<TRowProblem>& problems, std::size_t total);
  bool HasReport() const { return !FReportText.empty(); }
  // The summary, a blank line and the list: what Copy puts on the clipboard.
  const std::string& ReportText() const { return FReportText; }
  // True when the clipboard took the report.
  bool CopyReport();

  TLabel* Summary = nullptr;
  TMemo* List = nullptr;
  TButton* CopyButton = nullptr;
  TButton* CloseButton = nullptr;

protected:
  // The window this one stays above (none: it stands on its own); set before the window is made.
  void SetOwnerWindow(HWND ownerWindow) { FOwnerWindow = ownerWindow; }
  // Places every part on the monitor that `nearWindow` is on (the primary one when there is none), with
  // `header` (may be null) above the summary, `headerLines` lines high.
  void Arrange(HWND nearWindow, TControl* header, int headerLines);
  // The close button, and Enter or Esc anywhere in the window.
  virtual void CloseClicked() = 0;

  void CreateParams(TCreateParams& params) override;
  void WndProc(TMessage& message) override;

private:
  HWND FOwnerWindow = nullptr;
  std::string FReportText;
};

} // namespace qs
