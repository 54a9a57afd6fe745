// The encode run: one go.bat per queued file, run by the command interpreter (see TEncodeRun).
#include "Main.h"

#include "Application.h"
#include "Exception.h"
#include "Seams.h"

namespace qs {

void TMain::EncodeClick(TComponent*) {
  if (FEncodeRun.InProgress()) return;
  TEncodeJob job;
  job.Bitrate = Bitratebox->Text();
  // Refused before anything is written, so the stored bitrate keeps its last good value.
  if (const std::optional<std::string> refusal = BitrateRefusal(job.Bitrate)) throw Exception(*refusal);
  job.SaveFolder = Label3->Caption();
  job.PowerDown = Powerdownbox->Checked();
  job.EncoderFolder = StoreRunSettings(job.Bitrate);
  job.Rows = QueueRows();
  FEncodeRun.Start(std::move(job));
}

bool TMain::FormCloseQuery(TComponent*) {
  const size_t waiting = FEncodeRun.RowsWaiting();
  if (waiting == 0) return true;
  const std::string title = Application ? Application->Title() : std::string();
  return TSeams::ShowMessageBox(HandleIfAllocated(), QuitWhileEncodingQuestion(waiting), title,
                                MB_YESNO | MB_ICONQUESTION) == IDYES;
}

} // namespace qs
