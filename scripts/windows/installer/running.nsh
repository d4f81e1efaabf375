; A running program cannot be replaced or removed: before the files are touched, each
; executable in the folder is opened for writing, which Windows refuses while it runs.
; The user may end it and retry; cancelling (or a silent run) ends with status 2 and
; leaves everything as it was.

!macro KORVEX_CHECK_EXE name
  ${If} $R9 == ""
  ${AndIf} ${FileExists} "$INSTDIR\${name}"
    ClearErrors
    FileOpen $R8 "$INSTDIR\${name}" a
    ${If} ${Errors}
      StrCpy $R9 "${name}"
    ${Else}
      FileClose $R8
    ${EndIf}
  ${EndIf}
!macroend

!macro KORVEX_WAIT_NOT_RUNNING
  ${Do}
    StrCpy $R9 ""
    !insertmacro KORVEX_CHECK_EXE korvex-assistant.exe
    !insertmacro KORVEX_CHECK_EXE korvex-batch.exe
    !insertmacro KORVEX_CHECK_EXE korvex-sample.exe
    ${If} $R9 == ""
      ${Break}
    ${EndIf}
    DetailPrint "$INSTDIR\$R9 正在執行或無法寫入"
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "無法更動 $INSTDIR\$R9: 它正在執行 (或這個檔案不能寫入)。$\r$\n$\r$\n請先結束 ${PRODUCT} (及 korvex-batch), 再按「重試」。" /SD IDCANCEL IDRETRY korvex_retry
    SetErrorLevel 2
    Abort "${PRODUCT} 正在執行, 沒有更動任何檔案。"
  korvex_retry:
  ${Loop}
!macroend
