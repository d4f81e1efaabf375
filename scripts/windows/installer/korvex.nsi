; KORVEX小幫手's setup program: one installer that carries the 32-bit and the 64-bit build
; and installs one of them into the grading program's folder (where exam.mdb is).
; scripts/windows-installer makes it: it defines VERSION, OUTFILE and ICON and writes the
; file lists included below (files-win32.nsh, files-win64.nsh, uninstall-files.nsh).
;
; Command line (for IT staff):  setup.exe /S [/BITS=32|64] [/D=folder]   (/D must be last)
; Exit status: 0 installed, 1 cancelled by the user, 2 not installed (the cause is shown,
; or, when silent, only the status tells).

Unicode true
ManifestDPIAware true
RequestExecutionLevel admin
SetCompressor /SOLID lzma
AllowSkipFiles off

!define PRODUCT "KORVEX小幫手"
!define UNINSTALLER "korvex-uninstall.exe"
; the Programs and Features entry (32-bit registry view, whichever build is installed)
!define KORVEX_UNINST_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\KorvexAssistant"

!include MUI2.nsh
!include LogicLib.nsh
!include x64.nsh
!include FileFunc.nsh
!include nsDialogs.nsh

; Ends the setup program with exit status 2 after showing why (nothing shown when silent).
!macro KORVEX_FAIL text
  MessageBox MB_OK|MB_ICONSTOP "${text}" /SD IDOK
  SetErrorLevel 2
  Quit
!macroend

!include "choice.nsh"
!include "folder.nsh"
!include "running.nsh"
!include "files-win32.nsh"
!include "files-win64.nsh"
!include "uninstall-files.nsh"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
BrandingText "${PRODUCT} ${VERSION}"
ShowInstDetails show
ShowUninstDetails show
; chosen in .onInit: the setup program's own folder when it holds exam.mdb
InstallDir ""

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_UNABORTWARNING
; the install log stays on screen: it says which build was installed and why
!define MUI_FINISHPAGE_NOAUTOCLOSE
!define MUI_UNFINISHPAGE_NOAUTOCLOSE

!define MUI_WELCOMEPAGE_TITLE "歡迎使用 ${PRODUCT} ${VERSION} 安裝程式"
!define MUI_WELCOMEPAGE_TEXT "本安裝程式把 ${PRODUCT} (試務組的考試資料小幫手) 安裝到 KORVEX 閱卷程式的資料夾, 也就是 exam.mdb 所在的資料夾。$\r$\n$\r$\n安裝只放入程式檔: 閱卷程式的 exam.mdb、設定檔 ASSISTANT.INI、backup 資料夾、成績檔 (*.xls) 與 ASSISTANT.LOG 都不會更動。$\r$\n$\r$\n若 ${PRODUCT} 正在執行, 請先結束它。$\r$\n$\r$\n$_CLICK"
!insertmacro MUI_PAGE_WELCOME

Page custom ChoicePageShow ChoicePageLeave

!define MUI_PAGE_HEADER_TEXT "選擇閱卷程式的資料夾"
!define MUI_PAGE_HEADER_SUBTEXT "${PRODUCT} 要裝在 exam.mdb 所在的資料夾。"
!define MUI_DIRECTORYPAGE_TEXT_TOP "請選擇 KORVEX 閱卷程式的資料夾 (exam.mdb 所在的資料夾)。${PRODUCT} 的程式檔會放在這裡; exam.mdb、ASSISTANT.INI、backup 資料夾、成績檔 (*.xls) 與 ASSISTANT.LOG 不會更動。$\r$\n$\r$\n按「瀏覽」選擇其他資料夾, 選好後按「安裝」。"
!define MUI_DIRECTORYPAGE_TEXT_DESTINATION "閱卷程式的資料夾"
!define MUI_PAGE_CUSTOMFUNCTION_LEAVE FolderPageLeave
!insertmacro MUI_PAGE_DIRECTORY

!insertmacro MUI_PAGE_INSTFILES

!define MUI_FINISHPAGE_TITLE "${PRODUCT} 已安裝完成"
!define MUI_FINISHPAGE_TEXT "${PRODUCT} ($Choice_Name) 已安裝在$\r$\n$INSTDIR$\r$\n$\r$\n請從「開始」功能表或桌面上的「${PRODUCT}」啟動, 以校務行政資料庫中權限含 A 的帳號登入。"
!define MUI_FINISHPAGE_SHOWREADME "$INSTDIR\說明.txt"
!define MUI_FINISHPAGE_SHOWREADME_TEXT "顯示使用說明 (說明.txt)"
!define MUI_FINISHPAGE_SHOWREADME_NOTCHECKED
!insertmacro MUI_PAGE_FINISH

!define MUI_UNCONFIRMPAGE_TEXT_TOP "將從以下資料夾移除 ${PRODUCT} 的程式檔, 以及「開始」功能表與桌面上的捷徑。$\r$\n學校的資料都會保留: exam.mdb、ASSISTANT.INI、backup 資料夾、成績檔 (*.xls) 與 ASSISTANT.LOG。"
!define MUI_UNCONFIRMPAGE_TEXT_LOCATION "移除的資料夾:"
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "TradChinese"

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=${LANG_TRADCHINESE} "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=${LANG_TRADCHINESE} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_TRADCHINESE} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_TRADCHINESE} "FileDescription" "${PRODUCT} 安裝程式"
VIAddVersionKey /LANG=${LANG_TRADCHINESE} "LegalCopyright" "${PRODUCT}"

