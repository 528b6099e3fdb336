; Installer of gen_morvix for the Winamp media player, built by `./dev dist`:
;   makensis -DVERSION=1.3.0 -DDLL=path\gen_morvix.dll -DOUTFILE=path\setup.exe [-DTARGET64] gen_morvix.nsi
; The shipped installer is 32-bit, like the player. TARGET64 builds the same script for the 64-bit stub,
; only so that the tests can run it under the 64-bit Wine of the build machines.
;
; Installer:   setup.exe [/S] [/D=player folder]
; Uninstaller: uninstall_gen_morvix.exe [/S] [/REMOVEDATA | /KEEPDATA]
;   The remembered positions and the settings are kept unless /REMOVEDATA is given; an interactive
;   uninstall without either switch asks. /KEEPDATA (the default) is still accepted and wins.
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
!include "TextFunc.nsh"

!define PRODUCT "Morvix (gen_morvix.dll)"
!define PLAYER_WINDOW_CLASS "Winamp v1.x"
!define UNINSTALL_ROOT "Software\Microsoft\Windows\CurrentVersion\Uninstall"
; The first folder's key, as every version wrote it; further folders get gen_morvix-2, gen_morvix-3 ...
!define UNINSTALL_KEY "${UNINSTALL_ROOT}\gen_morvix"
!define UNINSTALLER "uninstall_gen_morvix.exe"
!define SETTINGS_SECTION "gen_morvix"
!define DATA_FILE "gen_morvix.dat"
; Where a player keeps its INI file when it keeps it per user; else the player folder holds it.
!define PER_USER_INI_DIR "$APPDATA\Winamp"
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
; window exists. Interactively the user may close the player and retry. Checked at start and again right
; before the files change, as the player may have been started while the pages were up.
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

Var Key      ; this folder's uninstall key, under UNINSTALL_ROOT
Var KeyOwned ; 1 when that key already names this folder, 0 when it is a free one

; Finds the key whose InstallLocation is $INSTDIR, else the first free name: each folder has its own
; entry, so that uninstalling one folder never removes another's.
!macro FindUninstallKey un
  Function ${un}FindUninstallKey
    StrCpy $Key ""
    StrCpy $KeyOwned 0
    ${For} $0 1 99
      StrCpy $1 "gen_morvix-$0"
      ${IfThen} $0 == 1 ${|} StrCpy $1 "gen_morvix" ${|}
      ClearErrors
      ReadRegStr $2 HKLM "${UNINSTALL_ROOT}\$1" "InstallLocation"
      ${If} ${Errors}
        ${IfThen} $Key == "" ${|} StrCpy $Key $1 ${|}
      ${ElseIf} $2 == $INSTDIR
        StrCpy $Key $1
        StrCpy $KeyOwned 1
        ${Break}
      ${EndIf}
    ${Next}
  FunctionEnd
!macroend
!insertmacro FindUninstallKey ""
!insertmacro FindUninstallKey "un."

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
  !insertmacro RefuseWhilePlayerRuns
  SetOutPath "$INSTDIR\Plugins"
  File "/oname=gen_morvix.dll" "${DLL}"
  WriteUninstaller "$INSTDIR\${UNINSTALLER}"

  Call FindUninstallKey
  StrCpy $0 "${UNINSTALL_ROOT}\$Key"
  WriteRegStr HKLM $0 "DisplayName" "${PRODUCT} for Winamp"
  WriteRegStr HKLM $0 "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM $0 "Publisher" "The gen_morvix authors"
  WriteRegStr HKLM $0 "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM $0 "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
  WriteRegStr HKLM $0 "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
  WriteRegDWORD HKLM $0 "NoModify" 1
  WriteRegDWORD HKLM $0 "NoRepair" 1
  ${GetSize} "$INSTDIR\Plugins" "/M=gen_morvix.dll /S=0K /G=0" $1 $2 $3
  WriteRegDWORD HKLM $0 "EstimatedSize" $1
SectionEnd

Function un.onInit
  !insertmacro RefuseWhilePlayerRuns
FunctionEnd

; The plug-in keeps its data where the player keeps its INI file: the data file (and the short-lived
; names a write uses) under Plugins, the settings in a section of winamp.ini. That is the player folder
; in a portable install and the user's own folder otherwise; both are looked at, and only what is found
; is reported as removed.
Var DataPlaces ; one line per folder that holds some of it, for the question and the log

