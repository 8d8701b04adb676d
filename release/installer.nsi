; The installer: the game into Program Files\Vorkelm for every user of the machine, or with
; /CurrentUser into %LOCALAPPDATA%\Programs\Vorkelm for one user without administrator rights;
; a Start-menu entry that starts it in that folder and an entry in Add/Remove Programs. An
; installation again, or of a later version, goes where the existing one is; one into another
; folder moves it there. A failed one takes back only what it added, so that an earlier
; installation keeps working. Each uninstaller removes the entry and the shortcut only where they
; are its own folder's.
; Exit codes: 0 done, 1 cancelled by the player, 2 failed, 3 the game is running; in all but the
; first nothing has changed.
; package.sh defines VERSION, VERSION_MAJOR, VERSION_MINOR, TITLE, USER_TITLE (the entry's name for
; one user), PUBLISHER, COPYRIGHT, GAME_CLASS (the window class of the game), STAGE (the release
; folder), FILES (its file list as the macro ReleaseFiles) and OUTFILE; HOMEPAGE where the game has
; one, and SIGN_SCRIPT and SIGN_CONFIG where the release is signed.
; The 64-bit stub: Wine without its 32-bit part cannot start the default 32-bit one.
Target amd64-unicode
SetCompressor /SOLID lzma
; Administrators are asked for their rights, for an installation for every user; anyone else
; installs for themselves.
RequestExecutionLevel highest
ManifestDPIAware true

; The uninstaller is signed as it is written into the installer, the installer once it is made.
!ifdef SIGN_SCRIPT
!uninstfinalize 'bash "${SIGN_SCRIPT}" "${SIGN_CONFIG}" "%1"' = 0
!finalize 'bash "${SIGN_SCRIPT}" "${SIGN_CONFIG}" "%1"' = 0
!endif

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
Var Earlier      ; the folder of the installation that this run moves, or ""
Var EarlierMade  ; the outermost folder that the installation moved had made, or ""
Var OwnsEntry    ; uninstaller: 1 where the Add/Remove entry names its folder

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
        ; OK reads the same on the buttons of a Japanese and of an English Windows.
        MessageBox MB_OKCANCEL|MB_ICONEXCLAMATION \
            "${TITLE} が起動しています。ゲームを終了してから OK を押してください。" IDOK retry
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

; Where the entry points: the program, the folder and the uninstallers. The quiet one, which
; winget runs, waits for the uninstaller and returns its exit code: run in place, an uninstaller
; returns at once and works from a copy of itself, and run with _?= it cannot delete itself; so
; cmd runs a copy in the temporary folder with _?= (last, and unquoted) and deletes it afterwards.
!macro PointEntryAt folder
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "${folder}\vorkelm.exe,0"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "${folder}"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" '"${folder}\uninstall.exe"'
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" \
        '"$SYSDIR\cmd.exe" /d /v:on /c copy /y "${folder}\uninstall.exe" "%TEMP%\Vorkelm-uninstall.exe" >nul && "%TEMP%\Vorkelm-uninstall.exe" /S _?=${folder}& set code=!errorlevel!& del "%TEMP%\Vorkelm-uninstall.exe"& exit !code!'
!macroend

; The working folder of the shortcut is the output folder: the install folder.
!macro PointShortcutAt folder
    SetOutPath "${folder}"
    CreateShortCut "${SHORTCUT}" "${folder}\vorkelm.exe"
!macroend

; The shortcut comes last, once everything else is in place. An earlier installation in another
; folder is moved here: its files go once this one is complete.
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
    ReadRegStr $Earlier SHCTX "${UNINSTALL_KEY}" "InstallLocation"
    ReadRegStr $EarlierMade SHCTX "${UNINSTALL_KEY}" "MadeFolder"
    ${If} $Earlier == $INSTDIR
        StrCpy $Earlier ""
    ${EndIf}

    !insertmacro ReleaseFiles InstallFile
    ${IfNot} ${FileExists} "$INSTDIR\uninstall.exe"
        StrCpy $NewFiles "$NewFiles|uninstall.exe|"
    ${EndIf}
    ClearErrors
    WriteUninstaller "$INSTDIR\uninstall.exe"
    ; An installation for one user says so in the list, beside one for every user.
    ${If} $PerMachine = 1
        WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "${TITLE}"
    ${Else}
        WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "${USER_TITLE}"
    ${EndIf}
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "VersionMajor" ${VERSION_MAJOR}
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "VersionMinor" ${VERSION_MINOR}
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
!ifdef HOMEPAGE
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "URLInfoAbout" "${HOMEPAGE}"
!endif
    !insertmacro PointEntryAt $INSTDIR
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
    SectionGetSize 0 $0
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "EstimatedSize" $0
    ; An upgrade in place keeps what the first installation made; a move keeps what it made here.
    ${If} $MadeFolder != ""
        WriteRegStr SHCTX "${UNINSTALL_KEY}" "MadeFolder" "$MadeFolder"
    ${EndIf}
    IfErrors failed
    ; Values that an earlier installation may have written and this one has not (no such value
    ; is no error).
    ${If} $Earlier != ""
    ${AndIf} $MadeFolder == ""
        DeleteRegValue SHCTX "${UNINSTALL_KEY}" "MadeFolder"
    ${EndIf}
