# What a Windows program of this build needs beside it, in one list for the build's bin/ folder (where the
# programs and the tests run, under Wine here) and for the installed bin/ folder (the setup program's):
# the Qt DLLs and the plugins they load, the compiler's runtime DLLs, and the fonts. The offscreen
# platform (veltrano-cli's drawing commands, the tests) reads fonts only from a folder, fonts/ beside the
# program (render/resources/ShippedFonts.h). Debian's Liberation and DejaVu fonts are the ones the Linux
# package depends on.

set(windows_qt_modules Core Gui Widgets PrintSupport)
if(TARGET Qt6::Svg)
  list(APPEND windows_qt_modules Svg)
endif()
# folder under bin/ and the plugin targets in it
set(windows_plugin_folders platforms styles)
set(windows_plugins_platforms Qt6::QWindowsIntegrationPlugin Qt6::QOffscreenIntegrationPlugin)
set(windows_plugins_styles Qt6::QWindowsVistaStylePlugin)

set(windows_runtime_dlls "")
foreach(dll libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
  execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll}
                  OUTPUT_VARIABLE path OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(NOT IS_ABSOLUTE "${path}" OR NOT EXISTS "${path}")
    message(FATAL_ERROR "${CMAKE_CXX_COMPILER} does not know where ${dll} is")
  endif()
  get_filename_component(path "${path}" REALPATH)
  list(APPEND windows_runtime_dlls ${path})
endforeach()

set(windows_fonts "")
foreach(pattern liberation2/Liberation*.ttf dejavu/DejaVuSans.ttf dejavu/DejaVuSans-Bold.ttf
                dejavu/DejaVuSansMono.ttf dejavu/DejaVuSansMono-Bold.ttf dejavu/DejaVuSerif.ttf
                dejavu/DejaVuSerif-Bold.ttf)
  file(GLOB found /usr/share/fonts/truetype/${pattern})
  if(NOT found)
    message(FATAL_ERROR "/usr/share/fonts/truetype/${pattern} is missing: run tools/setup.sh")
  endif()
  list(APPEND windows_fonts ${found})
endforeach()

# The licences that come with what is shipped: Qt's and NLopt's (with the notes naming their Debian
# source packages), the fonts', the compiler runtime's.
get_filename_component(windows_qt_prefix "${Qt6_DIR}/../../.." ABSOLUTE)
set(windows_licence_folders ${windows_qt_prefix}/licenses/)
if(TARGET NLopt::nlopt)
  get_filename_component(nlopt_prefix "${NLopt_DIR}/../../.." ABSOLUTE)
  list(APPEND windows_licence_folders ${nlopt_prefix}/licenses/)
endif()
set(windows_licence_files
    fonts-liberation2 /usr/share/doc/fonts-liberation2/copyright
    fonts-dejavu-core /usr/share/doc/fonts-dejavu-core/copyright
    gcc-mingw-w64 /usr/share/doc/gcc-mingw-w64-base/copyright
    mingw-w64 /usr/share/doc/mingw-w64-common/copyright)

# The build's bin/: the DLLs of every module the programs and tests link (Qt Test for the ui tests), the
# plugins, the fonts; copied when they change.
set(build_qt_modules ${windows_qt_modules})
if(VELTRANO_BUILD_TESTS AND VELTRANO_BUILD_UI)
  find_package(Qt6 REQUIRED COMPONENTS Test)
  list(APPEND build_qt_modules Test)
endif()
set(copy_commands "")
foreach(module ${build_qt_modules})
  list(APPEND copy_commands COMMAND ${CMAKE_COMMAND} -E copy_if_different $<TARGET_FILE:Qt6::${module}>
                                    ${CMAKE_RUNTIME_OUTPUT_DIRECTORY})
endforeach()
foreach(folder ${windows_plugin_folders})
  set(files "")
  foreach(plugin ${windows_plugins_${folder}})
    list(APPEND files $<TARGET_FILE:${plugin}>)
  endforeach()
  list(APPEND copy_commands
       COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/${folder}
       COMMAND ${CMAKE_COMMAND} -E copy_if_different ${files} ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/${folder})
endforeach()
add_custom_target(windows-runtime ALL
  ${copy_commands}
  COMMAND ${CMAKE_COMMAND} -E copy_if_different ${windows_runtime_dlls} ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/fonts
  COMMAND ${CMAKE_COMMAND} -E copy_if_different ${windows_fonts} ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/fonts
  COMMENT "Putting the Qt and runtime DLLs, Qt's plugins and the fonts beside the programs"
  VERBATIM)

# The installed tree: bin/ as above without Qt Test, share/veltrano/ with the data, licenses/.
function(veltrano_install_windows_runtime)
  foreach(module ${windows_qt_modules})
    install(FILES $<TARGET_FILE:Qt6::${module}> DESTINATION bin)
  endforeach()
  foreach(folder ${windows_plugin_folders})
    foreach(plugin ${windows_plugins_${folder}})
      install(FILES $<TARGET_FILE:${plugin}> DESTINATION bin/${folder})
    endforeach()
  endforeach()
  install(FILES ${windows_runtime_dlls} DESTINATION bin)
  install(FILES ${windows_fonts} DESTINATION bin/fonts)
  install(DIRECTORY ${windows_licence_folders} DESTINATION licenses)
  while(windows_licence_files)
    list(POP_FRONT windows_licence_files package file)
    install(FILES ${file} DESTINATION licenses/${package})
  endwhile()
endfunction()
