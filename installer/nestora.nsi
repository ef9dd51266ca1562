; Nestora's installer: per user, no administrator rights, into the user's own programs
; folder, with a Start-menu entry and an entry in the user's "Apps" list.
;
; Made by installer/CMakeLists.txt (makensis -INPUTCHARSET UTF8) with these defines:
;   NESTORA_VERSION  the program's version (major.minor.patch)
;   NESTORA_TARGET   amd64-unicode for the x64 program, x86-unicode for the x86 one
;   NESTORA_EXE      the nestora.exe to install
;   NESTORA_README   the readme for Windows users (CRLF text)
;   NESTORA_ICON     the program's icon (.ico)
;   NESTORA_OUTFILE  where the installer is written
;   NESTORA_FINALIZE (optional) run on the uninstaller before it is packed and on the
;                    finished installer: checks what each loads at its start, and signs it
;                    when a key is named (scripts/lib/finalize-pe)
;
; Silent use: setup.exe /S [/D=folder] installs; uninstall.exe /S removes everything,
; the settings included.

Unicode true
Target ${NESTORA_TARGET}
ManifestSupportedOS all
ManifestDPIAware true
RequestExecutionLevel user
SetCompressor /SOLID lzma

; The uninstaller is written into the installer: this is the only moment it can be signed.
!ifdef NESTORA_FINALIZE
!uninstfinalize '"${NESTORA_FINALIZE}" "%1"' = 0
!finalize '"${NESTORA_FINALIZE}" "%1"' = 0
!endif

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh

!define APP_NAME "Nestora"
!define APP_EXE "nestora.exe"
!define UNINSTALLER "uninstall.exe"
!define README "README.txt"
!define PUBLISHER "Nestora"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Nestora"
!define SETTINGS_KEY "Software\Nestora"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
; The program's start-with-Windows value is named after its executable.
!define RUN_VALUE "${APP_EXE}"
!define MAIN_WINDOW_CLASS "TForm1"
!define SHORTCUT "$SMPROGRAMS\${APP_NAME}.lnk"
; How long a running copy gets to write its settings and end.
!define CLOSE_WAIT_MS 10000

Name "${APP_NAME}"
OutFile "${NESTORA_OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\${APP_NAME}"
; An update goes where the last install went.
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${APP_NAME} ${NESTORA_VERSION}"
ShowInstDetails nevershow
ShowUninstDetails nevershow

VIProductVersion "${NESTORA_VERSION}.0"
VIFileVersion "${NESTORA_VERSION}.0"
VIAddVersionKey /LANG=0 "ProductName" "${APP_NAME}"
VIAddVersionKey /LANG=0 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=0 "FileDescription" "${APP_NAME} Setup"
VIAddVersionKey /LANG=0 "FileVersion" "${NESTORA_VERSION}"
VIAddVersionKey /LANG=0 "ProductVersion" "${NESTORA_VERSION}"
VIAddVersionKey /LANG=0 "LegalCopyright" "${PUBLISHER}"

Var WasRunning ; 1 when a copy of this installation was running and was ended

!define MUI_ICON "${NESTORA_ICON}"
!define MUI_UNICON "${NESTORA_ICON}"
!define MUI_ABORTWARNING

!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
; The program starts hidden in the notification area: the last page says where to look.
!define MUI_FINISHPAGE_TEXT "$(FinishText)"
!define MUI_FINISHPAGE_RUN "$INSTDIR\${APP_EXE}"
!define MUI_FINISHPAGE_RUN_TEXT "$(RunNow)"
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "Russian"

LangString FinishText ${LANG_ENGLISH} "Nestora is installed.$\r$\n$\r$\nIt lives in the notification area next to the clock. Press Ctrl+` to make a new folder in the Explorer window you are in, or on the desktop. Its icon's menu holds the settings, the language and starting with Windows."
LangString FinishText ${LANG_RUSSIAN} "Nestora установлена.$\r$\n$\r$\nОна живёт в области уведомлений рядом с часами. Нажмите Ctrl+`, чтобы создать новую папку в открытом окне Проводника или на рабочем столе. В меню её значка — настройки, язык и запуск вместе с Windows."
LangString RunNow ${LANG_ENGLISH} "Start Nestora now"
LangString RunNow ${LANG_RUSSIAN} "Запустить Nestora сейчас"
LangString StillRunning ${LANG_ENGLISH} "Nestora did not end in time.$\r$\n$\r$\nRetry: wait for it again.$\r$\nIgnore: end it at once (changes to its settings since it started are lost).$\r$\nAbort: stop here."
LangString StillRunning ${LANG_RUSSIAN} "Nestora не завершилась вовремя.$\r$\n$\r$\nПовтор: подождать ещё.$\r$\nПропустить: завершить её сразу (изменения настроек с её запуска будут потеряны).$\r$\nПрервать: остановиться."
LangString RemoveSettings ${LANG_ENGLISH} "Remove your Nestora settings too (hotkey, folder name, language)?"
LangString RemoveSettings ${LANG_RUSSIAN} "Удалить и настройки Nestora (сочетание клавиш, имя папки, язык)?"

