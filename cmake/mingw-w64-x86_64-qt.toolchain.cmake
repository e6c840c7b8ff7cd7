# Cross build of the desktop program for 64-bit Windows: the toolchain of the Qt-free build, with Qt and
# NLopt for Windows, built from Debian's sources by tools/build-qt-windows.sh and
# tools/build-nlopt-windows.sh, among the places packages are found. VELTRANO_WINDOWS_PREFIXES names
# those two prefixes; left empty, the scripts are asked where they put them (they must have run).
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-x86_64.toolchain.cmake)

# The Qt DLLs use the compiler's runtime DLLs; the programs use the same ones (shipped beside them), so
# the process holds one C++ runtime, not a second one linked into each program.
set(CMAKE_EXE_LINKER_FLAGS_INIT "")

if(NOT VELTRANO_WINDOWS_PREFIXES)
  set(prefixes "")
  foreach(script build-qt-windows.sh build-nlopt-windows.sh)
    execute_process(COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/../tools/${script} --prefix
                    OUTPUT_VARIABLE prefix ERROR_VARIABLE problem RESULT_VARIABLE failed
                    OUTPUT_STRIP_TRAILING_WHITESPACE)
    if(failed)
      message(FATAL_ERROR "${problem}")
    endif()
    list(APPEND prefixes ${prefix})
  endforeach()
  set(VELTRANO_WINDOWS_PREFIXES "${prefixes}" CACHE STRING "The Qt and NLopt prefixes for Windows")
endif()
list(APPEND CMAKE_FIND_ROOT_PATH ${VELTRANO_WINDOWS_PREFIXES})
# The checks CMake compiles on the way see the same places without asking the scripts again.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES VELTRANO_WINDOWS_PREFIXES)
