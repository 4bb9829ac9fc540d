; The Windows installer (scripts/build-windows.sh runs makensis on it): the zip's files, for the
; current user alone and without administrator rights, in %LOCALAPPDATA%\Programs\Flitmere, with a
; Start-menu shortcut and an entry in Settings > Apps. /S installs and uninstalls silently.
;   makensis -DVERSION=0.1.0 -DFILES=<the zip's top folder> -DOUTFILE=<setup.exe> [-DICON=<.ico>] flitmere.nsi
; Installing over an installation, older or not, first runs its own uninstaller, so that no file of
; an older version stays behind; the uninstaller removes the files it installed, its shortcut and its
; entry, and leaves anything else in the folder where it is.

!ifndef VERSION
    !error "makensis needs -DVERSION, -DFILES and -DOUTFILE"
!endif
!ifndef FILES
    !error "makensis needs -DVERSION, -DFILES and -DOUTFILE"
!endif
!ifndef OUTFILE
    !error "makensis needs -DVERSION, -DFILES and -DOUTFILE"
!endif

; Debian's NSIS makes 64-bit stubs too: 64-bit Windows runs them, and so does a 64-bit-only Wine.
Target amd64-unicode
Unicode true
RequestExecutionLevel user
SetCompressor /SOLID lzma
; Stored file times would make each build's installer differ; installed files get their install time.
SetDateSave off
ManifestDPIAware true

!define APP "Flitmere"
!define PUBLISHER "The Flitmere developers"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${APP}"
!define SHORTCUT "$SMPROGRAMS\${APP}.lnk"

Name "${APP}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\${APP}"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${APP} ${VERSION}"

VIProductVersion "${VERSION}.0"
VIFileVersion "${VERSION}.0"
VIAddVersionKey /LANG=0 "ProductName" "${APP}"
VIAddVersionKey /LANG=0 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "FileDescription" "${APP} ${VERSION} setup"
VIAddVersionKey /LANG=0 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=0 "LegalCopyright" "${PUBLISHER}"

!include "MUI2.nsh"
!include "LogicLib.nsh"
!ifdef ICON
    !define MUI_ICON "${ICON}"
    !define MUI_UNICON "${ICON}"
!endif
!define MUI_FINISHPAGE_RUN "$INSTDIR\flitmere.exe"
!define MUI_FINISHPAGE_RUN_TEXT "Play ${APP} now"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; InstallFiles and UninstallFiles: the folder's files, listed when the installer is made.
!tempfile FILE_LISTS
!system 'sh "${__FILEDIR__}/installer-files.sh" "${FILES}" > "${FILE_LISTS}"' = 0
!include "${FILE_LISTS}"
!delfile "${FILE_LISTS}"

Section "${APP}" Game
    ; An installation already there is uninstalled first, in its own place (_?= keeps the uninstaller
    ; from copying itself away, so ExecWait waits for it), and the uninstaller itself removed after.
    ReadRegStr $0 HKCU "${UNINSTALL_KEY}" "InstallLocation"
    ${If} $0 != ""
    ${AndIf} ${FileExists} "$0\uninstall.exe"
        ExecWait '"$0\uninstall.exe" /S _?=$0'
        Delete "$0\uninstall.exe"
        RMDir "$0"
    ${EndIf}

    !insertmacro InstallFiles
    WriteUninstaller "$INSTDIR\uninstall.exe"

    ; The game sets its own working directory; the shortcut's is its folder all the same.
    SetOutPath "$INSTDIR"
    CreateShortcut "${SHORTCUT}" "$INSTDIR\flitmere.exe" "" "$INSTDIR\flitmere.exe" 0

    SectionGetSize ${Game} $1 ; KiB, as Settings > Apps expects
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${APP}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\flitmere.exe,0"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $1
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
    !insertmacro UninstallFiles
    Delete "$INSTDIR\uninstall.exe"
    Delete "${SHORTCUT}"
    DeleteRegKey HKCU "${UNINSTALL_KEY}"
    ; Only where empty: a file the player put there keeps the folder.
    RMDir "$INSTDIR"
SectionEnd
