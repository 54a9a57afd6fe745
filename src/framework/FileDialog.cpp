#include "FileDialog.h"

#include "Exception.h"
#include "FileDialogRules.h"
#include "Seams.h"
#include "Unicode.h"

#include <windows.h>

#include <commdlg.h>

namespace qs {

namespace {

// Room for the file names of a multiple selection, in characters. Allocated up front: Wine's dialog does not
// honour the buffer size it is given, so asking again with a larger buffer after a failure is not safe there.
// 4 Mi characters hold tens of thousands of long paths.
constexpr size_t MultiSelectBufferChars = 4u * 1024u * 1024u;
constexpr size_t SingleFileBufferChars = 32768; // the longest path Windows knows

std::wstring BuildFilter(const std::vector<std::pair<std::string, std::string>>& filter) {
  std::wstring out;
  for (const auto& [description, pattern] : filter) {
    out += Widen(description);
    out += L'\0';
    out += Widen(pattern);
    out += L'\0';
  }
  out += L'\0';
  return out;
}

// The dialog wants an extension without the dot; "*.wav" and ".wav" both mean "wav".
std::wstring DefaultExtension(const std::string& ext) {
  std::string e = ext;
  if (e.rfind("*.", 0) == 0) e.erase(0, 2);
  else if (!e.empty() && e[0] == '.') e.erase(0, 1);
  return Widen(e);
}

// The buffer's text up to the empty text that ends the list.
std::vector<std::string> ParseResult(const std::vector<wchar_t>& buffer) {
  constexpr std::wstring_view kListEnd(L"\0\0", 2);
  const std::wstring_view whole(buffer.data(), buffer.size());
  const std::size_t end = whole.find(kListEnd);
  return SplitOpenDialogResult(Narrow(whole.substr(0, end)));
}

} // namespace

bool TFileDialog::Execute() { return TSeams::FileDialog(*this); }

void TFileDialog::SetResult(std::vector<std::string> files) {
  FFiles = std::move(files);
  FFileName = FFiles.empty() ? std::string() : FFiles.front();
}

bool TFileDialog::ExecuteNative() {
  const bool multi = (FOptions & ofAllowMultiSelect) != 0;
  std::vector<wchar_t> buffer(multi ? MultiSelectBufferChars : SingleFileBufferChars, L'\0');
  const std::wstring current = Widen(FFileName);
  if (current.size() < buffer.size()) std::copy(current.begin(), current.end(), buffer.begin());
  const std::wstring filter = BuildFilter(FFilter);
  const std::wstring title = Widen(FTitle);
  const std::wstring initialDir = Widen(FInitialDir);
  const std::wstring defExt = DefaultExtension(FDefaultExt);

  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof(ofn);
  ofn.hwndOwner = FOwnerWindow ? static_cast<HWND>(FOwnerWindow) : GetActiveWindow();
  ofn.lpstrFilter = FFilter.empty() ? nullptr : filter.c_str();
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = buffer.data();
  ofn.nMaxFile = static_cast<DWORD>(buffer.size());
  ofn.lpstrInitialDir = initialDir.empty() ? nullptr : initialDir.c_str();
  ofn.lpstrTitle = title.empty() ? nullptr : title.c_str();
  ofn.lpstrDefExt = defExt.empty() ? nullptr : defExt.c_str();
  ofn.Flags = OFN_EXPLORER | OFN_ENABLESIZING;
  if (FOptions & ofHideReadOnly) ofn.Flags |= OFN_HIDEREADONLY;
  if (multi) ofn.Flags |= OFN_ALLOWMULTISELECT;
  if (FOptions & ofFileMustExist) ofn.Flags |= OFN_FILEMUSTEXIST;
  if (FOptions & ofPathMustExist) ofn.Flags |= OFN_PATHMUSTEXIST;
  if (FOptions & ofOverwritePrompt) ofn.Flags |= OFN_OVERWRITEPROMPT;
  if (FOptions & ofNoChangeDir) ofn.Flags |= OFN_NOCHANGEDIR;

  const BOOL ok = FKind == TKind::Open ? GetOpenFileNameW(&ofn) : GetSaveFileNameW(&ofn);
  if (!ok) {
    if (CommDlgExtendedError() == FNERR_BUFFERTOOSMALL)
      throw Exception("Too many files were selected at once; none of them was added. Please choose fewer files");
    return false;
  }
  SetResult(ParseResult(buffer));
  return true;
}

} // namespace qs
