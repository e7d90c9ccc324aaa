; Installer of the cinevane screen saver.
;
; It installs for the user who runs it, without administrator rights, into a
; folder that user owns (%LOCALAPPDATA%\Programs\cinevane on Windows 2000 and
; later; the system folder on Windows 98/Me, where every user may write), and
; makes the program that user's screen saver. The settings file cinevane.ini
; lies beside the program, so the program must live where the user can write:
; then the settings dialog and the show read and write the same real file,
; elevated or not, with or without file virtualization.
;
; makensis -INPUTCHARSET UTF8 -DVERSION=1.2.3 -DPROGRAM=path\cinevane.scr
;          -DICON=path\cinevane.ico -DOUTFILE=path\cinevane-setup.exe [-DAMD64] cinevane.nsi

!ifdef AMD64
  ; The installer of the 64-bit program: a 64-bit installer, which NSIS
  ; builds only as a Unicode one.
  Unicode true
  Target amd64-unicode
!else
  Unicode false                ; ANSI, so that it also runs on Windows 98
!endif
!ifndef VERSION
  !error "VERSION is not defined"
!endif
!ifndef PROGRAM
  !error "PROGRAM (the built cinevane.scr) is not defined"
!endif
!ifndef OUTFILE
  !define OUTFILE "cinevane-setup.exe"
!endif

!include "LogicLib.nsh"
!include "WinVer.nsh"
!include "MUI2.nsh"

!define APP        "cinevane"
!define SAVER      "cinevane.scr"
!define UNINSTALLER "cinevane-uninstall.exe"  ; named for the shared system folder of Windows 98
!define DESKTOP    "Control Panel\Desktop"
!define APPKEY     "Software\cinevane"
!define UNINSTKEY  "Software\Microsoft\Windows\CurrentVersion\Uninstall\cinevane"
!define SPI_SETSCREENSAVEACTIVE 17
!define SPIF_UPDATE_AND_SEND    3

Name "${APP} ${VERSION}"
OutFile "${OUTFILE}"
RequestExecutionLevel user
SetCompressor /SOLID lzma
ShowInstDetails show
ShowUninstDetails show
BrandingText "${APP} ${VERSION}"
!ifdef ICON
  !define MUI_ICON "${ICON}"
  !define MUI_UNICON "${ICON}"
!endif

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=1033 "ProductName" "${APP}"
VIAddVersionKey /LANG=1033 "FileDescription" "${APP} screen saver installer"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "Copyright (c) 2026 the cinevane authors"

!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_TEXT "$(FinishText)"
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
; The first language is the fallback for users of any other language.
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "Japanese"

LangString FinishText ${LANG_ENGLISH} "cinevane is now your screen saver.$\r$\n$\r$\nChoose your videos under Screen Saver Settings > Settings."
LangString FinishText ${LANG_JAPANESE} "cinevane をスクリーンセーバーに設定しました。$\r$\n$\r$\n再生する動画は、スクリーンセーバーの設定の「設定」ボタンから選べます。"


; Sets $R0 to 1 when the screen-saver path in $R1 names this installation's
; program (long or short form), else 0. Windows keeps either form.
!macro IS_THIS_SAVER prefix
Function ${prefix}IsThisSaver
  Push $R2
  StrCpy $R0 0
  ${If} $R1 == "$INSTDIR\${SAVER}"
    StrCpy $R0 1
  ${Else}
    GetFullPathName /SHORT $R2 "$INSTDIR\${SAVER}"
    ${If} $R2 != ""
    ${AndIf} $R1 == $R2
      StrCpy $R0 1
    ${EndIf}
  ${EndIf}
  Pop $R2
FunctionEnd
!macroend
!insertmacro IS_THIS_SAVER ""
!insertmacro IS_THIS_SAVER "un."

; The screen saver the user has chosen: the registry on the NT family,
; SYSTEM.INI on Windows 98/Me. Result in $R1; the error flag when none.
!macro READ_SAVER
  ClearErrors
  ${If} ${IsNT}
    ReadRegStr $R1 HKCU "${DESKTOP}" "SCRNSAVE.EXE"
  ${Else}
    ReadINIStr $R1 "$WINDIR\system.ini" "boot" "SCRNSAVE.EXE"
  ${EndIf}
!macroend

!macro WRITE_SAVER path
  ${If} ${IsNT}
    WriteRegStr HKCU "${DESKTOP}" "SCRNSAVE.EXE" "${path}"
  ${Else}
    WriteINIStr "$WINDIR\system.ini" "boot" "SCRNSAVE.EXE" "${path}"
  ${EndIf}
!macroend

!macro DELETE_SAVER
  ${If} ${IsNT}
    DeleteRegValue HKCU "${DESKTOP}" "SCRNSAVE.EXE"
  ${Else}
    DeleteINIStr "$WINDIR\system.ini" "boot" "SCRNSAVE.EXE"
  ${EndIf}
!macroend

