; The Windows installer, vyr-setup.exe, made by makensis from the build
; (cmake/windows.cmake passes VERSION, FILE_VERSION, SCR, ICON and OUTFILE). It puts vyr.scr into
; the system folder, where Windows lists screen savers, registers its
; uninstaller in Add/Remove Programs, and on request makes VYR the active
; screen saver (the second component, or /ACTIVE). /S installs silently.
;
; Index
;   - Installer
;   - Sections: the screen saver, the active screen saver
;   - Uninstaller
Unicode true
Target amd64-unicode
!include "FileFunc.nsh"
!include "LogicLib.nsh"
!include "Sections.nsh"
!include "x64.nsh"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\VYR"
!define DESKTOP_KEY "Control Panel\Desktop"
; SystemParametersInfo: screen saver on or off, written to the user's
; settings and announced to every program (SPIF_UPDATEINIFILE | SPIF_SENDCHANGE),
; so that Windows takes the change now, not at the next sign-in.
!define SPI_SETSCREENSAVEACTIVE 17
!define SPIF_UPDATE_AND_SEND 3

; ---- Installer ----
Name "VYR ${VERSION}"
OutFile "${OUTFILE}"
Icon "${ICON}"
UninstallIcon "${ICON}"
; The version information Explorer shows in the file's properties.
VIProductVersion "${FILE_VERSION}"
VIFileVersion "${FILE_VERSION}"
VIAddVersionKey /LANG=0 "ProductName" "VYR"
VIAddVersionKey /LANG=0 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "FileDescription" "VYR screen saver setup"
VIAddVersionKey /LANG=0 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "CompanyName" "The VYR authors"
VIAddVersionKey /LANG=0 "LegalCopyright" "Copyright (c) 2026 The VYR authors, MIT License"
VIAddVersionKey /LANG=0 "OriginalFilename" "vyr-setup.exe"
InstallDir "$PROGRAMFILES64\VYR"
RequestExecutionLevel admin
SetCompressor /SOLID lzma
ShowInstDetails show
ShowUninstDetails show

Page components
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

; ---- Sections: the screen saver, the active screen saver ----
Section "VYR screen saver" SectionSaver
  SectionIn RO
  SetOutPath "$SYSDIR"
  File "/oname=vyr.scr" "${SCR}"
  SetOutPath "$INSTDIR"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "VYR screen saver"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "The VYR authors"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$SYSDIR\vyr.scr"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section /o "Make VYR the active screen saver" SectionActive
  WriteRegStr HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE" "$SYSDIR\vyr.scr"
  System::Call 'user32::SystemParametersInfoW(i ${SPI_SETSCREENSAVEACTIVE}, i 1, p 0, i ${SPIF_UPDATE_AND_SEND})'
SectionEnd

Function .onInit
  ${IfNot} ${RunningX64}
    MessageBox MB_OK|MB_ICONSTOP "VYR needs a 64-bit Windows." /SD IDOK
    Abort
  ${EndIf}
  SetRegView 64
  ; /ACTIVE selects the second component, for a silent install too.
  ${GetParameters} $R0
  ClearErrors
  ${GetOptions} $R0 "/ACTIVE" $R1
  ${IfNot} ${Errors}
    !insertmacro SelectSection ${SectionActive}
  ${EndIf}
FunctionEnd

; ---- Uninstaller ----
Function un.onInit
  SetRegView 64
FunctionEnd

Section "Uninstall"
  Delete "$SYSDIR\vyr.scr"
  ; No longer the active screen saver: Windows would find no file.
  ReadRegStr $0 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
  ${If} $0 == "$SYSDIR\vyr.scr"
    DeleteRegValue HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
    System::Call 'user32::SystemParametersInfoW(i ${SPI_SETSCREENSAVEACTIVE}, i 0, p 0, i ${SPIF_UPDATE_AND_SEND})'
  ${EndIf}
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
SectionEnd
