; The installer: the game into Program Files\Vorkelm for every user of the machine, or with
; /CurrentUser into %LOCALAPPDATA%\Programs\Vorkelm for one user without administrator rights;
; a Start-menu entry that starts it in that folder and an entry in Add/Remove Programs. An
; installation again, or of a later version, goes where the existing one is; a failed one takes
; back only what it added, so that an earlier installation keeps working.
; Exit codes: 0 done, 2 failed (nothing changed), 3 the game is running (nothing changed).
; package.sh defines VERSION, VERSION_MAJOR, VERSION_MINOR, TITLE, PUBLISHER, COPYRIGHT, HOMEPAGE,
; GAME_CLASS (the window class of the game), STAGE (the release folder), FILES (its file list as
; the macro ReleaseFiles) and OUTFILE.
; The 64-bit stub: Wine without its 32-bit part cannot start the default 32-bit one.
Target amd64-unicode
SetCompressor /SOLID lzma
; Administrators are asked for their rights, for an installation for every user; anyone else
; installs for themselves.
RequestExecutionLevel highest
ManifestDPIAware true

!include "MUI2.nsh"
!include "LogicLib.nsh"
!include "FileFunc.nsh"
!include "StrFunc.nsh"
${StrStr}
!include "${FILES}"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Vorkelm"
!define SHORTCUT "$SMPROGRAMS\${TITLE}.lnk"
!define EXIT_FAILED 2
!define EXIT_GAME_RUNNING 3

Name "${TITLE}"
OutFile "${OUTFILE}"
; Without skipping, a file that cannot be written cancels the whole installation, also under /S.
AllowSkipFiles off
BrandingText "${TITLE} ${VERSION}"

!define MUI_ICON "${__FILEDIR__}/../app/vorkelm-shell.ico"
!define MUI_UNICON "${__FILEDIR__}/../app/vorkelm-shell.ico"
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "Vorkelm を起動する"
!define MUI_FINISHPAGE_RUN_FUNCTION StartGame
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Japanese"

VIProductVersion "${VERSION}.0"
VIFileVersion "${VERSION}.0"
VIAddVersionKey /LANG=${LANG_JAPANESE} "ProductName" "${TITLE}"
VIAddVersionKey /LANG=${LANG_JAPANESE} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_JAPANESE} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_JAPANESE} "FileDescription" "${TITLE} セットアップ"
VIAddVersionKey /LANG=${LANG_JAPANESE} "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=${LANG_JAPANESE} "LegalCopyright" "${COPYRIGHT}"

Var PerMachine   ; 1: for every user (HKLM, Program Files); 0: for the current user (HKCU)
Var NewFiles     ; "|name|" for each file that this run added
Var MadeFolder   ; the outermost folder that this run made, or ""
Var HadEntry     ; 1 where the Add/Remove entry was there before this run
Var HadShortcut  ; 1 where the Start-menu shortcut was there before this run

; Waits, interactively, until the player has closed the game; ends the run with exit code 3 when
; the player cancels or, under /S, at once.
!macro GameClosedFunction un
Function ${un}WaitForGameClosed
    ${Do}
        FindWindow $0 "${GAME_CLASS}"
        ${If} $0 = 0
            Return
        ${EndIf}
        ${If} ${Silent}
            SetErrorLevel ${EXIT_GAME_RUNNING}
            Quit
        ${EndIf}
        MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION \
            "${TITLE} が起動しています。ゲームを終了してから「再試行」を押してください。" IDRETRY retry
        SetErrorLevel ${EXIT_GAME_RUNNING}
        Quit
    retry:
    ${Loop}
FunctionEnd
!macroend
!insertmacro GameClosedFunction ""
!insertmacro GameClosedFunction "un."

; Removes $INSTDIR if it is empty, and then each empty folder above it up to the folder named by
; $0, the outermost one that the installer made ("" for none).
!macro RemoveMadeFolders
    StrLen $1 $0
    StrCpy $2 $INSTDIR $1
    ${If} $0 != ""
    ${AndIf} $2 == $0
        StrCpy $2 $INSTDIR
        ${Do}
            RMDir $2
            ${If} $2 == $0
                ${ExitDo}
            ${EndIf}
            ${GetParent} $2 $2
        ${LoopUntil} $2 == ""
    ${EndIf}
!macroend

Function .onInit
    StrCpy $HadEntry 1
    StrCpy $HadShortcut 1
    ; Per-machine unless asked for, or without administrator rights.
    ${GetParameters} $R0
    UserInfo::GetAccountType
    Pop $R1
    ClearErrors
    ${GetOptions} $R0 "/CurrentUser" $R2
    ${If} ${Errors}
    ${AndIf} $R1 == "Admin"
        StrCpy $PerMachine 1
        SetShellVarContext all
        StrCpy $R3 "$PROGRAMFILES64\Vorkelm"
    ${Else}
        ClearErrors
        ${GetOptions} $R0 "/AllUsers" $R2
        ${IfNot} ${Errors}
            MessageBox MB_OK|MB_ICONSTOP "すべてのユーザー向けのインストールには管理者の権限が必要です。" /SD IDOK
            SetErrorLevel ${EXIT_FAILED}
            Quit
        ${EndIf}
        StrCpy $PerMachine 0
        SetShellVarContext current
        StrCpy $R3 "$LOCALAPPDATA\Programs\Vorkelm"
    ${EndIf}
    ; Without /D=, the folder of an existing installation, or else the default one.
    ${If} $INSTDIR == ""
        ReadRegStr $INSTDIR SHCTX "${UNINSTALL_KEY}" "InstallLocation"
        ${If} $INSTDIR == ""
            StrCpy $INSTDIR $R3
        ${EndIf}
    ${EndIf}
    Call WaitForGameClosed