Function .onInit
  SetShellVarContext all
  Call ChoiceInit
  Call FolderInit
FunctionEnd

Section "KORVEX小幫手" SecMain
  SetShellVarContext all
  DetailPrint "安裝 $Choice_Name: $Choice_Reason"
  !insertmacro KORVEX_WAIT_NOT_RUNNING

  ; Whether this install made the folder: only then may the uninstaller remove it (when
  ; empty). Reinstalling keeps what the first install found.
  StrCpy $1 0
  ${IfNot} ${FileExists} "$INSTDIR\*.*"
    StrCpy $1 1
  ${Else}
    ReadRegStr $2 HKLM "${KORVEX_UNINST_KEY}" "InstallLocation"
    ${If} $2 == $INSTDIR
      ReadRegStr $1 HKLM "${KORVEX_UNINST_KEY}" "CreatedFolder"
      ${If} $1 != 1
        StrCpy $1 0
      ${EndIf}
    ${EndIf}
  ${EndIf}

  ClearErrors
  CreateDirectory "$INSTDIR"
  ${If} ${Errors}
    DetailPrint "無法建立資料夾 $INSTDIR"
    SetErrorLevel 2
    Abort "無法建立資料夾 $INSTDIR"
  ${EndIf}

  ; The program files of the chosen build replace those already there; the files that
  ; only the other build has (its compiler runtime) go, so that a change of build
  ; leaves none of them behind. Nothing else in the folder is touched.
  ${If} $Choice_Build == win64
    !insertmacro KORVEX_REMOVE_ONLY_IN_win32
    !insertmacro KORVEX_FILES_win64
  ${Else}
    !insertmacro KORVEX_REMOVE_ONLY_IN_win64
    !insertmacro KORVEX_FILES_win32
  ${EndIf}

  SetOutPath "$INSTDIR"
  ClearErrors
  WriteUninstaller "$INSTDIR\${UNINSTALLER}"
  ${If} ${Errors}
    SetErrorLevel 2
    Abort "無法寫入 $INSTDIR\${UNINSTALLER}"
  ${EndIf}

  ; Shortcuts start the program in its folder (the working folder is the out path).
  CreateShortCut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\korvex-assistant.exe" "" \
    "$INSTDIR\korvex-assistant.exe" 0 SW_SHOWNORMAL "" "試務組的考試資料小幫手"
  CreateShortCut "$DESKTOP\${PRODUCT}.lnk" "$INSTDIR\korvex-assistant.exe" "" \
    "$INSTDIR\korvex-assistant.exe" 0 SW_SHOWNORMAL "" "試務組的考試資料小幫手"

  ; Programs and Features
  WriteRegStr HKLM "${KORVEX_UNINST_KEY}" "DisplayName" "${PRODUCT} ($Choice_Name)"
  WriteRegStr HKLM "${KORVEX_UNINST_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${KORVEX_UNINST_KEY}" "DisplayIcon" "$INSTDIR\korvex-assistant.exe,0"
  WriteRegStr HKLM "${KORVEX_UNINST_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${KORVEX_UNINST_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
  WriteRegStr HKLM "${KORVEX_UNINST_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
  WriteRegStr HKLM "${KORVEX_UNINST_KEY}" "Build" "$Choice_Build"
  WriteRegStr HKLM "${KORVEX_UNINST_KEY}" "CreatedFolder" "$1"
  WriteRegDWORD HKLM "${KORVEX_UNINST_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${KORVEX_UNINST_KEY}" "NoRepair" 1
  ${If} $Choice_Build == win64
    WriteRegDWORD HKLM "${KORVEX_UNINST_KEY}" "EstimatedSize" ${KORVEX_SIZE_KB_win64}
  ${Else}
    WriteRegDWORD HKLM "${KORVEX_UNINST_KEY}" "EstimatedSize" ${KORVEX_SIZE_KB_win32}
  ${EndIf}
SectionEnd

; The space the folder page shows: the chosen build's files, not both builds'.
Function ChoiceSizeSection
  ${If} $Choice_Build == win64
    SectionSetSize ${SecMain} ${KORVEX_SIZE_KB_win64}
  ${Else}
    SectionSetSize ${SecMain} ${KORVEX_SIZE_KB_win32}
  ${EndIf}
FunctionEnd

Function un.onInit
  SetShellVarContext all
FunctionEnd

Section "Uninstall"
  SetShellVarContext all
  !insertmacro KORVEX_WAIT_NOT_RUNNING
  ; The shortcuts and the Programs and Features entry belong to this folder's
  ; installation only when it is the one registered (another folder may have been
  ; installed later).
  ReadRegStr $0 HKLM "${KORVEX_UNINST_KEY}" "InstallLocation"
  ReadRegStr $1 HKLM "${KORVEX_UNINST_KEY}" "CreatedFolder"
  ${If} $0 == $INSTDIR
    Delete "$SMPROGRAMS\${PRODUCT}.lnk"
    Delete "$DESKTOP\${PRODUCT}.lnk"
    DeleteRegKey HKLM "${KORVEX_UNINST_KEY}"
  ${Else}
    StrCpy $1 0
  ${EndIf}
  ; Exactly the files an install puts there, by name; the school's files stay.
  !insertmacro KORVEX_UNINSTALL_FILES
  Delete "$INSTDIR\${UNINSTALLER}"
  ; The folder itself only when this installer made it and nothing else is in it.
  ${If} $1 == 1
    RMDir "$INSTDIR"
  ${EndIf}
SectionEnd
