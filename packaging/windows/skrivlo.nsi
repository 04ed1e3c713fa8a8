; Skrivlo's installer for Windows, in Danish. Made by packaging/windows/build.sh with
;   makensis -DVERSION=1.02 -DDIST=<deployed folder> -DICON=<skrivlo64.ico> -DLICENSE=<LICENSE> -DOUTFILE=<setup.exe>
; For IT: "/S" installs without a question, "/D=C:\Skrivlo" (last) chooses the folder, and
; "/KLASSEMAPPE=\\server\klasse" sets the class folder for every user of the PC, in
; %ProgramData%\Skrivlo\Skrivlo.ini (key klassemappe); "/KLASSEMAPPE=" removes it again.
; The uninstaller removes the program and its Start-menu entries; the learners' results and
; that setting stay.

; A 64-bit installer for a 64-bit program: it also runs where Wine has no 32-bit part.
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin
ManifestDPIAware true

!include MUI2.nsh
!include FileFunc.nsh
!include WordFunc.nsh
!include LogicLib.nsh

!define KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Skrivlo"
!define MENU "$SMPROGRAMS\Skrivlo"
; $APPDATA is %ProgramData% once SetShellVarContext is "all", as it is in every section.
!define SETTINGS "$APPDATA\Skrivlo\Skrivlo.ini"

Name "Skrivlo"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Skrivlo"
InstallDirRegKey HKLM "${KEY}" "InstallLocation"
BrandingText "Skrivlo ${VERSION}"
!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_LICENSE "${LICENSE}"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\skrivlo.exe"
!define MUI_FINISHPAGE_RUN_PARAMETERS "--dokumenter"
!define MUI_FINISHPAGE_RUN_NOTCHECKED
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Danish"

VIProductVersion "${VERSION}.0.0"
VIAddVersionKey /LANG=${LANG_DANISH} "ProductName" "Skrivlo"
VIAddVersionKey /LANG=${LANG_DANISH} "FileDescription" "Installation af Skrivlo"
VIAddVersionKey /LANG=${LANG_DANISH} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_DANISH} "LegalCopyright" "GNU GPL version 3"

Function .onInit
    SetRegView 64
FunctionEnd

Function un.onInit
    SetRegView 64
FunctionEnd

; $0 in, $0 out: a value as Qt's settings read it from an INI file. Backslash and quote are
; escaped, letters beyond ASCII are written as \x<hex> (a hex digit right after one as well,
; as Qt does), and the whole is quoted, so a comma does not make a list.
Function QtIniValue
    Push $1
    Push $2
    Push $3
    Push $4
    Push $5
    Push $6
    StrCpy $1 ""
    StrCpy $2 0
    StrCpy $5 0 ; after an \x escape
    ${Do}
        StrCpy $3 $0 1 $2
        ${If} $3 == ""
            ${Break}
        ${EndIf}
        System::Call "*(&t2 r3)p.r4"
        System::Call "*$4(&i2 .r3)"
        System::Free $4
        StrCpy $6 0
        ${If} $3 >= 48
        ${AndIf} $3 <= 57
            StrCpy $6 1
        ${ElseIf} $3 >= 65
        ${AndIf} $3 <= 70
            StrCpy $6 1
        ${ElseIf} $3 >= 97
        ${AndIf} $3 <= 102
            StrCpy $6 1
        ${EndIf}
        ${If} $5 = 1
        ${AndIf} $6 = 1
            IntFmt $4 "\x%x" $3
        ${ElseIf} $3 >= 128
            IntFmt $4 "\x%x" $3
            StrCpy $5 1
        ${ElseIf} $3 = 92
            StrCpy $4 "\\"
            StrCpy $5 0
        ${ElseIf} $3 = 34
            StrCpy $4 '\"'
            StrCpy $5 0
        ${Else}
            StrCpy $4 $0 1 $2
            StrCpy $5 0
        ${EndIf}
        StrCpy $1 "$1$4"
        IntOp $2 $2 + 1
    ${Loop}
    StrCpy $0 '"$1"'
    Pop $6
    Pop $5
    Pop $4
    Pop $3
    Pop $2
    Pop $1
FunctionEnd

Section "Skrivlo"
    SetShellVarContext all
    SetOutPath "$INSTDIR"
    File /r "${DIST}\*"
    WriteUninstaller "$INSTDIR\Afinstaller Skrivlo.exe"

    ; The working folder of each entry is the program's; the test and the recording mode keep
    ; their files in Documents\Skrivlo, which every user may write.
    CreateDirectory "${MENU}"
    CreateShortCut "${MENU}\Skrivlo.lnk" "$INSTDIR\skrivlo.exe" "--dokumenter" "$INSTDIR\skrivlo.exe" 0 \
        SW_SHOWNORMAL "" "Diktat til trinindplacering"
    CreateShortCut "${MENU}\Skrivlo – indtal optagelser.lnk" "$INSTDIR\skrivlo-indtal.exe" "--dokumenter" \
        "$INSTDIR\skrivlo.exe" 0 SW_SHOWNORMAL "" "Læreren indtaler diktaternes sætninger"
    CreateShortCut "${MENU}\Skrivlo – resultater.lnk" "$INSTDIR\skrivlo-resultater.exe" "--dokumenter" \
        "$INSTDIR\skrivlo.exe" 0 SW_SHOWNORMAL "" "Klassens resultater"

    WriteRegStr HKLM "${KEY}" "DisplayName" "Skrivlo"
    WriteRegStr HKLM "${KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${KEY}" "Publisher" "The Skrivlo developers"
    WriteRegStr HKLM "${KEY}" "DisplayIcon" "$INSTDIR\skrivlo.exe"
    WriteRegStr HKLM "${KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${KEY}" "UninstallString" '"$INSTDIR\Afinstaller Skrivlo.exe"'
    WriteRegStr HKLM "${KEY}" "QuietUninstallString" '"$INSTDIR\Afinstaller Skrivlo.exe" /S'
    WriteRegDWORD HKLM "${KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${KEY}" "NoRepair" 1
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    WriteRegDWORD HKLM "${KEY}" "EstimatedSize" $0

    ${GetParameters} $R0
    ; The option quoted whole, as programs quote an argument with spaces, becomes the form
    ; typed by hand: /KLASSEMAPPE="\\server\klasse 3b".
    ${WordReplace} $R0 '"/KLASSEMAPPE=' '/KLASSEMAPPE="' "+" $R0
    ClearErrors
    ${GetOptions} $R0 "/KLASSEMAPPE=" $0
    ${IfNot} ${Errors}
        ${If} $0 == ""
            DeleteINIStr "${SETTINGS}" "General" "klassemappe"
        ${Else}
            CreateDirectory "$APPDATA\Skrivlo"
            Call QtIniValue
            WriteINIStr "${SETTINGS}" "General" "klassemappe" $0
        ${EndIf}
    ${EndIf}
SectionEnd

Section "Uninstall"
    SetShellVarContext all
    Delete "${MENU}\Skrivlo.lnk"
    Delete "${MENU}\Skrivlo – indtal optagelser.lnk"
    Delete "${MENU}\Skrivlo – resultater.lnk"
    RMDir "${MENU}"
    ; Only what the installer put there: a folder someone chose may hold other things.
    !include "${FILELIST}"
    Delete "$INSTDIR\Afinstaller Skrivlo.exe"
    RMDir "$INSTDIR"
    DeleteRegKey HKLM "${KEY}"
SectionEnd
