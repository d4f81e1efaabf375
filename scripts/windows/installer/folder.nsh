; The folder to install into: the grading program's folder, the one that holds exam.mdb.
; By default the folder the setup program was started from when it holds exam.mdb, else
; that of the installation registered before (reinstalling, upgrading), else none: the
; user chooses it on the folder page (/D=folder when silent).

Function FolderInit
  ${If} $INSTDIR == ""
    ${If} ${FileExists} "$EXEDIR\exam.mdb"
      StrCpy $INSTDIR $EXEDIR
    ${Else}
      ReadRegStr $0 HKLM "${KORVEX_UNINST_KEY}" "InstallLocation"
      ${If} $0 != ""
      ${AndIf} ${FileExists} "$0\${UNINSTALLER}"
        StrCpy $INSTDIR $0
      ${EndIf}
    ${EndIf}
  ${EndIf}
  ${If} ${Silent}
  ${AndIf} $INSTDIR == ""
    !insertmacro KORVEX_FAIL "沒有指定閱卷程式的資料夾: 請以 /D=資料夾 指定 (放在最後), 或從 exam.mdb 所在的資料夾執行安裝程式。"
  ${EndIf}
FunctionEnd

; A folder without exam.mdb is most likely the wrong one: the program would find no
; exam database there. The user may still go on (the grading program may come later).
Function FolderPageLeave
  ${IfNot} ${FileExists} "$INSTDIR\exam.mdb"
    MessageBox MB_YESNO|MB_ICONEXCLAMATION|MB_DEFBUTTON2 "這個資料夾裡沒有 exam.mdb:$\r$\n$INSTDIR$\r$\n$\r$\n${PRODUCT} 要裝在 KORVEX 閱卷程式的資料夾 (exam.mdb 所在的資料夾), 否則啟動時會找不到考試資料庫。$\r$\n$\r$\n仍要安裝到這個資料夾嗎?" IDYES folder_ok
    Abort
  folder_ok:
  ${EndIf}
FunctionEnd
