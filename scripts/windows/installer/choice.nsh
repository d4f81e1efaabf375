; Which build to install. The program must have the bitness of its Access ODBC driver:
; the 64-bit build only where the 64-bit driver is registered (the 64-bit Access Database
; Engine or a 64-bit Office), the 32-bit build elsewhere, which uses the Access driver
; Windows itself carries or the 32-bit engine. The user may choose the other one on the
; page below; /BITS=32 or /BITS=64 chooses it on the command line.

!define KORVEX_ACCESS_DRIVER "Microsoft Access Driver (*.mdb, *.accdb)"

Var Choice_Build        ; win32 or win64: what will be installed
Var Choice_Name         ; its name in the pages
Var Choice_Suggested    ; what the look at the drivers suggested
Var Choice_Why          ; why, in the user's words
Var Choice_Reason       ; why the build installed was chosen (the install log)
Var Choice_Radio32
Var Choice_Radio64

Function ChoiceSetBuild ; $0 = win32 or win64
  StrCpy $Choice_Build $0
  ${If} $0 == win64
    StrCpy $Choice_Name "64 位元版"
  ${Else}
    StrCpy $Choice_Name "32 位元版"
  ${EndIf}
  Call ChoiceSizeSection
FunctionEnd

Function ChoiceInit
  ${If} ${RunningX64}
    ; The installer is a 32-bit program: the 64-bit drivers are listed in the 64-bit view.
    SetRegView 64
    ClearErrors
    ReadRegStr $0 HKLM "SOFTWARE\ODBC\ODBCINST.INI\ODBC Drivers" "${KORVEX_ACCESS_DRIVER}"
    ${If} ${Errors}
      StrCpy $Choice_Suggested win32
      StrCpy $Choice_Why "這部電腦沒有 64 位元的 Access 驅動程式「${KORVEX_ACCESS_DRIVER}」, 所以安裝 32 位元版: 它使用 Windows 內建的 32 位元 Access 驅動程式, 或 32 位元的 Access Database Engine。"
    ${Else}
      StrCpy $Choice_Suggested win64
      StrCpy $Choice_Why "這部電腦裝有 64 位元的 Access 驅動程式「${KORVEX_ACCESS_DRIVER}」(64 位元的 Access Database Engine 或 Office), 所以安裝 64 位元版。"
    ${EndIf}
    SetRegView default
  ${Else}
    StrCpy $Choice_Suggested win32
    StrCpy $Choice_Why "這部電腦是 32 位元的 Windows, 只能安裝 32 位元版。"
  ${EndIf}
  StrCpy $0 $Choice_Suggested
  Call ChoiceSetBuild
  StrCpy $Choice_Reason $Choice_Why

  ${GetParameters} $1
  ClearErrors
  ${GetOptions} $1 "/BITS=" $2
  ${IfNot} ${Errors}
    ${If} $2 == 32
      StrCpy $0 win32
    ${ElseIf} $2 == 64
      ${IfNot} ${RunningX64}
        !insertmacro KORVEX_FAIL "無法依命令列的 /BITS=64 安裝 64 位元版: 這部電腦是 32 位元的 Windows。"
      ${EndIf}
      StrCpy $0 win64
    ${Else}
      !insertmacro KORVEX_FAIL "命令列的 /BITS=$2 無效: 請用 /BITS=32 或 /BITS=64。"
    ${EndIf}
    Call ChoiceSetBuild
    StrCpy $Choice_Reason "依命令列的 /BITS=$2 安裝$Choice_Name。($Choice_Why)"
  ${EndIf}
FunctionEnd

Function ChoicePageShow
  !insertmacro MUI_HEADER_TEXT "選擇版本" "${PRODUCT} 的位元數必須與 Access 驅動程式的位元數相同。"
  nsDialogs::Create 1018
  Pop $0
  ${If} $0 == error
    Abort
  ${EndIf}
  ${NSD_CreateLabel} 0 0 100% 36u "$Choice_Why"
  Pop $0
  StrCpy $1 ""
  StrCpy $2 ""
  ${If} $Choice_Suggested == win64
    StrCpy $2 " (建議)"
  ${Else}
    StrCpy $1 " (建議)"
  ${EndIf}
  ${NSD_CreateRadioButton} 10u 42u -10u 12u "32 位元版$1"
  Pop $Choice_Radio32
  ${NSD_CreateLabel} 22u 55u -22u 18u "使用 Windows 內建的 Access 驅動程式, 或 32 位元的 Access Database Engine (32 位元的 Office)。"
  Pop $0
  ${NSD_CreateRadioButton} 10u 78u -10u 12u "64 位元版$2"
  Pop $Choice_Radio64
  ${NSD_CreateLabel} 22u 91u -22u 18u "需要 64 位元的 Access Database Engine (或 64 位元的 Office)。"
  Pop $0
  ${NSD_CreateLabel} 0 116u 100% 26u "選錯時, ${PRODUCT} 啟動時會說明缺少哪一個驅動程式; 再執行本安裝程式改選另一版即可, 設定與資料都不受影響。"
  Pop $0
  ${IfNot} ${RunningX64}
    EnableWindow $Choice_Radio64 0
  ${EndIf}
  ${If} $Choice_Build == win64
    ${NSD_Check} $Choice_Radio64
  ${Else}
    ${NSD_Check} $Choice_Radio32
  ${EndIf}
  nsDialogs::Show
FunctionEnd

Function ChoicePageLeave
  ${NSD_GetState} $Choice_Radio64 $0
  ${If} $0 == ${BST_CHECKED}
    StrCpy $0 win64
  ${Else}
    StrCpy $0 win32
  ${EndIf}
  Call ChoiceSetBuild
  ${If} $Choice_Build == $Choice_Suggested
    StrCpy $Choice_Reason $Choice_Why
  ${Else}
    StrCpy $Choice_Reason "使用者選擇了$Choice_Name。($Choice_Why)"
  ${EndIf}
FunctionEnd
