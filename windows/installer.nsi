; The installer of the game for 64-bit Windows: the launcher, cellpack, the game, the world, the
; font, the README and the licences under Program Files\Vellomira, a Start menu entry that starts
; the launcher, and an uninstaller (also in Apps and Features) that takes away what was
; installed and leaves the players' own folders (%LOCALAPPDATA%\Vellomira).
; windows/make_installer.sh gives FILES and REMOVALS (the lines that install and remove the
; files), ICON, VERSION, NUMBERS (its four numbers) and OUTPUT.
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
; Everything the same for the same files: no time of the build in the installer.
SetDateSave off

!define KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Vellomira"

Name "Vellomira ${VERSION}"
OutFile "${OUTPUT}"
Icon "${ICON}"
UninstallIcon "${ICON}"
InstallDir "$PROGRAMFILES64\Vellomira"
InstallDirRegKey HKLM "${KEY}" "InstallLocation"
RequestExecutionLevel admin
ShowInstDetails show

VIProductVersion "${NUMBERS}"
VIFileVersion "${NUMBERS}"
VIAddVersionKey /LANG=0 "ProductName" "Vellomira"
VIAddVersionKey /LANG=0 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "FileDescription" "Tech-Demo"
VIAddVersionKey /LANG=0 "CompanyName" "Tarvel"
VIAddVersionKey /LANG=0 "LegalCopyright" "2026 Vellomira maintainers"

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Section "Vellomira"
    SetShellVarContext all
    !include "${FILES}"
    WriteUninstaller "$INSTDIR\uninstall.exe"
    CreateShortcut "$SMPROGRAMS\Vellomira.lnk" "$INSTDIR\vellomira.exe" "" "$INSTDIR\vellomira.exe" 0
    WriteRegStr HKLM "${KEY}" "DisplayName" "Vellomira"
    WriteRegStr HKLM "${KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${KEY}" "Publisher" "Tarvel"
    WriteRegStr HKLM "${KEY}" "DisplayIcon" "$INSTDIR\vellomira.exe,0"
    WriteRegStr HKLM "${KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKLM "${KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD HKLM "${KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${KEY}" "NoRepair" 1
SectionEnd

; Only the files the installer put there: whatever else is in the folder stays, and so does
; the folder then.
Section "Uninstall"
    SetShellVarContext all
    Delete "$SMPROGRAMS\Vellomira.lnk"
    !include "${REMOVALS}"
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"
    DeleteRegKey HKLM "${KEY}"
SectionEnd
