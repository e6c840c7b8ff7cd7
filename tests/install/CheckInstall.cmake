# Installs the build into DESTDIR (prefix /usr, as the Debian package does) and checks the layout: the
# programs, their data, the desktop integration files, the icons in every size, the man pages. Then
# runs the installed veltrano-cli from an empty folder with no user data: it must find the installed
# coefficients from its own place.
#   cmake -DBUILD_DIR=... -DDESTDIR=... -DAPP_ID=... -P CheckInstall.cmake
file(REMOVE_RECURSE ${DESTDIR})
execute_process(COMMAND ${CMAKE_COMMAND} -E env DESTDIR=${DESTDIR} ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix /usr
                RESULT_VARIABLE status OUTPUT_QUIET)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cmake --install failed (${status})")
endif()

set(usr ${DESTDIR}/usr)
set(id ${APP_ID})
set(expected
  bin/veltrano bin/veltrano-cli
  share/veltrano/models.dat share/veltrano/Startup_cigarette.dat
  share/applications/${id}.desktop
  share/metainfo/${id}.metainfo.xml
  share/mime/packages/${id}.xml
  share/icons/hicolor/scalable/apps/${id}.svg
  share/man/man1/veltrano.1 share/man/man1/veltrano-cli.1)
foreach(path IN LISTS expected)
  if(NOT EXISTS ${usr}/${path})
    message(SEND_ERROR "missing: ${path}")
  endif()
endforeach()
foreach(program veltrano veltrano-cli)
  execute_process(COMMAND test -x ${usr}/bin/${program} RESULT_VARIABLE executable)
  if(NOT executable EQUAL 0)
    message(SEND_ERROR "not executable: bin/${program}")
  endif()
endforeach()

# Each PNG is a square of its folder's size (width and height are the big-endian words at byte 16).
foreach(size 16 24 32 48 64 128 256)
  set(png ${usr}/share/icons/hicolor/${size}x${size}/apps/${id}.png)
  if(NOT EXISTS ${png})
    message(SEND_ERROR "missing: icon of ${size} pixels")
    continue()
  endif()
  file(READ ${png} header LIMIT 24 HEX)
  string(SUBSTRING "${header}" 32 16 dimensions)
  string(SUBSTRING "${dimensions}" 0 8 width_hex)
  string(SUBSTRING "${dimensions}" 8 8 height_hex)
  math(EXPR width "0x${width_hex}")
  math(EXPR height "0x${height_hex}")
  if(NOT width EQUAL size OR NOT height EQUAL size)
    message(SEND_ERROR "icon of ${size} pixels is ${width} x ${height}")
  endif()
endforeach()

# The installed tool from an empty folder, with an empty home and no XDG_DATA_HOME.
set(away ${DESTDIR}/away)
file(MAKE_DIRECTORY ${away})
set(run ${CMAKE_COMMAND} -E env --unset=XDG_DATA_HOME HOME=${away} ${usr}/bin/veltrano-cli)
execute_process(COMMAND ${run} new design.cig WORKING_DIRECTORY ${away} RESULT_VARIABLE status)
execute_process(COMMAND ${run} evaluate design.cig WORKING_DIRECTORY ${away} RESULT_VARIABLE status
                OUTPUT_VARIABLE json ERROR_VARIABLE errors)
if(NOT status EQUAL 0 OR NOT json MATCHES "\"current\"")
  message(SEND_ERROR "installed veltrano-cli evaluate from an empty folder failed (${status}): ${errors}")
endif()
