#pragma once
// The report at the end of a run in which some files were not encoded: the summary and every file with its
// reason, in a window of its own that fits the screen whatever the number of files. It is not modal: the main
// window stays usable while it is open, and nothing waits for OK.
#include "ReportForm.h"

namespace qs {

class TEndReport : public TReportForm {
public:
  explicit TEndReport(TComponent* owner);

  // Fills the report and shows it above `ownerWindow`, on that window's monitor, with OK focused.
  void ShowReport(HWND ownerWindow, const std::vector<TRowProblem>& problems, std::size_t total);

  TButton* OkButton = nullptr;

protected:
  void CloseClicked() override;
};

} // namespace qs
