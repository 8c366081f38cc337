// Every language text id the program looks up, in one list, so that a test can check that
// each shipped language file holds them all. Use the named constants (kTextProfile), never
// bare numbers; add new ids here first.
#pragma once

#include <iterator>
#include <cstddef>

namespace corvane {

// X(Name, id): one line per text id, ascending. Ids 701 and up label the buttons of the
// shipped device definition files.
#define CORVANE_TEXT_IDS(X) \
  X(Caption, 1) \
  X(WebsiteLine, 2) \
  X(Website, 3) \
  X(About, 4) \
  X(Close, 5) \
  X(Minimize, 6) \
  X(Maximize, 7) \
  X(Settings, 11) \
  X(TrayExit, 12) \
  X(DeviceVersion, 15) \
  X(FirmwareVersion, 16) \
  X(SoftwareVersion, 17) \
  X(Ok, 20) \
  X(Confirm, 22) \
  X(Accept, 23) \
  X(Cancel, 25) \
  X(Import, 26) \
  X(Export, 27) \
  X(DeleteMacro, 30) \
  X(Copy, 31) \
  X(Paste, 32) \
  X(Cut, 36) \
  X(ApplyKey, 38) \
  X(InsertEvent, 39) \
  X(NoDevice, 50) \
  X(Wired, 51) \
  X(Wireless, 52) \
  X(NoDeviceNotice, 56) \
  X(DeviceNotConnected, 57) \
  X(Profile, 61) \
  X(TabHome, 71) \
  X(TabButtons, 72) \
  X(TabPerformance, 73) \
  X(TabMacros, 74) \
  X(TabLighting, 75) \
  X(TabDeviceSettings, 76) \
  X(PreviousPage, 85) \
  X(NextPage, 86) \
  X(ButtonsTitle, 100) \
  X(ButtonList, 101) \
  X(RestoreAllButtons, 102) \
  X(ButtonPlaceholder, 103) \
  X(ResetThisButton, 104) \
  X(MouseFunctions, 105) \
  X(LeftClick, 106) \
  X(RightClick, 107) \
  X(MiddleClick, 108) \
  X(Forward, 109) \
  X(Back, 110) \
  X(FireKeyTriple, 111) \
  X(ScrollUp, 112) \
  X(ScrollDown, 113) \
  X(ScrollLeft, 114) \
  X(ScrollRight, 115) \
  X(Multimedia, 116) \
  X(VolumeUp, 117) \
  X(VolumeDown, 118) \
  X(Mute, 119) \
  X(MediaPlayer, 120) \
  X(PlayPause, 121) \
  X(PreviousTrack, 122) \
  X(NextTrack, 123) \
  X(StopMedia, 124) \
  X(MacroFunctions, 125) \
  X(SystemShortcuts, 126) \
  X(BrightnessUp, 127) \
  X(BrightnessDown, 128) \
  X(Calculator, 129) \
  X(ThisPc, 130) \
  X(BrowserHome, 131) \
  X(Email, 132) \
  X(ShowDesktop, 133) \
  X(SwitchWindows, 134) \
  X(Disable, 139) \
  X(DpiFunctions, 140) \
  X(DpiCycle, 142) \
  X(SpecialFunctions, 150) \
  X(ReportRateSwitch, 151) \
  X(LightingSwitch, 152) \
  X(ProfileSwitch, 153) \
  X(BatteryCheck, 154) \
  X(Sniper, 155) \
  X(KeyboardShortcut, 160) \
  X(RapidFireDesc, 161) \
  X(PressKeyHint, 162) \
  X(ResetButtonsBody, 170) \
  X(ResetButtonsTitle, 171) \
  X(PrimaryButtonBody, 175) \
  X(PrimaryButtonTitle, 177) \
  X(FireKey, 180) \
  X(LightingOnOff, 181) \
  X(RapidFire, 182) \
  X(CloseEditor, 183) \
  X(RapidFireCount, 185) \
  X(RapidFireInterval, 186) \
  X(RapidFireNote, 187) \
  X(PerformanceTitle, 250) \
  X(DpiStages, 251) \
  X(ResetDpi, 253) \
  X(ApplyDpi, 254) \
  X(ReportRate, 255) \
  X(ResetReportRate, 257) \
  X(ResetDpiBody, 258) \
  X(StageCount, 260) \
  X(LightingTitle, 265) \
  X(LightingEffect, 266) \
  X(LightingBrightness, 267) \
  X(LightingSpeed, 268) \
  X(LightingColor, 269) \
  X(PresetColors, 270) \
  X(CustomColor, 271) \
  X(ColorSlots, 272) \
  X(ResetLightingBody, 275) \
  X(ResetLightingTitle, 276) \
  X(BrightnessCaption, 278) \
  X(SpeedCaption, 279) \
  X(LightFlowing, 280) \
  X(LightBreathing, 281) \
  X(LightSteady, 282) \
  X(LightNeon, 283) \
  X(LightColorWave, 284) \
  X(LightOff, 285) \
  X(MacrosTitle, 350) \
  X(MacroNameBase, 351) \
  X(MacroList, 352) \
  X(NewMacro, 353) \
  X(MacroEvents, 355) \
  X(DeleteEvent, 357) \
  X(StartRecording, 358) \
  X(StopRecording, 359) \
  X(DelaySection, 360) \
  X(NoDelay, 361) \
  X(RecordDelays, 362) \
  X(FixedDelay, 363) \
  X(PlaybackSection, 364) \
  X(RepeatUntilPressed, 365) \
  X(RepeatWhileHeld, 366) \
  X(RepeatCount, 367) \
  X(InsertEventTitle, 368) \
  X(MacroTooLong, 369) \
  X(KeyFieldTip, 385) \
  X(EventListFull, 386) \
  X(SelectMacroFirst, 387) \
  X(EventNumberColumn, 388) \
  X(EventColumn, 389) \
  X(EventValueColumn, 390) \
  X(EventTypeLabel, 391) \
  X(EventValueLabel, 392) \
  X(EventMouseButton, 393) \
  X(EventKey, 394) \
  X(EventDelay, 395) \
  X(InsertKeyboardKey, 397) \
  X(InsertDelay, 398) \
  X(MoveToTop, 400) \
  X(MoveUp, 401) \
  X(MoveDown, 402) \
  X(MoveToBottom, 403) \
  X(ClearEvents, 404) \
  X(ExportAllMacros, 410) \
  X(ImportAllMacros, 411) \
  X(ListMenu, 413) \
  X(DeviceList, 414) \
  X(InsertLeftClick, 415) \
  X(InsertMiddleClick, 416) \
  X(InsertRightClick, 417) \
  X(PageList, 418) \
  X(LiftOffDistance, 501) \
  X(SensorSection, 503) \
  X(HelpMotionSync, 505) \
  X(HelpAngleSnapping, 506) \
  X(HelpLiftOffTitle, 507) \
  X(HelpLiftOff, 508) \
  X(HelpRippleControl, 509) \
  X(HelpReportRateTitle, 511) \
  X(HelpReportRate, 512) \
  X(MotionSync, 515) \
  X(AngleSnapping, 516) \
  X(RippleControl, 517) \
  X(ResponseTime, 525) \
  X(PowerSaving, 531) \
  X(SleepTime, 532) \
  X(MoveWakeup, 533) \
  X(MoveCloseLight, 534) \
  X(SystemMouseSettings, 535) \
  X(OpenMouseSettings, 536) \
  X(Minutes, 537) \
  X(Seconds, 538) \
  X(NoMouseSettingsProgram, 539) \
  X(MouseFirmware, 551) \
  X(ReceiverFirmware, 552) \
  X(RestoreDefaults, 558) \
  X(RestoreDefaultsTitle, 570) \
  X(RestoreDefaultsBody, 571) \
  X(Notice, 576) \
  X(CheckFirmware, 578) \
  X(UpToDate, 580) \
  X(SoftwareUpdate, 581) \
  X(NewVersion, 582) \
  X(UpdateNow, 583) \
  X(UpdateCheckFailed, 584) \
  X(NoFirmwareCheck, 585) \
  X(DownloadingFirmware, 590) \
  X(PreparingFirmware, 591) \
  X(UpdatingFirmware, 592) \
  X(FirmwareUpdated, 593) \
  X(DoNotUnplug, 596) \
  X(Language, 600) \
  X(Startup, 603) \
  X(Autorun, 604) \
  X(AutorunMinimized, 605) \
  X(CloseButtonMode, 607) \
  X(HideToTray, 608) \
  X(ExitProgram, 609) \
  X(ProgramRestoreDefaults, 611) \
  X(CheckSoftwareUpdate, 612) \
  X(Feedback, 615) \
  X(Faq, 616) \
  X(Saving, 630) \
  X(BatteryWarnings, 640) \
  X(BatteryWarningsBox, 641) \
  X(BatteryLow, 642) \
  X(BatteryLevel, 643) \
  X(Charging, 644) \
  X(NoTrayMinimized, 650) \
  X(NotInStep, 660) \
  X(DeleteMacroTitle, 661) \
  X(DeleteMacroBody, 662) \
  X(ClearMacroBody, 663) \
  X(LinkApplications, 670) \
  X(LinkedApplications, 671) \
  X(ApplicationChoices, 672) \
  X(ApplicationName, 673) \
  X(LinkApplication, 674) \
  X(UnlinkApplication, 675) \
  X(LinkedTo, 676) \
  X(FollowFocus, 677) \
  X(FocusSourceX11, 678) \
  X(FocusSourceScript, 679) \
  X(FocusSourceProcesses, 680) \
  X(FocusSourceOff, 681) \
  X(ColourRed, 685) \
  X(ColourOrange, 686) \
  X(ColourYellow, 687) \
  X(ColourGreen, 688) \
  X(ColourCyan, 689) \
  X(ColourBlue, 690) \
  X(ColourPurple, 691) \
  X(ColourPink, 692) \
  X(ColourWhite, 693) \
  X(ColourGrey, 694) \
  X(ColourBlack, 695) \
  X(LeftButton, 701) \
  X(RightButton, 702) \
  X(MiddleButton, 703) \
  X(BackButton, 704) \
  X(ForwardButton, 705) \
  X(DpiButton, 706)

#define CORVANE_TEXT_ID_CONSTANT(name, id) inline constexpr int kText##name = id;
CORVANE_TEXT_IDS(CORVANE_TEXT_ID_CONSTANT)
#undef CORVANE_TEXT_ID_CONSTANT

// One text id with the name of its constant, for messages that say which one is missing.
struct TextIdName {
  int id;
  const char* name;
};

#define CORVANE_TEXT_ID_ENTRY(name, id) TextIdName{id, #name},
inline constexpr TextIdName kAllTextIds[] = {CORVANE_TEXT_IDS(CORVANE_TEXT_ID_ENTRY)};
#undef CORVANE_TEXT_ID_ENTRY

inline constexpr std::size_t kTextIdCount = std::size(kAllTextIds);

}  // namespace corvane
