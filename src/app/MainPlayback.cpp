// Preview playback of the first selected file through the hidden media player.
#include "Main.h"

#include "MPlayer.h"

namespace qs {

void TMain::Play1Click(TComponent*) {
  for (int row = 0; row < ListView1->Count(); ++row) {
    if (!ListView1->Selected(row)) continue;
    MediaPlayer1->SetFileName(ListView1->Caption(row));
    MediaPlayer1->Open();
    MediaPlayer1->Play();
    return;
  }
}

void TMain::Stop1Click(TComponent*) {
  if (MediaPlayer1->FileName().empty()) return;
  // A failed open leaves the name set with no device: Stop then reports it, and the name stays.
  MediaPlayer1->Stop();
  MediaPlayer1->Close();
  MediaPlayer1->SetFileName("");
}

} // namespace qs
