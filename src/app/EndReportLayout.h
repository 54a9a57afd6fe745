#pragma once
// Where the parts of the end-of-run report go. The report appears on its own (TEndReport) or inside the power-down
// countdown (TPowerDownCountdown), and either way it must fit the work area of the monitor it appears on, however
// many files it lists: the list gives up height first, so the buttons always stay on the screen.
//
//   +------------------------------------------------+
//   |  header: the countdown's text (none on its own)|
//   |  summary: "2 of 5 files were not encoded"      |
//   |  +------------------------------------------+  |
//   |  | C:\In\a.wav: not run: ...                |  |
//   |  | C:\In\b.wav: the encoder's run ended ... |  |  the list scrolls
//   |  +------------------------------------------+  |
//   |                            [ Copy ] [  OK  ]   |  Copy only with a report; OK or Cancel
//   +------------------------------------------------+
#include "Geometry.h"

namespace qs {

inline constexpr int kReportClientWidth = 560;
inline constexpr int kReportMargin = 12;
inline constexpr int kReportGap = 8;
inline constexpr int kReportButtonWidth = 75;
inline constexpr int kReportButtonHeight = 25;
// The list's sunken edge and the edit control's inner margin, above and below the text.
inline constexpr int kReportListChrome = 6;
// Fewer rows than this give the list this height anyway, as long as the work area has room for it.
inline constexpr int kReportMinimumListLines = 3;

struct TEndReportInput {
  TIntRect WorkArea;   // of the monitor the window appears on, in screen coordinates
  TIntSize Frame;      // the window's size less its client size (caption and borders)
  int LineHeight = 0;  // of the window's font
  int HeaderLines = 0; // lines of text above the summary; 0 for the report on its own
  bool HasReport = true;
  int ListLines = 0; // lines of the list as shown, long ones wrapped
};

struct TEndReportLayout {
  TIntRect Window; // screen coordinates
  // Client coordinates; the ones a window does not have are empty.
  TIntRect Header;
  TIntRect Summary;
  TIntRect List;
  TIntRect CopyButton;
  TIntRect CloseButton; // OK, or Cancel in the countdown

  bool operator==(const TEndReportLayout&) const = default;
};

TEndReportLayout LayOutEndReport(const TEndReportInput& input);

} // namespace qs
