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
;
; /ITEMS=<file> imports an item file (the settings file's format) for the
; installing user once the programs are in place; see ImportItemsFile.

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user
ManifestDPIAware true

!include "MUI2.nsh"
!include "LogicLib.nsh"
!include "FileFunc.nsh"
!include "TextFunc.nsh"

!define PRODUCT "Orbisk"
!define PUBLISHER "Orbisk"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Orbisk"
!define MENUEXT_KEY "Software\Microsoft\Internet Explorer\MenuExt"
; The report of the last /ITEMS= import, for the administrator.
!define ITEMS_LOG "setup-items.log"

Var ItemsGiven  ; 1 when the command line has /ITEMS=
Var ItemsFile   ; its file, made absolute; "" when none was named
Var ItemsLog    ; the open log while the import runs, 0 when it could not be made

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
  Call ReadItemsOption
FunctionEnd

; Reads /ITEMS=<file> from the command line into $ItemsFile, and sets
; $ItemsGiven to 1 when the option is there at all. NSIS has already cut
; $CMDLINE before /D=, which must come last. Taken:
;   /ITEMS=C:\Shared Items\team.ini   up to the next " /" or the end
;   /ITEMS="C:\a b\team.ini"
;   "/ITEMS=C:\a b\team.ini"
; Apostrophes and forward slashes are part of a path, not quotes or options.
; A relative path is made absolute here, against the folder the installer
; was started in: once files are installed, the current folder is $INSTDIR.
Function ReadItemsOption
  Push $0
  Push $1
  Push $2
  Push $3
  Push $4
  Push $5
  Push $6
  Push $7
  StrCpy $ItemsGiven 0
  StrCpy $ItemsFile ""
  StrLen $1 $CMDLINE
  StrCpy $2 0
  ; From argument to argument, the program's own name first.
  ${Do}
    ; Past this argument: to the next blank outside quotes.
    StrCpy $5 0
    ${Do}
      ${If} $2 >= $1
        ${Break}
      ${EndIf}
      StrCpy $3 $CMDLINE 1 $2
      ${If} $3 == '"'
        IntOp $5 1 - $5
      ${ElseIf} $3 == " "
      ${AndIf} $5 == 0
        ${Break}
      ${EndIf}
      IntOp $2 $2 + 1
    ${Loop}
    ${Do}
      StrCpy $3 $CMDLINE 1 $2
      ${If} $3 != " "
        ${Break}
      ${EndIf}
      IntOp $2 $2 + 1
    ${Loop}
    ${If} $2 >= $1
      Goto done
    ${EndIf}
    ; $4: the argument starts with a quote.
    StrCpy $4 0
    StrCpy $6 $2
    StrCpy $3 $CMDLINE 1 $2
    ${If} $3 == '"'
      StrCpy $4 1
      IntOp $6 $2 + 1
    ${EndIf}
    ; StrCmp ignores case: /items= is taken as well.
    StrCpy $3 $CMDLINE 7 $6
    ${If} $3 == "/ITEMS="
      ${Break}
    ${EndIf}
  ${Loop}

  StrCpy $ItemsGiven 1
  IntOp $6 $6 + 7
  StrCpy $3 $CMDLINE 1 $6
  ${If} $4 == 0
  ${AndIf} $3 == '"'
    StrCpy $4 1
    IntOp $6 $6 + 1
  ${EndIf}
  StrCpy $7 $6
  ${Do}
    ${If} $7 >= $1
      ${Break}
    ${EndIf}
    ${If} $4 == 1
      ; Up to the closing quote.
      StrCpy $3 $CMDLINE 1 $7
      ${If} $3 == '"'
        ${Break}
      ${EndIf}
    ${Else}
      ; Up to the next option.
      StrCpy $3 $CMDLINE 2 $7
      ${If} $3 == " /"
        ${Break}
      ${EndIf}
      StrCpy $3 $CMDLINE 3 $7
      ${If} $3 == ' "/'
        ${Break}
      ${EndIf}
    ${EndIf}
    IntOp $7 $7 + 1
  ${Loop}
  IntOp $7 $7 - $6
  StrCpy $0 $CMDLINE $7 $6
  ${Do}
    StrCpy $3 $0 1 -1
    ${If} $3 != " "
      ${Break}
    ${EndIf}
    StrCpy $0 $0 -1
  ${Loop}
  ; By Windows' own rule (GetFullPathNameW): NSIS's GetFullPathName gives
  ; nothing for a path that does not exist, and the log should name the file
  ; that was missing.
  ${If} $0 != ""
    System::Call 'kernel32::GetFullPathNameW(w r0, i ${NSIS_MAX_STRLEN}, w .r1, p 0) i .r2'
    ${If} $2 > 0
    ${AndIf} $2 < ${NSIS_MAX_STRLEN}
      StrCpy $0 $1
    ${EndIf}
  ${EndIf}
  StrCpy $ItemsFile $0
  done:
  Pop $7
  Pop $6
  Pop $5
  Pop $4
  Pop $3
  Pop $2
  Pop $1
  Pop $0
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
  ; /G=1 said, not left to GetSize: it takes a /G= it is not given from
  ; whatever $7 holds.
  ${GetSize} "$INSTDIR\extension" "/S=0K /G=1" $3 $1 $2
  IntOp $0 $0 + $3
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0

  ${If} $ItemsGiven == 1
    Call ImportItemsFile
  ${EndIf}
SectionEnd

; Appends $R9 and CR LF to the open log in code page 932, the code page of
; Orbisk's report in the same file, whatever the system's code page (FileWrite
; would use that).
Function WriteItemsLogLine
  Push $0
  Push $1
  Push $2
  StrCpy $R9 "$R9$\r$\n"
  System::Call 'kernel32::WideCharToMultiByte(i 932, i 0, w R9, i -1, p 0, i 0, p 0, p 0) i .r0'
  ${If} $0 > 1
    System::Alloc $0
    Pop $1
    System::Call 'kernel32::WideCharToMultiByte(i 932, i 0, w R9, i -1, p r1, i r0, p 0, p 0) i .r0'
    ; Without the terminating NUL.
    IntOp $0 $0 - 1
    System::Call 'kernel32::WriteFile(p $ItemsLog, p r1, i r0, *i .r2, p 0) i'
    System::Free $1
  ${EndIf}
  Pop $2
  Pop $1
  Pop $0
FunctionEnd

; Imports $ItemsFile into the installing user's items with the installed
; "Orbisk.exe /import <file> /quiet": no window, every name the user has
; already is skipped (never replaced), one report line per item on its
; standard output. That output goes straight into $INSTDIR\setup-items.log,
; whole and byte for byte, after a line naming the file, and from there into
; the details list. nsExec is not used: its ExecToStack keeps only the first
; NSIS_MAX_STRLEN (1024) characters, which loses the end of a long
; catalogue's report, summary line included, and its ExecToLog writes only
; to the details list, which a silent install does not have.
; A file that could not be taken (Orbisk.exe's exit code 1, or 2 while
; Orbisk's window is open; no file named; Orbisk.exe not started) leaves the
; programs installed, adds a last line to the log, sets the installer's exit
; code to 2, and shows a box unless the install is silent.
Function ImportItemsFile
  StrCpy $R0 "$INSTDIR\${ITEMS_LOG}"
  ; GENERIC_WRITE, FILE_SHARE_READ, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL:
  ; the log of this import only.
  System::Call 'kernel32::CreateFileW(w R0, i 0x40000000, i 1, p 0, i 2, i 0x80, p 0) p .r0'
  StrCpy $ItemsLog $0
  ${If} $ItemsLog == -1
    StrCpy $ItemsLog 0
    DetailPrint "記録ファイル $R0 を作れません。"
  ${EndIf}
  ${GetTime} "" "L" $0 $1 $2 $3 $4 $5 $6
  StrCpy $R9 "Orbisk ${VERSION} のセットアップ ($2-$1-$0 $4:$5:$6): 項目ファイル $ItemsFile"
  DetailPrint $R9
  StrCpy $R1 0  ; where Orbisk's report starts in the log
  ${If} $ItemsLog != 0
    Call WriteItemsLogLine
    System::Call 'kernel32::SetFilePointerEx(p $ItemsLog, l 0, *l .R1, i 1) i'
  ${EndIf}

  StrCpy $R2 ""  ; the log's last line when the file was not taken
  ${If} $ItemsFile == ""
    StrCpy $R2 "インポートできません: /ITEMS= にファイルが指定されていません。"
  ${Else}
    ; Orbisk.exe splits its command line as CommandLineToArgvW does:
    ; backslashes before the closing quote (C:\ or a folder's trailing one)
    ; are doubled, or they would escape it and take /quiet into the path.
    StrCpy $R3 $ItemsFile
    StrCpy $R4 ""
    ${Do}
      StrCpy $0 $R3 1 -1
      ${If} $0 != "\"
        ${Break}
      ${EndIf}
      StrCpy $R3 $R3 -1
      StrCpy $R4 "$R4\\"
    ${Loop}
    StrCpy $R3 '"$INSTDIR\Orbisk.exe" /import "$R3$R4" /quiet'
    StrCpy $R4 $INSTDIR
    ; The log as Orbisk.exe's standard output and error: STARTUPINFOW (104
    ; bytes on x64, zeroed) with dwFlags at 60 STARTF_USESTDHANDLES |
    ; STARTF_USESHOWWINDOW (wShowWindow 0, SW_HIDE), hStdOutput and
    ; hStdError at 88; PROCESS_INFORMATION, 24 bytes.
    System::Call 'kernel32::SetHandleInformation(p $ItemsLog, i 1, i 1) i'
    System::Alloc 104
    Pop $R5
    System::Call '*$R5(i 104)'
    IntPtrOp $0 $R5 + 60
    System::Call '*$0(i 0x101)'
    IntPtrOp $0 $R5 + 88
    System::Call '*$0(p $ItemsLog, p $ItemsLog)'
    System::Alloc 24
    Pop $R6
    ; Handles inherited; CREATE_NO_WINDOW.
    System::Call 'kernel32::CreateProcessW(p 0, w R3, p 0, p 0, i 1, i 0x08000000, p 0, w R4, p R5, p R6) i .r0'
    ${If} $0 == 0
      StrCpy $R2 "インポートできません: $INSTDIR\Orbisk.exe を起動できませんでした。"
    ${Else}
      System::Call '*$R6(p .r1, p .r2)'
      System::Call 'kernel32::WaitForSingleObject(p r1, i -1) i'
      System::Call 'kernel32::GetExitCodeProcess(p r1, *i .r3) i'
      System::Call 'kernel32::CloseHandle(p r1) i'
      System::Call 'kernel32::CloseHandle(p r2) i'
      ${If} $3 != 0
        StrCpy $R2 "項目を取り込めませんでした (Orbisk.exe の終了コード $3)。"
      ${EndIf}
    ${EndIf}
    System::Free $R5
    System::Free $R6
  ${EndIf}
  ${If} $ItemsLog != 0
    ${If} $R2 != ""
      StrCpy $R9 $R2
      Call WriteItemsLogLine
    ${EndIf}
    System::Call 'kernel32::CloseHandle(p $ItemsLog) i'
  ${EndIf}

  ; The log after its first line into the details list. FileRead takes the
  ; system's code page: code page 932 on Japanese Windows, as the log.
  StrCpy $R7 ""  ; the reason to show: Orbisk's refusal, if it gave one
  ClearErrors
  FileOpen $0 $R0 r
  ${IfNot} ${Errors}
    FileSeek $0 $R1 SET
    ${Do}
      ClearErrors
      FileRead $0 $1
      ${If} ${Errors}
        ${Break}
      ${EndIf}
      ${TrimNewLines} $1 $1
      DetailPrint $1
      StrCpy $2 $1 12
      ${If} $2 == "インポートできません: "
        StrCpy $R7 $1
      ${EndIf}
    ${Loop}
    FileClose $0
  ${ElseIf} $R2 != ""
    DetailPrint $R2
  ${EndIf}

  ${If} $R2 != ""
    SetErrorLevel 2
    ${If} $R7 == ""
      StrCpy $R7 $R2
    ${EndIf}
    MessageBox MB_OK|MB_ICONEXCLAMATION "項目ファイルを取り込めませんでした。$\r$\n$ItemsFile$\r$\n$\r$\n$R7$\r$\n$\r$\n記録: $R0" /SD IDOK
  ${EndIf}
FunctionEnd

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
  Delete "$INSTDIR\${ITEMS_LOG}"
  Delete "$INSTDIR\uninstall.exe"
  ; Only when nothing of the user's is left in it.
  RMDir "$INSTDIR"

  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