; Switches the screen saver on or off the way the display settings do: the
; value is stored and running programs are told.
!macro SET_SAVER_ACTIVE flag
  WriteRegStr HKCU "${DESKTOP}" "ScreenSaveActive" "${flag}"
  System::Call 'user32::SystemParametersInfo(i ${SPI_SETSCREENSAVEACTIVE}, i ${flag}, p 0, i ${SPIF_UPDATE_AND_SEND}) i'
!macroend

Function .onInit
  ${If} $INSTDIR == ""             ; no /D= on the command line
    ReadRegStr $INSTDIR HKCU "${APPKEY}" "InstallDir"
  ${EndIf}
  ${If} $INSTDIR == ""
    ${If} ${IsNT}
    ${AndIf} $LOCALAPPDATA != ""
      StrCpy $INSTDIR "$LOCALAPPDATA\Programs\${APP}"
    ${Else}
      StrCpy $INSTDIR "$SYSDIR"
    ${EndIf}
  ${EndIf}
FunctionEnd

Section "cinevane"
  SetOutPath "$INSTDIR"
  File "/oname=${SAVER}" "${PROGRAM}"
  WriteUninstaller "$INSTDIR\${UNINSTALLER}"

  ; Remember the user's screen saver once, so that the uninstaller can give
  ; it back; a reinstallation over this one keeps the first record.
  ReadRegDWORD $0 HKCU "${APPKEY}" "Recorded"
  ${If} $0 != 1
    !insertmacro READ_SAVER
    ${IfNot} ${Errors}
      Call IsThisSaver
      ${If} $R0 == 0
        WriteRegStr HKCU "${APPKEY}" "PreviousScreenSaver" $R1
      ${EndIf}
    ${EndIf}
    ClearErrors
    ReadRegStr $1 HKCU "${DESKTOP}" "ScreenSaveActive"
    ${IfNot} ${Errors}
      WriteRegStr HKCU "${APPKEY}" "PreviousScreenSaveActive" $1
    ${EndIf}
    WriteRegDWORD HKCU "${APPKEY}" "Recorded" 1
  ${EndIf}
  WriteRegStr HKCU "${APPKEY}" "InstallDir" "$INSTDIR"

  ; Windows starts the screen saver by the path in SCRNSAVE.EXE; the short
  ; form has no blanks, which older systems cannot pass on.
  GetFullPathName /SHORT $0 "$INSTDIR\${SAVER}"
  ${If} $0 == ""
    StrCpy $0 "$INSTDIR\${SAVER}"
  ${EndIf}
  !insertmacro WRITE_SAVER $0
  !insertmacro SET_SAVER_ACTIVE 1

  WriteRegStr HKCU "${UNINSTKEY}" "DisplayName" "${APP} (screen saver)"
  WriteRegStr HKCU "${UNINSTKEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTKEY}" "Publisher" "the cinevane authors"
  WriteRegStr HKCU "${UNINSTKEY}" "DisplayIcon" "$INSTDIR\${SAVER},0"
  WriteRegStr HKCU "${UNINSTKEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTKEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
  WriteRegStr HKCU "${UNINSTKEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
  WriteRegDWORD HKCU "${UNINSTKEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTKEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
  ; Give the user's earlier screen saver back, but only while this one is
  ; still the chosen one: a choice made since then stays.
  !insertmacro READ_SAVER
  ${IfNot} ${Errors}
    Call un.IsThisSaver
    ${If} $R0 == 1
      ClearErrors
      ReadRegStr $0 HKCU "${APPKEY}" "PreviousScreenSaver"
      ${If} ${Errors}
        !insertmacro DELETE_SAVER
      ${Else}
        !insertmacro WRITE_SAVER $0
      ${EndIf}
      ClearErrors
      ReadRegStr $1 HKCU "${APPKEY}" "PreviousScreenSaveActive"
      ${If} ${Errors}
        DeleteRegValue HKCU "${DESKTOP}" "ScreenSaveActive"
      ${ElseIf} $1 == 0
        !insertmacro SET_SAVER_ACTIVE 0
      ${Else}
        WriteRegStr HKCU "${DESKTOP}" "ScreenSaveActive" $1
      ${EndIf}
    ${EndIf}
  ${EndIf}

  Delete "$INSTDIR\${SAVER}"
  Delete "$INSTDIR\cinevane.ini"     ; the settings kept beside the program
  ; This runs from a copy of the uninstaller, which may start before the
  ; original has exited and let go of its file: try again for a few seconds,
  ; then leave the file to the next restart.
  StrCpy $0 0
  retry_uninstaller:
    ClearErrors
    Delete "$INSTDIR\${UNINSTALLER}"
    IfErrors 0 uninstaller_gone
    IntOp $0 $0 + 1
    IntCmp $0 50 uninstaller_stuck
    Sleep 100
    Goto retry_uninstaller
  uninstaller_stuck:
    Delete /REBOOTOK "$INSTDIR\${UNINSTALLER}"
  uninstaller_gone:
  RMDir "$INSTDIR"                   ; only when nothing else is left in it
  DeleteRegKey HKCU "${UNINSTKEY}"
  DeleteRegKey HKCU "${APPKEY}"
SectionEnd
