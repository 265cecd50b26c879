; The Korvane installer for 64-bit Windows. It installs either for all users,
; into Program Files\Korvane (administrators only), or for the current user
; alone, into %LOCALAPPDATA%\Programs\Korvane without administrator rights;
; each adds Start-menu shortcuts to the program and to its guide and an
; entry under "Apps & features" for the same users. Installing again
; replaces the installation in place.
;   setup.exe /S                 silently, for all users, or in the mode of
;                                the installation already there
;   setup.exe /S /AllUsers       silently, for all users
;   setup.exe /S /CurrentUser    silently, for the current user
;   uninstall.exe /S             removes silently what its installation wrote
; tools/windows/make-installer.sh defines VERSION, VERSION_QUAD, FILES_NSH,
; SIZE_KB, ICON and OUTFILE.

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
; The files' times are not stored, so that the same files make the same installer.
SetDateSave off

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Korvane"
!define PRODUCT_NAME "Korvane 压力容器类别计算器"
!define GUIDE_SHORTCUT "Korvane 使用说明.lnk"

; Administrators are asked by Windows once, at the start, and then choose;
; other users are never asked and install for themselves.
!define MULTIUSER_EXECUTIONLEVEL Highest
!define MULTIUSER_MUI
!define MULTIUSER_INSTALLMODE_COMMANDLINE
!define MULTIUSER_USE_PROGRAMFILES64
!define MULTIUSER_INSTALLMODE_INSTDIR "Korvane"
; An installation already there gives the default mode and folder, so that
; an upgrade keeps them.
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_KEY "${UNINSTALL_KEY}"
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_VALUENAME "InstallLocation"
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_KEY "${UNINSTALL_KEY}"
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_VALUENAME "InstallLocation"
!define MULTIUSER_INIT_TEXT_ALLUSERSNOTPOSSIBLE "为本机所有用户安装 Korvane 需要管理员权限。"
!define MULTIUSER_INIT_FUNCTIONQUIT KorvaneFail ; /AllUsers refused: a failure, not exit code 0
!define MULTIUSER_PAGE_CUSTOMFUNCTION_LEAVE KorvaneModeChosen

!include "MultiUser.nsh"
!include "MUI2.nsh"
!include "LogicLib.nsh"
!include "x64.nsh"
!include "${FILES_NSH}"

Name "${PRODUCT_NAME}"
OutFile "${OUTFILE}"
ShowInstDetails show
ShowUninstDetails show

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_FINISHPAGE_RUN "$INSTDIR\korvane.exe"
!insertmacro MULTIUSER_PAGE_INSTALLMODE
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "SimpChinese"

; The installer's own version record, in Chinese (PRC).
VIProductVersion "${VERSION_QUAD}"
VIFileVersion "${VERSION_QUAD}"
VIAddVersionKey /LANG=${LANG_SIMPCHINESE} "ProductName" "${PRODUCT_NAME}"
VIAddVersionKey /LANG=${LANG_SIMPCHINESE} "FileDescription" "${PRODUCT_NAME} 安装程序"
VIAddVersionKey /LANG=${LANG_SIMPCHINESE} "CompanyName" "Korvane"
VIAddVersionKey /LANG=${LANG_SIMPCHINESE} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_SIMPCHINESE} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_SIMPCHINESE} "LegalCopyright" "The Korvane authors"

; Waits until korvane.exe in the folder on the stack is not running, asking
; the user to close it; gives up on 取消, and at once when silent, with exit
; code 3, which tells a script to try again later. A running program's file
; cannot be opened for writing.
!macro KORVANE_WAIT_CLOSED UN
Function ${UN}KorvaneWaitClosed
    Exch $0
    Push $1
    ${If} $0 != ""
    ${AndIf} ${FileExists} "$0\korvane.exe"
    retry:
        ClearErrors
        FileOpen $1 "$0\korvane.exe" a
        ${If} ${Errors}
            MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION \
                "Korvane 正在运行。请先关闭它，再点“重试”。" /SD IDCANCEL IDRETRY retry
            SetErrorLevel 3
            Quit
        ${EndIf}
        FileClose $1
    ${EndIf}
    Pop $1
    Pop $0
FunctionEnd

; Ends the run with exit code 2, a failure, also when silent.
Function ${UN}KorvaneFail
    SetErrorLevel 2
    Quit
FunctionEnd
!macroend
!insertmacro KORVANE_WAIT_CLOSED ""
!insertmacro KORVANE_WAIT_CLOSED "un."

; Runs the uninstaller of the installation that the Uninstall key in $0
; (HKLM or HKCU) names, silently and in place, so that the files only the
; old version had go too; then removes the uninstaller itself.
Function KorvaneReplace
    ${If} $0 == "HKLM"
        ReadRegStr $1 HKLM "${UNINSTALL_KEY}" "InstallLocation"
    ${Else}
        ReadRegStr $1 HKCU "${UNINSTALL_KEY}" "InstallLocation"
    ${EndIf}
    ${If} $1 == ""
    ${OrIfNot} ${FileExists} "$1\uninstall.exe"
        Return
    ${EndIf}
    Push $1
    Call KorvaneWaitClosed
    DetailPrint "卸载旧的安装：$1"
    ClearErrors
    ExecWait '"$1\uninstall.exe" /S _?=$1' $2
    ${If} ${Errors}
    ${OrIf} $2 != 0
        MessageBox MB_OK|MB_ICONSTOP "无法卸载 $1 中旧的 Korvane。" /SD IDOK
        Call KorvaneFail
    ${EndIf}
    Delete "$1\uninstall.exe"
    RMDir "$1"
