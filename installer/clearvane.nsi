; Installer of Clearvane, built by scripts/release with makensis.
; Defines from the command line: VERSION, STAGE (the staged program files),
; OUTFILE, and FILES_NSH (generated lists of what is installed).
; The program is x86-64 only, and so is its installer.
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user

!define PRODUCT "Clearvane"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT}"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
; Explorer's "Shred with Clearvane" on files, for the installing user.
!define SHRED_MENU_KEY "Software\Classes\*\shell\ClearvaneShred"

; Per-user by default (no administrator rights needed); "/AllUsers" on the
; command line, or the choice page, installs for every user when allowed.
!define MULTIUSER_EXECUTIONLEVEL Highest
!define MULTIUSER_MUI
!define MULTIUSER_INSTALLMODE_COMMANDLINE
!define MULTIUSER_INSTALLMODE_DEFAULT_CURRENTUSER
!define MULTIUSER_USE_PROGRAMFILES64
!define MULTIUSER_INSTALLMODE_INSTDIR "${PRODUCT}"
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_KEY "${UNINSTALL_KEY}"
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_VALUENAME "InstallMode"
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_KEY "${UNINSTALL_KEY}"
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_VALUENAME "InstallLocation"
; "/D=folder" on the command line wins over the install mode's folder.
!define MULTIUSER_INSTALLMODE_FUNCTION KeepFolderAskedFor
!include MultiUser.nsh
!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
BrandingText "${PRODUCT} ${VERSION}"

!define MUI_ICON "${STAGE}\clearvane.ico"
!define MUI_UNICON "${STAGE}\clearvane.ico"
!define MUI_FINISHPAGE_RUN "$INSTDIR\clearvane.exe"
!insertmacro MUI_PAGE_LICENSE "${STAGE}\program\License.txt"
!insertmacro MULTIUSER_PAGE_INSTALLMODE
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

VIProductVersion "${VERSION}.0.0"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileDescription" "${PRODUCT} setup"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "LegalCopyright" "Copyright (c) 2026 the Clearvane developers"

Var RemoveSettings
Var FolderAskedFor

; Called whenever an install mode is chosen (at start and on the choice page),
; after the mode has set its own folder.
Function KeepFolderAskedFor
  ${If} $FolderAskedFor != ""
    StrCpy $INSTDIR $FolderAskedFor
  ${EndIf}
FunctionEnd

Function .onInit
  ; "/D=" has set $INSTDIR before this runs; it is empty otherwise.
  StrCpy $FolderAskedFor $INSTDIR
  !insertmacro MULTIUSER_INIT
FunctionEnd

Function un.onInit
  !insertmacro MULTIUSER_UNINIT
  ; The user's choices, custom items and keep lists stay unless asked:
  ; "/RemoveSettings" on the command line, or "Yes" to the question.
  StrCpy $RemoveSettings 0
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/RemoveSettings" $1
  ${IfNot} ${Errors}
    StrCpy $RemoveSettings 1
  ${Else}
    MessageBox MB_YESNO|MB_ICONQUESTION|MB_DEFBUTTON2 \
      "Also remove your settings (the cleaning selection, custom items and keep lists)?" \
      /SD IDNO IDNO keep
    StrCpy $RemoveSettings 1
    keep:
  ${EndIf}
FunctionEnd

Section "Clearvane" SecMain
  SectionIn RO
  SetOutPath "$INSTDIR"
  SetOverwrite on
  !include "${FILES_NSH}.install"
  ; Files the program changes as the user works: shipped defaults are
  ; installed once and never overwritten by a later install.
  SetOverwrite off
  !include "${FILES_NSH}.preserved"
  !include "${FILES_NSH}.userdata"
  SetOverwrite on

  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortcut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\clearvane.exe"

  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "${PRODUCT}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\clearvane.exe"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallMode" "$MultiUser.InstallMode"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe" /$MultiUser.InstallMode'
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /$MultiUser.InstallMode /S'
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; Optional (ticked by default on the components page): the file shredder
; from Explorer's menu of a file, with the file on its command line.
Section "Explorer menu entry $\"Shred with Clearvane$\"" SecShredMenu
  WriteRegStr HKCU "${SHRED_MENU_KEY}" "" "Shred with Clearvane"
  WriteRegStr HKCU "${SHRED_MENU_KEY}" "Icon" "$INSTDIR\Shardmill.exe"
  WriteRegStr HKCU "${SHRED_MENU_KEY}\command" "" '"$INSTDIR\Shardmill.exe" "%1"'
SectionEnd

Section "Uninstall"
  ; The start-up entry the options dialog may have written, under either root.
  DeleteRegValue HKCU "${RUN_KEY}" "${PRODUCT}"
  ${If} $MultiUser.InstallMode == "AllUsers"
    DeleteRegValue HKLM "${RUN_KEY}" "${PRODUCT}"
  ${EndIf}
  Delete "$SMPROGRAMS\${PRODUCT}.lnk"
  DeleteRegKey HKCU "${SHRED_MENU_KEY}"

  !include "${FILES_NSH}.uninstall"
  !include "${FILES_NSH}.preserved-uninstall"
  ${If} $RemoveSettings == 1
    !include "${FILES_NSH}.userdata-uninstall"
    Delete "$INSTDIR\vanesd.dat"
    Delete "$INSTDIR\cusd.dat"
    Delete "$INSTDIR\keepurl.dat"
    Delete "$INSTDIR\keepcook.dat"
    Delete "$INSTDIR\Ext.txt"
  ${EndIf}
  Delete "$INSTDIR\uninstall.exe"
  ; Only empty folders go: whatever the user keeps there stays.
  !include "${FILES_NSH}.folders"
  RMDir "$INSTDIR"
  DeleteRegKey SHCTX "${UNINSTALL_KEY}"
SectionEnd
