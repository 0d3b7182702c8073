#pragma once
// Menu command ids and the control ids the commands refer to. Commands 1..31
// have an enable bit in StateFlags::menumask; the others are always enabled.
namespace cmd {
constexpr int RetrieveSession = 1;
constexpr int Template = 2;
constexpr int SaveSession = 3;
constexpr int EditHide = 4;
constexpr int EditUnhide = 5;
constexpr int ImgPaste = 6;
constexpr int EditDelete = 7;
constexpr int EditDelall = 8;
constexpr int ImageZoom = 9;
constexpr int ImagePixel = 10;
constexpr int ImageBrightness = 11;
constexpr int ImagePlay = 12;
constexpr int ImageInfo = 13;
constexpr int ExpData = 14;
constexpr int StarMode = 15;
constexpr int MeteorMode = 16;
constexpr int MReplay = 17;
constexpr int Replay = 18;
constexpr int NewSession = 19;
constexpr int WindowMeasure = 20;
constexpr int WindowAnalysis = 21;
constexpr int ImgFileOpen = 22;
// Measure > Identify stars automatically.
constexpr int IdentifyStars = 30;
// The highest id with an enable bit.
constexpr int LastMasked = 31;
constexpr int FileExit = 102;
constexpr int OptionPhotoCD = 501;
constexpr int OptionRandom = 502;
constexpr int OptionSearch = 504;
constexpr int OptionLimit = 505;
constexpr int OptionMarkCenter = 506;
constexpr int OptionSnapCentre = 507;
constexpr int OptionIdentifyTime = 508;
// Aids of the image view (checked items of the Image menu).
constexpr int ImageShowResiduals = 601;
constexpr int ImageShowCatalogue = 602;
constexpr int HelpManual = 701;
constexpr int HelpAbout = 702;
// Context menus of the image and analysis views.
constexpr int CtxHide = 901;
constexpr int CtxUnhide = 902;
constexpr int CtxSwitch = 903;  // "Switch to analysis" / "Switch to measuring"
constexpr int CtxDelete = 904;
constexpr int CtxLabel = 905;
constexpr int CtxMax = 906;
// Beyond the original's commands: Edit > Undo and Redo, File > Export report.
// Their enable rules are ExtraCommandEnabled (shell/menu_state.h).
constexpr int EditUndo = 40;
constexpr int EditRedo = 41;
constexpr int ExportReport = 42;
}  // namespace cmd

namespace ctl {
constexpr int Break = 195;           // BREAK in the replay and template dialogs
constexpr int StatusMinus = 397;     // "-" of the status strip
constexpr int StatusPlus = 398;      // "+"
constexpr int AnalysisScroll = 399;  // the analysis view's scroll bar
}  // namespace ctl