FunctionEnd

; One Korvane for each user: an installation for the current user alone
; is refused while one for all users is there (its user sees both, and may
; not remove the other); the reverse replaces the user's own (see below).
Function KorvaneModeChosen
    ${If} $MultiUser.InstallMode == "CurrentUser"
        ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "InstallLocation"
        ${If} $0 != ""
            MessageBox MB_OK|MB_ICONEXCLAMATION \
                "Korvane 已为本机所有用户安装在 $0。要更新它，请为所有用户安装；要只为自己安装，请先卸载它。" /SD IDOK
            ${If} ${Silent}
                Call KorvaneFail
            ${ElseIf} $MultiUser.Privileges != "Admin"
            ${AndIf} $MultiUser.Privileges != "Power"
                Call KorvaneFail
            ${EndIf}
            Abort ; back to the choice
        ${EndIf}
    ${EndIf}
FunctionEnd

Function .onInit
    ${IfNot} ${RunningX64}
        MessageBox MB_ICONSTOP "Korvane 需要 64 位 Windows。" /SD IDOK
        Abort
    ${EndIf}
    SetRegView 64
    StrCpy $0 $INSTDIR ; from /D=, which MultiUser would overwrite
    !insertmacro MULTIUSER_INIT
    ${If} $0 != ""
        StrCpy $INSTDIR $0
    ${EndIf}
    ; Silently, all users stay the default: without /CurrentUser and without
    ; an installation of its own, a user who is no administrator gets an
    ; error rather than an installation nobody else sees.
    ${If} ${Silent}
    ${AndIf} $MultiUser.InstallMode == "CurrentUser"
        ${GetParameters} $1
        ${StrStr} $1 $1 "/CurrentUser"
        ReadRegStr $2 HKCU "${UNINSTALL_KEY}" "InstallLocation"
        ${If} $1 == ""
        ${AndIf} $2 == ""
            MessageBox MB_OK|MB_ICONSTOP \
                "为本机所有用户安装 Korvane 需要管理员权限；只为自己安装，请加 /CurrentUser。" /SD IDOK
            Call KorvaneFail
        ${EndIf}
    ${EndIf}
    ; Where the choice page is not shown, the choice is checked here.
    ${If} ${Silent}
        Call KorvaneModeChosen
    ${ElseIf} $MultiUser.Privileges != "Admin"
    ${AndIf} $MultiUser.Privileges != "Power"
        Call KorvaneModeChosen
    ${EndIf}
FunctionEnd

Section "Korvane"
    Push $INSTDIR
    Call KorvaneWaitClosed
    ; The installation of the chosen mode, upgraded in place; for all users,
    ; also the current user's own, which this one replaces.
    StrCpy $0 "HKCU"
    ${If} $MultiUser.InstallMode == "AllUsers"
        Call KorvaneReplace
        StrCpy $0 "HKLM"
    ${EndIf}
    Call KorvaneReplace

    !insertmacro KorvaneInstallFiles
    WriteUninstaller "$INSTDIR\uninstall.exe"
    CreateShortcut "$SMPROGRAMS\Korvane.lnk" "$INSTDIR\korvane.exe" "" \
        "$INSTDIR\korvane.exe" 0 SW_SHOWNORMAL "" "压力容器类别计算器"
    ; The guide, a page of the deploy folder, opens in the user's browser.
    CreateShortcut "$SMPROGRAMS\${GUIDE_SHORTCUT}" "$INSTDIR\guide.html"
    ; SHCTX: HKLM for all users, HKCU for the current user.
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT_NAME}"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "Korvane"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\korvane.exe,0"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "EstimatedSize" ${SIZE_KB}
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; The uninstaller's mode is that of the entry that names its folder, not
; MultiUser's guess from the account: an administrator may have both.
Function un.onInit
    SetRegView 64
    StrCpy $R0 $INSTDIR ; this uninstaller's folder
    !insertmacro MULTIUSER_UNINIT
    StrCpy $INSTDIR $R0
    ReadRegStr $0 HKCU "${UNINSTALL_KEY}" "InstallLocation"
    ReadRegStr $1 HKLM "${UNINSTALL_KEY}" "InstallLocation"
    ${If} $0 == $INSTDIR
        Call un.MultiUser.InstallMode.CurrentUser
    ${ElseIf} $1 == $INSTDIR
        ${If} $MultiUser.Privileges != "Admin"
        ${AndIf} $MultiUser.Privileges != "Power"
            MessageBox MB_OK|MB_ICONSTOP "卸载为所有用户安装的 Korvane 需要管理员权限。" /SD IDOK
            Call un.KorvaneFail
        ${EndIf}
        Call un.MultiUser.InstallMode.AllUsers
    ${EndIf}
    StrCpy $INSTDIR $R0
FunctionEnd

Section "Uninstall"
    Push $INSTDIR
    Call un.KorvaneWaitClosed
    !insertmacro KorvaneUninstallFiles
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"
    ; The shortcut and entry only if they are this installation's.
    ReadRegStr $0 SHCTX "${UNINSTALL_KEY}" "InstallLocation"
    ${If} $0 == $INSTDIR
        Delete "$SMPROGRAMS\Korvane.lnk"
        Delete "$SMPROGRAMS\${GUIDE_SHORTCUT}"
        DeleteRegKey SHCTX "${UNINSTALL_KEY}"
    ${EndIf}
SectionEnd