; Ends the running copy of this installation's nestora.exe, the way the user's own Exit
; does it: WM_CLOSE to its main window, so that it writes its settings and its
; start-with-Windows entry, then a wait for its process. Only a window whose process runs
; "$INSTDIR\nestora.exe" is touched: other programs have windows of this class too, and a
; portable copy elsewhere is not this installation's. Sets $WasRunning.
!macro DEFINE_CLOSE_RUNNING_NESTORA PREFIX
Function ${PREFIX}CloseRunningNestora
    Push $R0 ; window
    Push $R1 ; process id
    Push $R2 ; process handle
    Push $R3 ; the process's executable
    Push $R4 ; this installation's executable
    Push $R5 ; wait result

    StrCpy $WasRunning 0
    StrCpy $R4 "$INSTDIR\${APP_EXE}"
    ; The running program's path is the long form: compare like with like.
    System::Call 'kernel32::GetLongPathNameW(w R4, w .R3, i ${NSIS_MAX_STRLEN}) i .R5'
    ${If} $R5 <> 0
        StrCpy $R4 $R3
    ${EndIf}

    StrCpy $R0 0
    ${Do}
        FindWindow $R0 "${MAIN_WINDOW_CLASS}" "" 0 $R0
        ${If} $R0 = 0
            ${ExitDo}
        ${EndIf}
        System::Call 'user32::GetWindowThreadProcessId(p R0, *i .R1) i'
        ; SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION | PROCESS_TERMINATE
        System::Call 'kernel32::OpenProcess(i 0x101001, i 0, i R1) p .R2'
        ${If} $R2 P<> 0
            StrCpy $R3 ""
            System::Call 'kernel32::QueryFullProcessImageNameW(p R2, i 0, w .R3, *i ${NSIS_MAX_STRLEN}) i'
            ${If} $R3 == $R4
                StrCpy $WasRunning 1
                System::Call 'user32::PostMessageW(p R0, i 0x0010, p 0, p 0) i' ; WM_CLOSE
                ${Do}
                    System::Call 'kernel32::WaitForSingleObject(p R2, i ${CLOSE_WAIT_MS}) i .R5'
                    ${If} $R5 = 0 ; WAIT_OBJECT_0: it has ended
                        ${ExitDo}
                    ${EndIf}
                    MessageBox MB_ABORTRETRYIGNORE|MB_ICONEXCLAMATION "$(StillRunning)" /SD IDIGNORE IDRETRY waitAgain IDIGNORE endNow
                    System::Call 'kernel32::CloseHandle(p R2) i'
                    Abort
                  endNow:
                    System::Call 'kernel32::TerminateProcess(p R2, i 1) i'
                    System::Call 'kernel32::WaitForSingleObject(p R2, i ${CLOSE_WAIT_MS}) i'
                    ${ExitDo}
                  waitAgain:
                ${Loop}
                System::Call 'kernel32::CloseHandle(p R2) i'
                ; One executable path runs once at most (its single-instance guard).
                ${ExitDo}
            ${EndIf}
            System::Call 'kernel32::CloseHandle(p R2) i'
        ${EndIf}
    ${Loop}

    Pop $R5
    Pop $R4
    Pop $R3
    Pop $R2
    Pop $R1
    Pop $R0
FunctionEnd
!macroend
!insertmacro DEFINE_CLOSE_RUNNING_NESTORA ""
!insertmacro DEFINE_CLOSE_RUNNING_NESTORA "un."

Function .onInit
    SetShellVarContext current
FunctionEnd

Section "Nestora"
    SectionIn RO
    ; An update replaces the running program's file: end it first.
    Call CloseRunningNestora

    SetOutPath "$INSTDIR"
    File "/oname=${APP_EXE}" "${NESTORA_EXE}"
    File "/oname=${README}" "${NESTORA_README}"
    WriteUninstaller "$INSTDIR\${UNINSTALLER}"
    CreateShortcut "${SHORTCUT}" "$INSTDIR\${APP_EXE}" "" "$INSTDIR\${APP_EXE}" 0

    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${APP_NAME}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${NESTORA_VERSION}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\${APP_EXE},0"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
    WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
    WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    IntFmt $0 "0x%08X" $0
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" "$0"

    ; A silent update leaves the program as it found it: running again if it ran.
    ${If} ${Silent}
    ${AndIf} $WasRunning = 1
        Exec '"$INSTDIR\${APP_EXE}"'
    ${EndIf}
SectionEnd

Function un.onInit
    SetShellVarContext current
FunctionEnd

Section "Uninstall"
    ; First, so that the settings and the run entry it writes as it ends are removed below.
    Call un.CloseRunningNestora

    ; Only the files this installer put there: the folder may have been chosen by the user
    ; and hold other things, which stay (and the folder with them).
    Delete "$INSTDIR\${APP_EXE}"
    Delete "$INSTDIR\${README}"
    Delete "$INSTDIR\${UNINSTALLER}"
    RMDir "$INSTDIR"
    Delete "${SHORTCUT}"

    ; The run entry only when it starts this installation: a portable copy elsewhere uses
    ; the same value name.
    ReadRegStr $0 HKCU "${RUN_KEY}" "${RUN_VALUE}"
    ${If} $0 == "$INSTDIR\${APP_EXE}"
    ${OrIf} $0 == '"$INSTDIR\${APP_EXE}"'
        DeleteRegValue HKCU "${RUN_KEY}" "${RUN_VALUE}"
    ${EndIf}

    MessageBox MB_YESNO|MB_ICONQUESTION "$(RemoveSettings)" /SD IDYES IDNO keepSettings
    DeleteRegKey HKCU "${SETTINGS_KEY}"
keepSettings:

    DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
