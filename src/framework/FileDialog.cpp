#include "FileDialog.h"

#include "Exception.h"
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

// Explorer-style result: one full path, or a folder followed by file names, each ending in a zero.
std::vector<std::string> ParseResult(const std::vector<wchar_t>& buffer) {
  std::vector<std::wstring> parts;
  for (size_t i = 0; i < buffer.size() && buffer[i] != L'\0';) {
    std::wstring part(&buffer[i]);
    i += part.size() + 1;
    parts.push_back(std::move(part));
  }
  std::vector<std::string> files;
  if (parts.size() == 1) {
    files.push_back(Narrow(parts[0]));
    return files;
  }
  std::wstring folder = parts.empty() ? std::wstring() : parts[0];
  if (!folder.empty() && folder.back() != L'\\') folder += L'\\';
  for (size_t i = 1; i < parts.size(); ++i) files.push_back(Narrow(folder + parts[i]));
  return files;
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