!ifndef HOMEPAGE
    DeleteRegValue SHCTX "${UNINSTALL_KEY}" "URLInfoAbout"
!endif
    ClearErrors
    !insertmacro PointShortcutAt $INSTDIR
    IfErrors failed

    ; Only the earlier installation's own files go, and its folders where they are empty then;
    ; what cannot be removed stays, and its uninstaller would remove just that.
    ${If} $Earlier != ""
        Push $INSTDIR
        StrCpy $INSTDIR $Earlier
        !insertmacro ReleaseFiles RemoveFile
        Delete "$INSTDIR\uninstall.exe"
        RMDir "$INSTDIR"
        StrCpy $0 $EarlierMade
        !insertmacro RemoveMadeFolders
        Pop $INSTDIR
    ${EndIf}
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
    ; A move that failed leaves the entry and the shortcut with the earlier installation.
    ${If} $Earlier != ""
        !insertmacro PointEntryAt $Earlier
        ${If} $EarlierMade != ""
            WriteRegStr SHCTX "${UNINSTALL_KEY}" "MadeFolder" "$EarlierMade"
        ${Else}
            DeleteRegValue SHCTX "${UNINSTALL_KEY}" "MadeFolder"
        ${EndIf}
        ${If} $HadShortcut = 1
            !insertmacro PointShortcutAt $Earlier
        ${EndIf}
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
; or else the machine's. A copy that no entry names (one left behind by an earlier installer)
; removes only its own files.
Function un.onInit
    StrCpy $OwnsEntry 1
    SetShellVarContext current
    ReadRegStr $0 HKCU "${UNINSTALL_KEY}" "InstallLocation"
    ${If} $0 != $INSTDIR
        SetShellVarContext all
        ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "InstallLocation"
        ${If} $0 != $INSTDIR
            StrCpy $OwnsEntry 0
        ${EndIf}
    ${EndIf}
    Call un.WaitForGameClosed
FunctionEnd

; The program that the Start-menu shortcut starts, in $R0; "" where there is no shortcut.
; Through the shell's IShellLinkW and IPersistFile::Load.
Function un.ShortcutTarget
    StrCpy $R0 ""
    System::Call "ole32::CoCreateInstance(g '{00021401-0000-0000-C000-000000000046}', p 0, i 1, \
        g '{000214F9-0000-0000-C000-000000000046}', *p .r1) i .r0"
    ${If} $0 = 0
        System::Call "$1->0(g '{0000010b-0000-0000-C000-000000000046}', *p .r2) i .r0"
        ${If} $0 = 0
            System::Call "$2->5(w '${SHORTCUT}', i 0) i .r0"
            ${If} $0 = 0
                System::Call "$1->3(w .R0, i ${NSIS_MAX_STRLEN}, p 0, i 0)"
            ${EndIf}
            System::Call "$2->2()"
        ${EndIf}
        System::Call "$1->2()"
    ${EndIf}
FunctionEnd

; Removes what the installer wrote and nothing else: the folders only where they are empty then,
; the entry and the shortcut only where they are this folder's. Where a file cannot be removed,
; the entry and the uninstaller stay, to try again.
Section Uninstall
    ClearErrors
    !insertmacro ReleaseFiles RemoveFile
    ${If} ${Errors}
        SetErrorLevel ${EXIT_FAILED}
        Abort "ファイルを削除できませんでした。"
    ${EndIf}
    Delete "$INSTDIR\uninstall.exe"
    StrCpy $0 ""
    ${If} $OwnsEntry = 1
        Call un.ShortcutTarget
        ${If} $R0 == "$INSTDIR\vorkelm.exe"
            Delete "${SHORTCUT}"
        ${EndIf}
        ReadRegStr $0 SHCTX "${UNINSTALL_KEY}" "MadeFolder"
        DeleteRegKey SHCTX "${UNINSTALL_KEY}"
    ${Else}
        MessageBox MB_OK|MB_ICONINFORMATION \
            "このフォルダーの ${TITLE} のファイルだけを削除しました。一覧とスタート メニューにある ${TITLE} は別のフォルダーにインストールされたもので、そのまま残っています。" \
            /SD IDOK
    ${EndIf}
    RMDir "$INSTDIR"
    !insertmacro RemoveMadeFolders
SectionEnd
