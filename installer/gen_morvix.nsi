; Installer of gen_morvix for the Winamp media player, built by `./dev dist`:
;   makensis -DVERSION=1.0.0 -DDLL=path\gen_morvix.dll -DOUTFILE=path\setup.exe [-DTARGET64] gen_morvix.nsi
; The shipped installer is 32-bit, like the player. TARGET64 builds the same script for the 64-bit stub,
; only so that the tests can run it under the 64-bit Wine of the build machines.
;
; Installer:   setup.exe [/S] [/D=player folder]
; Uninstaller: uninstall_gen_morvix.exe [/S] [/KEEPDATA]
;   /KEEPDATA keeps the remembered positions and the settings (a silent uninstall removes them otherwise;
;   an interactive one asks).
; Exit codes: 0 done, 1 cancelled, 2 refused (the player is running, or the folder has no Plugins folder).

!ifndef VERSION
  !error "define VERSION (the root VERSION file)"
!endif
!ifndef DLL
  !error "define DLL (the built i686 gen_morvix.dll)"
!endif
!ifndef OUTFILE
  !error "define OUTFILE"
!endif

Unicode true
!ifdef TARGET64
  Target amd64-unicode
!endif

!include "MUI2.nsh"
!include "FileFunc.nsh"
!include "LogicLib.nsh"

!define PRODUCT "Morvix (gen_morvix.dll)"
!define PLAYER_WINDOW_CLASS "Winamp v1.x"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\gen_morvix"
!define UNINSTALLER "uninstall_gen_morvix.exe"
!define SETTINGS_SECTION "gen_morvix"
!define EXIT_REFUSED 2

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
RequestExecutionLevel admin
SetCompressor /SOLID lzma
; The usual per-machine folder of the 32-bit player; where this plug-in went last time, if it did.
InstallDir "$PROGRAMFILES32\Winamp"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "gen_morvix ${VERSION}"

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=1033 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1033 "FileDescription" "${PRODUCT} setup"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "Copyright (c) 2026 The gen_morvix authors. MIT licence."

!define MUI_ABORTWARNING
!define MUI_DIRECTORYPAGE_TEXT_TOP "Setup installs ${PRODUCT} into the Plugins folder of the Winamp installation below. Choose the folder where Winamp is installed (the one that holds winamp.exe and the Plugins folder)."
!define MUI_DIRECTORYPAGE_TEXT_DESTINATION "Winamp folder"
!define MUI_PAGE_CUSTOMFUNCTION_LEAVE CheckPlayerFolder
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"

; The player keeps its plug-ins loaded while it runs, so their files are locked: refuse while a player
; window exists. Interactively the user may close the player and retry.
!macro RefuseWhilePlayerRuns
  ${Do}
    FindWindow $0 "${PLAYER_WINDOW_CLASS}"
    ${If} $0 == 0
      ${Break}
    ${EndIf}
    MessageBox MB_RETRYCANCEL|MB_ICONSTOP "Winamp is running, and its plug-ins cannot be changed while it runs. Close Winamp, then choose Retry." /SD IDCANCEL IDRETRY retry
    SetErrorLevel ${EXIT_REFUSED}
    Quit
    retry:
  ${Loop}
!macroend

Function .onInit
  !insertmacro RefuseWhilePlayerRuns
FunctionEnd

; The directory page's check; a silent install has no pages and runs the same check in its section.
Function CheckPlayerFolder
  ${IfNot} ${FileExists} "$INSTDIR\Plugins\*.*"
    MessageBox MB_OK|MB_ICONEXCLAMATION "There is no Plugins folder in$\r$\n$INSTDIR$\r$\n$\r$\nChoose the folder where Winamp is installed." /SD IDOK
    Abort
  ${EndIf}
FunctionEnd

Section "gen_morvix"
  ${IfNot} ${FileExists} "$INSTDIR\Plugins\*.*"
    DetailPrint "No Plugins folder in $INSTDIR: nothing installed."
    SetErrorLevel ${EXIT_REFUSED}
    Quit
  ${EndIf}
  SetOutPath "$INSTDIR\Plugins"
  File "/oname=gen_morvix.dll" "${DLL}"
  WriteUninstaller "$INSTDIR\${UNINSTALLER}"

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT} for Winamp"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "The gen_morvix authors"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR\Plugins" "/M=gen_morvix.dll /S=0K /G=0" $0 $1 $2
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Function un.onInit
  !insertmacro RefuseWhilePlayerRuns
FunctionEnd

; Remembered positions live beside the player's INI file; the uninstaller cleans the player folder's own
; winamp.ini and Plugins folder (a player set up to keep its settings elsewhere is cleaned by hand).
Section "Uninstall"
  Delete "$INSTDIR\Plugins\gen_morvix.dll"

  ClearErrors
  ${GetOptions} $CMDLINE "/KEEPDATA" $0
  ${IfNot} ${Errors}
    DetailPrint "Remembered positions and settings kept (/KEEPDATA)."
  ${ElseIf} ${Silent}
    Call un.RemoveData
  ${Else}
    MessageBox MB_YESNO|MB_ICONQUESTION|MB_DEFBUTTON2 "Also remove the remembered playback positions (Plugins\gen_morvix.dat) and the plug-in's settings (section [${SETTINGS_SECTION}] of winamp.ini)?$\r$\n$\r$\nChoose No to keep them for a later installation." IDNO +2
    Call un.RemoveData
  ${EndIf}

  Delete "$INSTDIR\${UNINSTALLER}"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd

Function un.RemoveData
  Delete "$INSTDIR\Plugins\gen_morvix.dat"
  Delete "$INSTDIR\Plugins\gen_morvix.dat.new"
  DeleteINISec "$INSTDIR\winamp.ini" "${SETTINGS_SECTION}"
  DetailPrint "Remembered positions and settings removed."
FunctionEnd
