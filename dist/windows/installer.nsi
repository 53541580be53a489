; The Orvane installer: a per-user install (no administrator rights) with a
; Start menu entry, an uninstaller and "Open with Orvane" for .s files that
; leaves their default program alone. makensis gets VERSION, SOURCE (the
; laid-out release folder), ICON, FILES and UNFILES (what the release script
; listed to install and to remove) and OUTFILE.
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user

!include "MUI2.nsh"

Name "Orvane ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Orvane"
InstallDirRegKey HKCU "Software\Orvane" "InstallDir"
BrandingText "Orvane ${VERSION}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
; "Run Orvane" on the finish page starts it as the Start menu entry does.
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_FUNCTION RunOrvane
!insertmacro MUI_PAGE_LICENSE "${SOURCE}\licenses\Orvane-MIT.txt"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Orvane"
!define PROGID "Orvane.Shape"

; A shortcut and Exec start the program in the current output folder: the
; user's documents (the install folder when there are none), so that the
; file dialog does not first open among the program's DLLs.
Function SetStartFolder
  IfFileExists "$DOCUMENTS\*.*" 0 +3
    SetOutPath "$DOCUMENTS"
    Return
  SetOutPath "$INSTDIR"
FunctionEnd

Function RunOrvane
  Call SetStartFolder
  Exec '"$INSTDIR\orvane.exe"'
FunctionEnd

Section "Orvane"
  !include "${FILES}"
  WriteUninstaller "$INSTDIR\Uninstall.exe"
  WriteRegStr HKCU "Software\Orvane" "InstallDir" "$INSTDIR"
  Call SetStartFolder
  CreateShortCut "$SMPROGRAMS\Orvane.lnk" "$INSTDIR\orvane.exe"

  ; "Open with": the program and a file type of its own listed among the
  ; choices for .s, the default value of .s left untouched.
  WriteRegStr HKCU "Software\Classes\${PROGID}" "" "MSTS shape file"
  WriteRegStr HKCU "Software\Classes\${PROGID}\DefaultIcon" "" "$INSTDIR\orvane.exe,0"
  WriteRegStr HKCU "Software\Classes\${PROGID}\shell\open" "FriendlyAppName" "Orvane"
  WriteRegStr HKCU "Software\Classes\${PROGID}\shell\open\command" "" '"$INSTDIR\orvane.exe" "%1"'
  WriteRegStr HKCU "Software\Classes\.s\OpenWithProgids" "${PROGID}" ""
  WriteRegStr HKCU "Software\Classes\Applications\orvane.exe" "FriendlyAppName" "Orvane"
  WriteRegStr HKCU "Software\Classes\Applications\orvane.exe\SupportedTypes" ".s" ""
  WriteRegStr HKCU "Software\Classes\Applications\orvane.exe\shell\open\command" "" '"$INSTDIR\orvane.exe" "%1"'

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Orvane"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "The Orvane developers"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\orvane.exe,0"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ; SHCNE_ASSOCCHANGED: Explorer picks up the new "Open with" entry.
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
SectionEnd

; Removes what the installer put there, and only that; the settings the
; program saved (HKCU\Software\Pellicor) stay for a later install. Qt's
; file dialog settings (HKCU\Software\QtProject) are shared by every Qt
; program and the program puts them back as it found them; their keys go
; only when nothing is left in them.
Section "Uninstall"
  !include "${UNFILES}"
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\Orvane.lnk"
  DeleteRegValue HKCU "Software\Classes\.s\OpenWithProgids" "${PROGID}"
  DeleteRegKey /ifempty HKCU "Software\Classes\.s\OpenWithProgids"
  DeleteRegKey /ifempty HKCU "Software\Classes\.s"
  DeleteRegKey HKCU "Software\Classes\${PROGID}"
  DeleteRegKey HKCU "Software\Classes\Applications\orvane.exe"
  DeleteRegKey HKCU "Software\Orvane"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
  DeleteRegKey /ifempty HKCU "Software\QtProject\OrganizationDefaults"
  DeleteRegKey /ifempty HKCU "Software\QtProject"
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
SectionEnd
