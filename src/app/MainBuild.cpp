// The main window's layout: every control with its place (pixels at 96 dpi, Left, Top, Width x Height within
// its parent), captions, hints and fixed settings. Handlers are attached in Main.cpp.
#include "Main.h"

#include "DropFile.h"
#include "MPlayer.h"
#include "SettingsRules.h"

namespace qs {

namespace {

// Creates a control owned by `owner`, named, placed in `parent` at the given bounds.
template <typename T>
T* Place(TComponent* owner, TWinControl* parent, const char* name, int left, int top, int width, int height) {
  auto* control = new T(owner);
  control->SetName(name);
  control->SetBounds(left, top, width, height);
  control->SetParent(parent);
  return control;
}

TLabel* PlaceLabel(TComponent* owner, TWinControl* parent, const char* name, int left, int top,
                   const std::string& caption) {
  auto* label = Place<TLabel>(owner, parent, name, left, top, 0, 0);
  label->SetCaption(caption);
  return label;
}

// A label of fixed size (no auto-sizing), as used for the folders shown on the settings page.
TLabel* PlaceFixedLabel(TComponent* owner, TWinControl* parent, const char* name, int left, int top, int width,
                        int height, const std::string& caption) {
  auto* label = Place<TLabel>(owner, parent, name, left, top, width, height);
  label->SetAutoSize(false);
  label->SetCaption(caption);
  return label;
}

TButton* PlaceButton(TComponent* owner, TWinControl* parent, const char* name, const std::string& caption) {
  constexpr int Left = 360, Top = 16, Width = 97, Height = 33;
  auto* button = Place<TButton>(owner, parent, name, Left, Top, Width, Height);
  button->SetCaption(caption);
  return button;
}

TGroupBox* PlaceGroup(TComponent* owner, TWinControl* parent, const char* name, int top, const std::string& caption) {
  constexpr int Left = 8, Width = 465, Height = 57;
  auto* group = Place<TGroupBox>(owner, parent, name, Left, top, Width, Height);
  group->SetCaption(caption);
  return group;
}

} // namespace

void TMain::BuildEncodePage() {
  PageControl1 = Place<TPageControl>(this, this, "PageControl1", 0, 0, 481, 313);
  Encodetab = Place<TTabSheet>(this, nullptr, "Encodetab", 0, 0, 0, 0);
  Encodetab->SetCaption("Files to encode");
  Encodetab->SetPageControl(PageControl1);
  Settingstab = Place<TTabSheet>(this, nullptr, "Settingstab", 0, 0, 0, 0);
  Settingstab->SetCaption("Settings");
  Settingstab->SetPageControl(PageControl1);
  Abouttab = Place<TTabSheet>(this, nullptr, "Abouttab", 0, 0, 0, 0);
  Abouttab->SetCaption("About");
  Abouttab->SetPageControl(PageControl1);

  // The docks along the top, left and right edges, and the list in what is left between them.
  Dock971 = Place<TDock97>(this, Encodetab, "Dock971", 0, 0, 473, 26);
  Dock972 = Place<TDock97>(this, Encodetab, "Dock972", 0, 26, 9, 259);
  Dock972->SetPosition(dpLeft);
  Dock973 = Place<TDock97>(this, Encodetab, "Dock973", 464, 26, 9, 259);
  Dock973->SetPosition(dpRight);
  ListView1 = Place<TListView>(this, Encodetab, "ListView1", 9, 26, 455, 259);
  ListView1->SetAlign(TAlign::alClient);
  ListView1->SetHint("Right Click to add files");
  ListView1->SetReadOnly(true);
  ListView1->SetMultiSelect(true);
  ListView1->AddColumn("Name", 469);
  BuildToolbarRow();
}

void TMain::BuildToolbarRow() {
  constexpr int ButtonHeight = 22, GlyphButtonWidth = 23, EncodeWidth = 73;
  Toolbar971 = new TToolbar97(this);
  Toolbar971->SetName("Toolbar971");
  Toolbar971->SetCaption("Toolbar971");
  Toolbar971->SetDockPos(0);
  Toolbar971->SetFullSize(true);
  Toolbar971->SetParent(Dock971);
  auto button = [&](const char* name, int left, int width, const wchar_t* glyph, const char* hint) {
    auto* b = Place<TToolbarButton97>(this, Toolbar971, name, left, 0, width, ButtonHeight);
    if (glyph) {
      TBitmap picture;
      picture.LoadFromResourceName(glyph);
      b->SetGlyph(picture);
    }
    b->SetHint(hint);
    return b;
  };
  // Separators are placed by the toolbar; their stored left edge only gives their order.
  auto separator = [&](const char* name, int left) {
    return Place<TToolbarSep97>(this, Toolbar971, name, left, 0, TToolbarSep97::DefaultSize, ButtonHeight);
  };
  Newbutton = button("Newbutton", 0, GlyphButtonWidth, L"GLYPH_CLEAR", "Clear list");
  ToolbarButton972 = button("ToolbarButton972", 23, GlyphButtonWidth, L"GLYPH_ADD", "Add file");
  ToolbarSep971 = separator("ToolbarSep971", 46);
  Deletebutton = button("Deletebutton", 52, GlyphButtonWidth, L"GLYPH_DELETE", "Delete");
  ToolbarSep974 = separator("ToolbarSep974", 75);
  ToolbarButton973 = button("ToolbarButton973", 81, GlyphButtonWidth, L"GLYPH_PLAY", "Play");
  ToolbarButton974 = button("ToolbarButton974", 104, GlyphButtonWidth, L"GLYPH_STOP", "Stop");
  ToolbarSep972 = separator("ToolbarSep972", 127);
  Encode = button("Encode", 133, EncodeWidth, nullptr, "Click to encode");
  Encode->SetCaption("Encode");
  Encode->SetEnabled(false);
  ToolbarSep973 = separator("ToolbarSep973", 206);
}

void TMain::BuildPlayerAndDropTarget() {
  // Never shown: the player only owns the MCI device and is the window MCI reports to.
  MediaPlayer1 = new TMediaPlayer(this);
  MediaPlayer1->SetName("MediaPlayer1");
  MediaPlayer1->SetVisible(false);
  MediaPlayer1->SetBounds(216, 216, 253, 30);
  MediaPlayer1->SetParent(Encodetab);

  DropFile1 = new TDropFile(this);
  DropFile1->SetName("DropFile1");
  DropFile1->SetDropTarget(ListView1);
  DropFile1->OnDropStart = [this](TComponent* sender) { DropStarted(sender); };
  DropFile1->OnDropFile = [this](TComponent* sender, std::string fileWithPath, std::string fileName,
                                 std::string extension) {
    Addtolist(sender, std::move(fileWithPath), std::move(fileName), std::move(extension));
  };
  DropFile1->OnDropEnd = [this](TComponent* sender) { DropEnded(sender); };
}

void TMain::BuildSettingsPage() {
  Settingsenc = PlaceGroup(this, Settingstab, "Settingsenc", 8, "Tessera encoder");
  Label1 = PlaceLabel(this, Settingsenc, "Label1", 16, 24, "File location:");
  Enclocation = PlaceFixedLabel(this, Settingsenc, "Enclocation", 80, 24, 289, 17, std::string(kUnknownEncoderCaption));
  ChangeEnc = PlaceButton(this, Settingsenc, "ChangeEnc", "C&hange");

  GroupBox1 = PlaceGroup(this, Settingstab, "GroupBox1", 72, "Save folder");
  Label2 = PlaceLabel(this, GroupBox1, "Label2", 8, 24, "AAC files are saved to:");
  Label3 = PlaceFixedLabel(this, GroupBox1, "Label3", 120, 24, 249, 13, std::string(kDefaultSaveFolder));
  ChangeSave = PlaceButton(this, GroupBox1, "ChangeSave", "Ch&ange");

  GroupBox2 = PlaceGroup(this, Settingstab, "GroupBox2", 136, "Bitrate");
  Label4 = PlaceLabel(this, GroupBox2, "Label4", 8, 24, "The current bitrate is:");
  Bitratebox = Place<TComboBox>(this, GroupBox2, "Bitratebox", 120, 24, 121, 21);
  Bitratebox->SetItems(std::vector<std::string>(kBitrateChoices.begin(), kBitrateChoices.end()));
  Bitratebox->SetText(std::string(kDefaultBitrate));
  Resetbutton = PlaceButton(this, GroupBox2, "Resetbutton", "Rese&t");

  GroupBox3 = PlaceGroup(this, Settingstab, "GroupBox3", 200, "Additional");
  Powerdownbox = Place<TCheckBox>(this, GroupBox3, "Powerdownbox", 8, 24, 441, 17);
  Powerdownbox->SetCaption("Power down Windows 95/98 after encoding has finished");
  Powerdownbox->SetHint("Requires compatible hardware");
}

void TMain::BuildAboutPage() {
  Logo = Place<TImage>(this, Abouttab, "Logo", 56, 16, 369, 57);
  Logo->Picture().LoadFromResourceName(L"BANNER");
  Label5 = PlaceLabel(this, Abouttab, "Label5", 144, 80, "QuillStack team, 2026");
  Label5->SetAutoSize(false);
  Label5->SetBounds(144, 80, 178, 16);
  Label5->Font().SetHeight(-13);
  Label5->Font().SetStyle(fsBold);
  Label5->Font().SetColor(clBlack);
  Label6 = PlaceFixedLabel(this, Abouttab, "Label6", 32, 144, 433, 41,
                           "This has been written as a quick and easy way to organise multiple files for conversion "
                           "by the Tessera AAC software encoder. If you have any suggestions please email me.");
  Label6->SetWordWrap(true);
  Label8 = PlaceLabel(this, Abouttab, "Label8", 128, 200, "Email:");
  Email = PlaceLabel(this, Abouttab, "Email", 168, 200, EmailAddress);
  Email->Font().SetHeight(TFont::DefaultHeight);
  Label9 = PlaceLabel(this, Abouttab, "Label9", 112, 224, "Webpage:");
  Label10 = PlaceLabel(this, Abouttab, "Label10", 168, 224, WebPage);
  for (TLabel* link : {Email, Label10}) {
    link->Font().SetColor(clBlue);
    link->Font().SetStyle(fsUnderline);
    link->SetCursor(IDC_CROSS);
  }
  Email->SetHint("Click to email");
  Label10->SetHint("Click to visit");
}

void TMain::BuildPopupMenu() {
  PopupMenu1 = new TPopupMenu(this);
  PopupMenu1->SetName("PopupMenu1");
  Add1 = PopupMenu1->AddItem("Add1", "Add");
  Delete1 = PopupMenu1->AddItem("Delete1", "Delete");
  N2 = PopupMenu1->AddItem("N2", TMenuItem::SeparatorCaption);
  Play1 = PopupMenu1->AddItem("Play1", "Play");
  Stop1 = PopupMenu1->AddItem("Stop1", "Stop");
  N1 = PopupMenu1->AddItem("N1", TMenuItem::SeparatorCaption);
  Clear1 = PopupMenu1->AddItem("Clear1", "Clear");
  ListView1->SetPopupMenu(PopupMenu1);
}

void TMain::BuildDialogs() {
  OpenDialog1 = new TOpenDialog(this);
  OpenDialog1->SetName("OpenDialog1");
  OpenDialog1->SetTitle("Please select files to convert");
  OpenDialog1->SetFilter({{"wav", "*.wav"}});
  OpenDialog1->SetDefaultExt("*.wav");
  OpenDialog1->SetOptions(ofHideReadOnly | ofAllowMultiSelect);

  Encodedir = new TOpenDialog(this);
  Encodedir->SetName("Encodedir");
  Encodedir->SetTitle("Please select the encoder batch file");
  Encodedir->SetFilter({{"encode.bat", "encode.bat"}});
  Encodedir->SetOptions(ofHideReadOnly);

  SaveDialog1 = new TSaveDialog(this);
  SaveDialog1->SetName("SaveDialog1");
  SaveDialog1->SetTitle("Please select the directory to save in");
  SaveDialog1->SetFilter({{"Example.aac", "Example.aac"}});
  SaveDialog1->SetDefaultExt("example.aac");
  SaveDialog1->SetFileName("example.aac");
  SaveDialog1->SetOptions(ofHideReadOnly);
}

} // namespace qs