Section "Uninstall"
  !insertmacro RefuseWhilePlayerRuns
  Delete "$INSTDIR\Plugins\gen_morvix.dll"

  StrCpy $DataPlaces ""
  Push $INSTDIR
  Call un.NoteData
  ${If} "${PER_USER_INI_DIR}" != $INSTDIR
    Push "${PER_USER_INI_DIR}"
    Call un.NoteData
  ${EndIf}

  ${GetParameters} $R0
  ClearErrors
  ${GetOptions} $R0 "/KEEPDATA" $0
  ${If} ${Errors}
    ClearErrors
    ${GetOptions} $R0 "/REMOVEDATA" $0
    StrCpy $R1 "ask"
    ${IfNot} ${Errors}
      StrCpy $R1 "remove"
    ${ElseIf} ${Silent}
      StrCpy $R1 "keep"
    ${EndIf}
  ${Else}
    StrCpy $R1 "keep"
  ${EndIf}

  ${If} $DataPlaces == ""
    DetailPrint "No remembered positions or settings found in $INSTDIR or ${PER_USER_INI_DIR}."
    ${If} $R1 == "ask"
      MessageBox MB_OK|MB_ICONINFORMATION "No remembered positions or settings were found in$\r$\n  $INSTDIR$\r$\n  ${PER_USER_INI_DIR}$\r$\n$\r$\nIf your Winamp keeps its settings in another folder, they are there: Plugins\${DATA_FILE} and the section [${SETTINGS_SECTION}] of winamp.ini." /SD IDOK
    ${EndIf}
  ${Else}
    ${If} $R1 == "ask"
      StrCpy $R1 "keep"
      MessageBox MB_YESNO|MB_ICONQUESTION|MB_DEFBUTTON2 "Also remove your remembered playback positions and the plug-in's settings? They are in$\r$\n$DataPlaces$\r$\nChoose No to keep them for a later installation." /SD IDNO IDNO +2
      StrCpy $R1 "remove"
    ${EndIf}
    ${If} $R1 == "remove"
      Push $INSTDIR
      Call un.RemoveData
      ${If} "${PER_USER_INI_DIR}" != $INSTDIR
        Push "${PER_USER_INI_DIR}"
        Call un.RemoveData
      ${EndIf}
    ${Else}
      DetailPrint "Remembered positions and settings kept in$\r$\n$DataPlaces"
    ${EndIf}
  ${EndIf}

  Delete "$INSTDIR\${UNINSTALLER}"
  Call un.FindUninstallKey
  ${If} $KeyOwned == 1
    DeleteRegKey HKLM "${UNINSTALL_ROOT}\$Key"
  ${EndIf}
SectionEnd

; folder on the stack: sets $1 to 1 when its winamp.ini holds the settings section, else 0.
Function un.HasSettings
  Exch $0
  StrCpy $1 0
  ClearErrors
  FileOpen $2 "$0\winamp.ini" r
  ${IfNot} ${Errors}
    ${Do}
      FileRead $2 $3
      ${IfThen} ${Errors} ${|} ${ExitDo} ${|}
      ${TrimNewLines} $3 $3
      ${If} $3 == "[${SETTINGS_SECTION}]"
        StrCpy $1 1
        ${ExitDo}
      ${EndIf}
    ${Loop}
    FileClose $2
  ${EndIf}
  Pop $0
FunctionEnd

; folder on the stack: adds a line for it to $DataPlaces when it holds the data file or the settings.
Function un.NoteData
  Exch $0
  StrCpy $4 ""
  ${If} ${FileExists} "$0\Plugins\${DATA_FILE}"
  ${OrIf} ${FileExists} "$0\Plugins\${DATA_FILE}.new"
  ${OrIf} ${FileExists} "$0\Plugins\gen_morvix.da~"
    StrCpy $4 "Plugins\${DATA_FILE}"
  ${EndIf}
  Push $0
  Call un.HasSettings
  ${If} $1 == 1
    ${IfThen} $4 != "" ${|} StrCpy $4 "$4, " ${|}
    StrCpy $4 "$4[${SETTINGS_SECTION}] in winamp.ini"
  ${EndIf}
  ${IfThen} $4 != "" ${|} StrCpy $DataPlaces "$DataPlaces  $0 ($4)$\r$\n" ${|}
  Pop $0
FunctionEnd

; folder on the stack: removes the data file, its temporary names and the settings section there, and
; logs each thing removed or left.
Function un.RemoveData
  Exch $0
  ${ForEach} $5 1 3 + 1
    ${Select} $5
      ${Case} 1
        StrCpy $6 "$0\Plugins\${DATA_FILE}"
      ${Case} 2
        StrCpy $6 "$0\Plugins\${DATA_FILE}.new"
      ${CaseElse}
        StrCpy $6 "$0\Plugins\gen_morvix.da~"
    ${EndSelect}
    ${If} ${FileExists} $6
      Delete $6
      ${If} ${FileExists} $6
        DetailPrint "Could not remove $6."
      ${Else}
        DetailPrint "Removed $6."
      ${EndIf}
    ${EndIf}
  ${Next}
  Push $0
  Call un.HasSettings
  ${If} $1 == 1
    DeleteINISec "$0\winamp.ini" "${SETTINGS_SECTION}"
    FlushINI "$0\winamp.ini"
    Push $0
    Call un.HasSettings
    ${If} $1 == 1
      DetailPrint "Could not remove the section [${SETTINGS_SECTION}] of $0\winamp.ini."
    ${Else}
      DetailPrint "Removed the section [${SETTINGS_SECTION}] of $0\winamp.ini."
    ${EndIf}
  ${EndIf}
  Pop $0
FunctionEnd
