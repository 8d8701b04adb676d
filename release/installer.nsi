; The installer: the game into Program Files\Vorkelm for every user of the machine, a Start-menu
; entry that starts it in that folder (it reads its pictures and sounds from there), and an
; entry in Add/Remove Programs. package.sh defines VERSION, STAGE (the release folder), FILES
; (its file list as the macro ReleaseFiles) and OUTFILE.
; The 64-bit stub: Wine without its 32-bit part cannot start the default 32-bit one.
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin

!define TITLE "Vorkelm～５台目～"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Vorkelm"
!define SHORTCUT "$SMPROGRAMS\${TITLE}.lnk"
!include "${FILES}"

Name "${TITLE}"
OutFile "${OUTFILE}"
Icon "${__FILEDIR__}/../app/vorkelm.ico"
UninstallIcon "${__FILEDIR__}/../app/vorkelm.ico"
InstallDir "$PROGRAMFILES64\Vorkelm"
; Without skipping, a file that cannot be written cancels the whole installation, also under /S.
AllowSkipFiles off
LoadLanguageFile "${NSISDIR}\Contrib\Language files\Japanese.nlf"

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

!macro InstallFile name
    File "${STAGE}/${name}"
!macroend

!macro RemoveFile name
    Delete "$INSTDIR\${name}"
!macroend

Function .onInit
    SetShellVarContext all
FunctionEnd

Function un.onInit
    SetShellVarContext all
FunctionEnd

; The shortcut comes last, once everything else is in place.
Section
    ClearErrors
    SetOutPath "$INSTDIR"
    !insertmacro ReleaseFiles InstallFile
    WriteUninstaller "$INSTDIR\uninstall.exe"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${TITLE}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Vorkelm developers"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\vorkelm.exe,0"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
    SectionGetSize 0 $0
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
    IfErrors failed
    ; The working folder of the shortcut is the output folder: the install folder.
    CreateShortCut "${SHORTCUT}" "$INSTDIR\vorkelm.exe"
    IfErrors failed
    Return
failed:
    Abort "インストールを完了できませんでした。"
SectionEnd

; Removes what the installer writes and nothing else: the folder only if it is empty then.
!macro RemoveRelease
    !insertmacro ReleaseFiles RemoveFile
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"
    Delete "${SHORTCUT}"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
!macroend

; A failed installation takes back what it wrote: nothing half-installed stays behind.
Function .onInstFailed
    !insertmacro RemoveRelease
FunctionEnd

Section Uninstall
    !insertmacro RemoveRelease
SectionEnd
