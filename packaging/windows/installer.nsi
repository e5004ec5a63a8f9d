; PixDraft's installer for 64-bit Windows, made by scripts/windows/build.sh:
;   makensis -DVERSION=1.0.0 -DSOURCE=<the laid-out folder> -DOUTFILE=<setup.exe> installer.nsi
; Installs the folder under Program Files for all users, a Start-menu entry, "Open with PixDraft"
; for the picture files it reads, and an uninstaller that takes all of it away again.
Unicode true
Target amd64-unicode
!include "MUI2.nsh"
!include "x64.nsh"

Name "PixDraft ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\PixDraft"
RequestExecutionLevel admin
SetCompressor /SOLID lzma
ManifestDPIAware true

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\PixDraft"
!define APP_KEY "Software\Classes\Applications\pixdraft.exe"

!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "French"

Section "PixDraft"
  SetShellVarContext all
  SetRegView 64
  SetOutPath "$INSTDIR"
  File /r "${SOURCE}\*.*"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortCut "$SMPROGRAMS\PixDraft.lnk" "$INSTDIR\pixdraft.exe"

  ; "Open with PixDraft" for the pictures it reads.
  WriteRegStr HKLM "${APP_KEY}" "FriendlyAppName" "PixDraft"
  WriteRegStr HKLM "${APP_KEY}\DefaultIcon" "" "$INSTDIR\pixdraft.exe,0"
  WriteRegStr HKLM "${APP_KEY}\shell\open" "" "Open with PixDraft"
  WriteRegStr HKLM "${APP_KEY}\shell\open\command" "" '"$INSTDIR\pixdraft.exe" "%1"'
  !macro OpensWithPixDraft extension
    WriteRegStr HKLM "${APP_KEY}\SupportedTypes" "${extension}" ""
    WriteRegStr HKLM "Software\Classes\${extension}\OpenWithList\pixdraft.exe" "" ""
  !macroend
  !insertmacro OpensWithPixDraft ".png"
  !insertmacro OpensWithPixDraft ".jpg"
  !insertmacro OpensWithPixDraft ".jpeg"
  !insertmacro OpensWithPixDraft ".gif"
  !insertmacro OpensWithPixDraft ".bmp"
  !insertmacro OpensWithPixDraft ".ico"
  !insertmacro OpensWithPixDraft ".cur"
  !insertmacro OpensWithPixDraft ".pbm"
  !insertmacro OpensWithPixDraft ".pgm"
  !insertmacro OpensWithPixDraft ".ppm"
  !insertmacro OpensWithPixDraft ".xbm"
  !insertmacro OpensWithPixDraft ".xpm"

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "PixDraft"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "PixDraft"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\pixdraft.exe,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
  SetShellVarContext all
  SetRegView 64
  Delete "$SMPROGRAMS\PixDraft.lnk"
  !macro NoLongerOpensWithPixDraft extension
    DeleteRegKey HKLM "Software\Classes\${extension}\OpenWithList\pixdraft.exe"
    DeleteRegKey /ifempty HKLM "Software\Classes\${extension}\OpenWithList"
  !macroend
  !insertmacro NoLongerOpensWithPixDraft ".png"
  !insertmacro NoLongerOpensWithPixDraft ".jpg"
  !insertmacro NoLongerOpensWithPixDraft ".jpeg"
  !insertmacro NoLongerOpensWithPixDraft ".gif"
  !insertmacro NoLongerOpensWithPixDraft ".bmp"
  !insertmacro NoLongerOpensWithPixDraft ".ico"
  !insertmacro NoLongerOpensWithPixDraft ".cur"
  !insertmacro NoLongerOpensWithPixDraft ".pbm"
  !insertmacro NoLongerOpensWithPixDraft ".pgm"
  !insertmacro NoLongerOpensWithPixDraft ".ppm"
  !insertmacro NoLongerOpensWithPixDraft ".xbm"
  !insertmacro NoLongerOpensWithPixDraft ".xpm"
  DeleteRegKey HKLM "${APP_KEY}"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  ; Only what the installer put there: a file of the user's in the folder stays, and so the folder.
  !include "${FILE_LIST}"
  RMDir "$INSTDIR"
SectionEnd
