; Orbisk's per-user installer: no administrator rights, everything below
; %LOCALAPPDATA%\Programs\Orbisk and HKEY_CURRENT_USER. Built by the Windows
; build (packaging/CMakeLists.txt), which passes the version and the paths of
; the built programs:
;   VERSION, OUTFILE, ORBISK_EXE, HOST_EXE, JOTWELL_EXE, FETCHBAY_EXE,
;   PAGEWATCH_EXE, CLIPSY_EXE, EXTENSION_DIR
;
; Each login name keeps its catalogue below the program folder
; (user\<login name>\Orbisk.ini and the item scripts), and its menu entries
; in HKCU\Software\Microsoft\Internet Explorer\MenuExt. Installing over an
; older version never touches either; the uninstaller removes them only when
; the user says so.

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user
ManifestDPIAware true

!include "MUI2.nsh"
!include "LogicLib.nsh"
!include "FileFunc.nsh"

!define PRODUCT "Orbisk"
!define PUBLISHER "Orbisk"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Orbisk"
!define MENUEXT_KEY "Software\Microsoft\Internet Explorer\MenuExt"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Orbisk"
; An update goes where the first installation went, or the catalogue below
; it would seem to be lost.
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
ShowInstDetails show
ShowUninstDetails show
BrandingText "${PRODUCT} ${VERSION}"

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=1041 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1041 "FileDescription" "${PRODUCT} セットアップ"
VIAddVersionKey /LANG=1041 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1041 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1041 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1041 "LegalCopyright" "${PUBLISHER}"

!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN "$INSTDIR\Orbisk.exe"
!define MUI_WELCOMEPAGE_TEXT "Orbisk をこのユーザーのためにインストールします。管理者の権限は要りません。$\r$\n$\r$\n以前のバージョンの上にインストールしても、登録済みの項目と設定はそのまま残ります。$\r$\n$\r$\n続けるには [次へ] を押してください。"
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Japanese"

Function .onInit
  SetShellVarContext current
FunctionEnd

Function un.onInit
  SetShellVarContext current
FunctionEnd

Section "Orbisk" SecMain
  SectionIn RO
  SetOutPath "$INSTDIR"
  File "/oname=Orbisk.exe" "${ORBISK_EXE}"
  File "/oname=OrbiskHost.exe" "${HOST_EXE}"
  File "/oname=Jotwell.exe" "${JOTWELL_EXE}"
  File "/oname=Fetchbay.exe" "${FETCHBAY_EXE}"
  File "/oname=Pagewatch.exe" "${PAGEWATCH_EXE}"
  File "/oname=Clipsy.exe" "${CLIPSY_EXE}"

  ; The extension for loading unpacked. Emptied first, so that a file an
  ; older version had and this one dropped is not loaded with the new ones.
  RMDir /r "$INSTDIR\extension"
  SetOutPath "$INSTDIR\extension"
  File /r "${EXTENSION_DIR}\*.*"
  SetOutPath "$INSTDIR"

  WriteUninstaller "$INSTDIR\uninstall.exe"

  ; The host writes its manifests and the browsers' keys itself, so that
  ; they are never out of step with what a later "/register" writes.
  DetailPrint "ブラウザー (Edge、Chrome、Firefox) に OrbiskHost.exe を登録しています…"
  ClearErrors
  ExecWait '"$INSTDIR\OrbiskHost.exe" /register /quiet' $0
  ${If} ${Errors}
  ${OrIf} $0 != 0
    MessageBox MB_OK|MB_ICONEXCLAMATION "ブラウザーへの OrbiskHost.exe の登録に失敗しました。$\r$\nインストール後、コマンド プロンプトで次を実行してください:$\r$\n$\r$\n$\"$INSTDIR\OrbiskHost.exe$\" /register" /SD IDOK
  ${EndIf}

  CreateShortcut "$SMPROGRAMS\Orbisk.lnk" "$INSTDIR\Orbisk.exe" "" "$INSTDIR\Orbisk.exe" 0

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Orbisk.exe,0"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ; What "Apps" shows as the size, in KB: the programs, the uninstaller and
  ; the extension, not the user's items.
  ${GetSize} "$INSTDIR" "/M=*.exe /S=0K /G=0" $0 $1 $2
  ${GetSize} "$INSTDIR\extension" "/S=0K" $3 $1 $2
  IntOp $0 $0 + $3
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

; Deletes the MenuExt entries whose script lies in this installation's user
; folder: the entries Orbisk made from here, and no other program's.
Function un.RemoveMenuEntries
  StrCpy $R1 "$INSTDIR\user\"
  StrLen $R2 $R1
  StrCpy $R0 0
  ${Do}
    EnumRegKey $R3 HKCU "${MENUEXT_KEY}" $R0
    ${If} $R3 == ""
      ${Break}
    ${EndIf}
    ReadRegStr $R4 HKCU "${MENUEXT_KEY}\$R3" ""
    StrCpy $R5 $R4 $R2
    ; StrCmp ignores case, as Windows paths do.
    ${If} $R5 == $R1
      DetailPrint "右クリック メニューから削除: $R3"
      DeleteRegKey HKCU "${MENUEXT_KEY}\$R3"
      ; The next entry has moved up to this index.
    ${Else}
      IntOp $R0 $R0 + 1
    ${EndIf}
  ${Loop}
FunctionEnd

Section "Uninstall"
  ; Orbisk's menu entries, scripts and settings are the user's work: they go
  ; only when the user says so, and a silent uninstall keeps them.
  MessageBox MB_YESNO|MB_ICONQUESTION|MB_DEFBUTTON2 "登録済みの項目も削除しますか？$\r$\n$\r$\n[はい] を選ぶと、Internet Explorer の右クリック メニューに登録した項目、そのスクリプトと Orbisk の設定 (ランチャーの設定を含む) を削除します。$\r$\n[いいえ] を選ぶと、これらは $\"$INSTDIR\user$\" に残り、次にインストールしたときにそのまま使えます。" /SD IDNO IDYES removeUserData
  Goto removePrograms
  removeUserData:
    Call un.RemoveMenuEntries
    RMDir /r "$INSTDIR\user"
    ; The launchers keep their settings beside themselves.
    Delete "$INSTDIR\Fetchbay.ini"
    Delete "$INSTDIR\Pagewatch.ini"
  removePrograms:

  ; The host removes its own manifests and keys, while it is still there.
  ExecWait '"$INSTDIR\OrbiskHost.exe" /unregister /quiet'

  Delete "$SMPROGRAMS\Orbisk.lnk"
  Delete "$INSTDIR\Orbisk.exe"
  Delete "$INSTDIR\OrbiskHost.exe"
  Delete "$INSTDIR\Jotwell.exe"
  Delete "$INSTDIR\Fetchbay.exe"
  Delete "$INSTDIR\Pagewatch.exe"
  Delete "$INSTDIR\Clipsy.exe"
  RMDir /r "$INSTDIR\extension"
  Delete "$INSTDIR\uninstall.exe"
  ; Only when nothing of the user's is left in it.
  RMDir "$INSTDIR"

  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
