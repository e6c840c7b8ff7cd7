; The setup program of the Windows programs, made by tools/package-windows.sh with NSIS from the tree that
; `cmake --install` of the windows-gui build gives. It takes on the command line:
;   VERSION  the program's version (4.1)
;   STAGE    that installed tree: bin/, share/veltrano/, licenses/
;   ICON     the program's icon (veltrano.ico beside this file)
;   OUTFILE  the setup program to write
; It installs for all users into Program Files (64-bit: the 64-bit registry view), the data beside bin\
; where the programs look for them, a Start menu entry, the .cig file type, an entry in Apps & Features
; and uninstall.exe. /S installs silently, and uninstall.exe /S removes it all silently.

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin

!include "MUI2.nsh"

!define PRODUCT "veltrano"
!define PUBLISHER "korbinel"
!define PROGID "korbinel.veltrano.cig"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT}"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\${PRODUCT}"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_FINISHPAGE_RUN "$INSTDIR\bin\veltrano.exe"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

VIProductVersion "${VERSION}.0.0"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileDescription" "${PRODUCT} ${VERSION} setup"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductVersion" "${VERSION}"

Function .onInit
  SetRegView 64
  SetShellVarContext all
FunctionEnd

Function un.onInit
  SetRegView 64
  SetShellVarContext all
FunctionEnd

; SHChangeNotify(SHCNE_ASSOCCHANGED): Explorer shows the file type's new icon and program at once.
!macro TellExplorerTheFileTypesChanged
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
!macroend

Section "Install"
  ; A new version replaces the old one's files: what it no longer ships is not left behind.
  RMDir /r "$INSTDIR\bin"
  RMDir /r "$INSTDIR\share\veltrano"
  RMDir /r "$INSTDIR\licenses"

  SetOutPath "$INSTDIR\bin"
  File /r "${STAGE}/bin/*.*"
  SetOutPath "$INSTDIR\share\veltrano"
  File /r "${STAGE}/share/veltrano/*.*"
  SetOutPath "$INSTDIR\licenses"
  File /r "${STAGE}/licenses/*.*"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  ; The working folder of the Start menu entry is bin\; the data are found beside it all the same.
  SetOutPath "$INSTDIR\bin"
  CreateShortcut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\bin\veltrano.exe" "" "$INSTDIR\bin\veltrano.exe" 0

  ; .cig files open in the program as `veltrano FILE` opens them. Another program that had the type
  ; keeps a place in Open with.
  WriteRegStr HKLM "Software\Classes\${PROGID}" "" "Cigarette design"
  WriteRegStr HKLM "Software\Classes\${PROGID}\DefaultIcon" "" "$INSTDIR\bin\veltrano.exe,0"
  WriteRegStr HKLM "Software\Classes\${PROGID}\shell\open\command" "" '"$INSTDIR\bin\veltrano.exe" "%1"'
  WriteRegStr HKLM "Software\Classes\.cig" "" "${PROGID}"
  WriteRegStr HKLM "Software\Classes\.cig\OpenWithProgids" "${PROGID}" ""
  !insertmacro TellExplorerTheFileTypesChanged

  ; Apps & Features.
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT} ${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\bin\veltrano.exe,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  SectionGetSize 0 $0
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section "Uninstall"
  Delete "$SMPROGRAMS\${PRODUCT}.lnk"

  ; The file type: the program's own class always; .cig itself only while it still names that class.
  DeleteRegKey HKLM "Software\Classes\${PROGID}"
  DeleteRegValue HKLM "Software\Classes\.cig\OpenWithProgids" "${PROGID}"
  DeleteRegKey /ifempty HKLM "Software\Classes\.cig\OpenWithProgids"
  ReadRegStr $0 HKLM "Software\Classes\.cig" ""
  StrCmp $0 "${PROGID}" 0 +2
    DeleteRegValue HKLM "Software\Classes\.cig" ""
  DeleteRegKey /ifempty HKLM "Software\Classes\.cig"
  !insertmacro TellExplorerTheFileTypesChanged

  DeleteRegKey HKLM "${UNINSTALL_KEY}"

  RMDir /r "$INSTDIR\bin"
  RMDir /r "$INSTDIR\share\veltrano"
  RMDir "$INSTDIR\share"
  RMDir /r "$INSTDIR\licenses"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
SectionEnd
