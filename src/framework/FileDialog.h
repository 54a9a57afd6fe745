#pragma once
// The standard open and save dialogs. Each keeps its result as its current file name and opens the next
// time with that name filled in; an open dialog that allows several files keeps the whole list in Files.
#include "Component.h"

#include <string>
#include <vector>

namespace qs {

enum TOpenOption : unsigned {
  ofHideReadOnly = 1u << 0,
  ofAllowMultiSelect = 1u << 1,
  ofFileMustExist = 1u << 2,
  ofPathMustExist = 1u << 3,
  ofOverwritePrompt = 1u << 4,
  ofNoChangeDir = 1u << 5,
};

class TFileDialog : public TComponent {
public:
  enum class TKind { Open, Save };

  TFileDialog(TComponent* owner, TKind kind) : TComponent(owner), FKind(kind) {}

  TKind Kind() const { return FKind; }
  const std::string& Title() const { return FTitle; }
  void SetTitle(const std::string& title) { FTitle = title; }
  // Pairs of (description, pattern), as in the dialog's file-type box.
  const std::vector<std::pair<std::string, std::string>>& Filter() const { return FFilter; }
  void SetFilter(std::vector<std::pair<std::string, std::string>> filter) { FFilter = std::move(filter); }
  const std::string& DefaultExt() const { return FDefaultExt; }
  void SetDefaultExt(const std::string& ext) { FDefaultExt = ext; }
  const std::string& FileName() const { return FFileName; }
  void SetFileName(const std::string& name) { FFileName = name; }
  // Every chosen path, in the dialog's order (FileName is the first of them).
  const std::vector<std::string>& Files() const { return FFiles; }
  const std::string& InitialDir() const { return FInitialDir; }
  void SetInitialDir(const std::string& dir) { FInitialDir = dir; }
  unsigned Options() const { return FOptions; }
  void SetOptions(unsigned options) { FOptions = options; }

  // Shows the dialog through TSeams::FileDialog (the real dialog unless a test replaced it); true when
  // the user confirmed.
  bool Execute();
  // Shows the real Windows dialog.
  bool ExecuteNative();
  // What a test's scripted answer calls to set the result the way the real dialog would.
  void SetResult(std::vector<std::string> files);

  // Owner window of the dialog; the active window when not set.
  void SetOwnerWindow(void* wnd) { FOwnerWindow = wnd; }

private:
  TKind FKind;
  std::string FTitle;
  std::vector<std::pair<std::string, std::string>> FFilter;
  std::string FDefaultExt;
  std::string FFileName;
  std::vector<std::string> FFiles;
  std::string FInitialDir;
  unsigned FOptions = 0;
  void* FOwnerWindow = nullptr;
};

class TOpenDialog : public TFileDialog {
public:
  explicit TOpenDialog(TComponent* owner) : TFileDialog(owner, TKind::Open) {}
};

class TSaveDialog : public TFileDialog {
public:
  explicit TSaveDialog(TComponent* owner) : TFileDialog(owner, TKind::Save) {}
};

} // namespace qs
