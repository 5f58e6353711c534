; The installer of Tovarin Project for Windows (NSIS, made by costruisci.sh).
; Into Program Files, a Start menu entry "Tovarin Project", an uninstaller
; that removes the program's files and nothing else: the coach's archive and
; settings in %APPDATA%\tovarin stay. Silent with /S.
; Defined by the caller: VERSIONE, CARTELLA (the folder to install),
; DISINSTALLA (its files, as Delete lines), USCITA, LICENZA.
; A 64-bit installer for a 64-bit program (no 32-bit layer needed to run it).
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin
ManifestDPIAware true

!define NOME "Tovarin Project"
!define CHIAVE "Software\Microsoft\Windows\CurrentVersion\Uninstall\TovarinProject"

Name "${NOME}"
OutFile "${USCITA}"
InstallDir "$PROGRAMFILES64\${NOME}"
InstallDirRegKey HKLM "${CHIAVE}" "InstallLocation"
BrandingText "${NOME} ${VERSIONE}"
VIProductVersion "${VERSIONE}.0"
VIAddVersionKey /LANG=0 "ProductName" "${NOME}"
VIAddVersionKey /LANG=0 "FileVersion" "${VERSIONE}"
VIAddVersionKey /LANG=0 "ProductVersion" "${VERSIONE}"
VIAddVersionKey /LANG=0 "FileDescription" "${NOME} ${VERSIONE} setup"
VIAddVersionKey /LANG=0 "LegalCopyright" "Tovarin Project"

!include "MUI2.nsh"

!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN "$INSTDIR\tovarin.exe"
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_LICENSE "${LICENZA}"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "Italian"

Function .onInit
  SetShellVarContext all
FunctionEnd

Function un.onInit
  SetShellVarContext all
FunctionEnd

Section "${NOME}"
  SetOutPath "$INSTDIR"
  File /r "${CARTELLA}\*.*"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  SetOutPath "$INSTDIR"
  CreateShortcut "$SMPROGRAMS\${NOME}.lnk" "$INSTDIR\tovarin.exe" "" "$INSTDIR\tovarin.exe" 0
  WriteRegStr HKLM "${CHIAVE}" "DisplayName" "${NOME}"
  WriteRegStr HKLM "${CHIAVE}" "DisplayVersion" "${VERSIONE}"
  WriteRegStr HKLM "${CHIAVE}" "Publisher" "Tovarin Project"
  WriteRegStr HKLM "${CHIAVE}" "DisplayIcon" "$INSTDIR\tovarin.exe"
  WriteRegStr HKLM "${CHIAVE}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${CHIAVE}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${CHIAVE}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${CHIAVE}" "NoModify" 1
  WriteRegDWORD HKLM "${CHIAVE}" "NoRepair" 1
SectionEnd

; Only what the installer put there: a folder the coach chose that holds
; other files keeps them, and %APPDATA%\tovarin is never touched.
Section "Uninstall"
  Delete "$SMPROGRAMS\${NOME}.lnk"
!include "${DISINSTALLA}"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKLM "${CHIAVE}"
SectionEnd