FunctionEnd

; Checks, before anything is written, that a file which this run will replace can be written.
!macro CheckWritable name
    ${If} ${FileExists} "$INSTDIR\${name}"
        ClearErrors
        FileOpen $0 "$INSTDIR\${name}" a
        ${If} ${Errors}
            Goto failed
        ${EndIf}
        FileClose $0
    ${EndIf}
!macroend

!macro InstallFile name
    ${IfNot} ${FileExists} "$INSTDIR\${name}"
        StrCpy $NewFiles "$NewFiles|${name}|"
    ${EndIf}
    File "${STAGE}/${name}"
!macroend

!macro RemoveFileIfNew name
    ${StrStr} $0 $NewFiles "|${name}|"
    ${If} $0 != ""
        Delete "$INSTDIR\${name}"
    ${EndIf}
!macroend

!macro RemoveFile name
    Delete "$INSTDIR\${name}"
!macroend

; The shortcut comes last, once everything else is in place.
Section
    Call WaitForGameClosed
    !insertmacro ReleaseFiles CheckWritable
    !insertmacro CheckWritable uninstall.exe

    ; The outermost folder on the way to $INSTDIR that is not there yet.
    StrCpy $MadeFolder ""
    StrCpy $0 $INSTDIR
    ${Do}
        ${If} ${FileExists} "$0\*.*"
            ${ExitDo}
        ${EndIf}
        StrCpy $MadeFolder $0
        ${GetParent} $0 $0
    ${LoopUntil} $0 == ""
    ClearErrors
    CreateDirectory "$INSTDIR"
    IfErrors failed
    SetOutPath "$INSTDIR"

    ReadRegStr $0 SHCTX "${UNINSTALL_KEY}" "DisplayName"
    ${If} $0 == ""
        StrCpy $HadEntry 0
    ${EndIf}
    ${IfNot} ${FileExists} "${SHORTCUT}"
        StrCpy $HadShortcut 0
    ${EndIf}

    !insertmacro ReleaseFiles InstallFile
    ${IfNot} ${FileExists} "$INSTDIR\uninstall.exe"
        StrCpy $NewFiles "$NewFiles|uninstall.exe|"
    ${EndIf}
    ClearErrors
    WriteUninstaller "$INSTDIR\uninstall.exe"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "${TITLE}"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "VersionMajor" ${VERSION_MAJOR}
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "VersionMinor" ${VERSION_MINOR}
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "URLInfoAbout" "${HOMEPAGE}"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\vorkelm.exe,0"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
    SectionGetSize 0 $0
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "EstimatedSize" $0
    ; An upgrade in place keeps what the first installation made.
    ${If} $MadeFolder != ""
        WriteRegStr SHCTX "${UNINSTALL_KEY}" "MadeFolder" "$MadeFolder"
    ${EndIf}
    IfErrors failed
    ; The working folder of the shortcut is the output folder: the install folder.
    CreateShortCut "${SHORTCUT}" "$INSTDIR\vorkelm.exe"
    IfErrors failed
    Return
failed:
    SetErrorLevel ${EXIT_FAILED}
    Abort "インストールを完了できませんでした。"
SectionEnd

; A failed installation takes back what it added and nothing else.
Function .onInstFailed
    !insertmacro ReleaseFiles RemoveFileIfNew
    !insertmacro RemoveFileIfNew uninstall.exe
    ${If} $HadShortcut = 0
        Delete "${SHORTCUT}"
    ${EndIf}
    ${If} $HadEntry = 0
        DeleteRegKey SHCTX "${UNINSTALL_KEY}"
    ${EndIf}
    StrCpy $0 $MadeFolder
    !insertmacro RemoveMadeFolders
FunctionEnd

; Started elevated for every user, the game goes through Explorer, which starts it as the
; signed-in user; an installation for one user starts it directly, in its folder.
Function StartGame
    ${If} $PerMachine = 1
        Exec '"$WINDIR\explorer.exe" "$INSTDIR\vorkelm.exe"'
    ${Else}
        SetOutPath "$INSTDIR"
        Exec '"$INSTDIR\vorkelm.exe"'
    ${EndIf}
FunctionEnd

; The uninstaller belongs to the installation whose entry names its folder: the current user's
; or else the machine's.
Function un.onInit
    SetShellVarContext all
    ReadRegStr $0 HKCU "${UNINSTALL_KEY}" "InstallLocation"
    ${If} $0 == $INSTDIR
        SetShellVarContext current
    ${EndIf}
    Call un.WaitForGameClosed
FunctionEnd

; Removes what the installer wrote and nothing else: the folders only where they are empty then.
; Where a file cannot be removed, the entry and the uninstaller stay, to try again.
Section Uninstall
    ClearErrors
    !insertmacro ReleaseFiles RemoveFile
    ${If} ${Errors}
        SetErrorLevel ${EXIT_FAILED}
        Abort "ファイルを削除できませんでした。"
    ${EndIf}
    Delete "$INSTDIR\uninstall.exe"
    Delete "${SHORTCUT}"
    ReadRegStr $0 SHCTX "${UNINSTALL_KEY}" "MadeFolder"
    DeleteRegKey SHCTX "${UNINSTALL_KEY}"
    RMDir "$INSTDIR"
    !insertmacro RemoveMadeFolders
SectionEnd
