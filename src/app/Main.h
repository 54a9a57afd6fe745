#pragma once
// The main window: the queue of .wav files on "Files to encode", the settings on "Settings", the About page,
// and every user action on them. The class is split into files by concern: MainBuild.cpp builds the window,
// MainQueue.cpp, MainSettings.cpp, MainEncode.cpp and MainPlayback.cpp hold the handlers of each job.
#include "Bevel.h"
#include "Button.h"
#include "CheckBox.h"
#include "ComboBox.h"
#include "EncodeRun.h"
#include "FileDialog.h"
#include "Form.h"
#include "GroupBox.h"
#include "Image.h"
#include "Label.h"
#include "ListView.h"
#include "Menu.h"
#include "PageControl.h"
#include "Panel.h"
#include "QueueRules.h"
#include "TB97Button.h"
#include "TB97Dock.h"
#include "TB97Toolbar.h"
#include "TB97ToolbarSep.h"
#include "TabSheet.h"

#include <string>
#include <vector>

namespace qs {

class TDropFile;
class TMediaPlayer;

class TMain : public TForm {
public:
  static constexpr const char* WindowCaption = "QuillStack V3";
  static constexpr int DesignClientWidth = 482;
  static constexpr int DesignClientHeight = 313;
  static constexpr TColor HintBackground = 0x00FF00; // pure green, COLORREF order 0x00BBGGRR
  static constexpr int HintDelayMs = 500;
  static constexpr const char* EmailAddress = "quillstack@example.com";
  static constexpr const char* EmailSubject = "QuillStack";
  static constexpr const char* WebPage = "http://www.example.com/quillstack/";

  explicit TMain(TComponent* owner);
  ~TMain() override;

  // Start-up and the About page.
  void Loadsettings(TComponent* sender);
  void EmailClick(TComponent* sender);
  void Label10Click(TComponent* sender);

  // The queue.
  void Add1Click(TComponent* sender);
  void Delete1Click(TComponent* sender);
  void Clear1Click(TComponent* sender);
  void Sortlist(TComponent* sender);

  // The settings page.
  void ChangeEncClick(TComponent* sender);
  void ChangeSaveClick(TComponent* sender);
  void ResetbuttonClick(TComponent* sender);

  // The encode run.
  void EncodeClick(TComponent* sender);
  // Asked before the window closes: rows still waiting to be encoded make the user confirm.
  bool FormCloseQuery(TComponent* sender);
  TEncodeRun& EncodeRun() { return FEncodeRun; }

  // Preview playback.
  void Play1Click(TComponent* sender);
  void Stop1Click(TComponent* sender);

  // A file dropped on the list from the shell.
  void Addtolist(TComponent* sender, std::string fileWithPath, std::string fileName, std::string extension);
  // Appends rows the drop target has already accepted (no duplicate test: a dropped file may be listed twice),
  // as one batch, keeps the Add dialog's duplicate index in step and enables Encode.
  void AppendQueueRows(const std::vector<std::string>& paths);

  // Controls, named as in the window's layout.
  TPageControl* PageControl1 = nullptr;
  TTabSheet* Encodetab = nullptr;
  TTabSheet* Settingstab = nullptr;
  TTabSheet* Abouttab = nullptr;

  TDock97* Dock971 = nullptr;
  TDock97* Dock972 = nullptr;
  TDock97* Dock973 = nullptr;
  TToolbar97* Toolbar971 = nullptr;
  TToolbarButton97* Newbutton = nullptr;
  TToolbarButton97* ToolbarButton972 = nullptr;
  TToolbarButton97* Deletebutton = nullptr;
  TToolbarButton97* ToolbarButton973 = nullptr;
  TToolbarButton97* ToolbarButton974 = nullptr;
  TToolbarButton97* Encode = nullptr;
  TToolbarSep97* ToolbarSep971 = nullptr;
  TToolbarSep97* ToolbarSep972 = nullptr;
  TToolbarSep97* ToolbarSep973 = nullptr;
  TToolbarSep97* ToolbarSep974 = nullptr;
  TListView* ListView1 = nullptr;
  TMediaPlayer* MediaPlayer1 = nullptr;
  TDropFile* DropFile1 = nullptr;

  TGroupBox* Settingsenc = nullptr;
  TLabel* Label1 = nullptr;
  TLabel* Enclocation = nullptr;
  TButton* ChangeEnc = nullptr;
  TGroupBox* GroupBox1 = nullptr;
  TLabel* Label2 = nullptr;
  TLabel* Label3 = nullptr;
  TButton* ChangeSave = nullptr;
  TGroupBox* GroupBox2 = nullptr;
  TLabel* Label4 = nullptr;
  TComboBox* Bitratebox = nullptr;
  TButton* Resetbutton = nullptr;
  TGroupBox* GroupBox3 = nullptr;
  TCheckBox* Powerdownbox = nullptr;

  TImage* Logo = nullptr;
  TLabel* Label5 = nullptr;
  TLabel* Label6 = nullptr;
  TLabel* Label8 = nullptr;
  TLabel* Email = nullptr;
  TLabel* Label9 = nullptr;
  TLabel* Label10 = nullptr;

  TPopupMenu* PopupMenu1 = nullptr;
  TMenuItem* Add1 = nullptr;
  TMenuItem* Delete1 = nullptr;
  TMenuItem* N2 = nullptr;
  TMenuItem* Play1 = nullptr;
  TMenuItem* Stop1 = nullptr;
  TMenuItem* N1 = nullptr;
  TMenuItem* Clear1 = nullptr;

  TOpenDialog* OpenDialog1 = nullptr;
  TOpenDialog* Encodedir = nullptr;
  TSaveDialog* SaveDialog1 = nullptr;

private:
  void BuildEncodePage();
  void BuildToolbarRow();
  void BuildSettingsPage();
  void BuildAboutPage();
  void BuildPopupMenu();
  void BuildDialogs();
  void WireEvents();
  void BuildPlayerAndDropTarget();

  // The paths of one drop are collected between these two and listed as one batch at its end.
  void DropStarted(TComponent* sender);
  // The floating toolbar's close button: Encode lives only on the toolbar, so it comes back docked at the top.
  void ToolbarClosed(TComponent* sender);
  void DropEnded(TComponent* sender);

  // Writes "Loadpath" and "Bitrate" as an encode run does and returns the encoder folder it reads back.
  std::string StoreRunSettings(const std::string& bitrate);
  std::vector<std::string> QueueRows() const;
  void RebuildQueueIndex();

  // Every caption now listed, so that the Add dialog's duplicate test need not scan the list.
  TQueueIndex FQueueIndex;
  // Accepted paths of the drop being delivered; Addtolist outside a drop lists its path at once.
  bool FCollectingDrop = false;
  std::vector<std::string> FDroppedPaths;
  TEncodeRun FEncodeRun{*this, WindowCaption};
};

} // namespace qs
