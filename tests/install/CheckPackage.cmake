# Makes the Debian package of the build with CPack (a few seconds) and checks what apt and users get:
# library dependencies computed by dpkg-shlibdeps (which needs dpkg-dev and `file`, or CPack silently
# writes none), the fonts the views and the printed page are drawn in, and stripped programs.
#   cmake -DBUILD_DIR=... -DWORK_DIR=... -P CheckPackage.cmake
file(REMOVE_RECURSE ${WORK_DIR})
execute_process(COMMAND cpack -G DEB --config ${BUILD_DIR}/CPackConfig.cmake -B ${WORK_DIR}
                RESULT_VARIABLE status OUTPUT_VARIABLE log ERROR_VARIABLE log)
file(GLOB package ${WORK_DIR}/veltrano_*.deb)
if(NOT status EQUAL 0 OR NOT package)
  message(FATAL_ERROR "cpack made no package (${status}):\n${log}")
endif()

execute_process(COMMAND dpkg-deb -f ${package} Depends OUTPUT_VARIABLE depends OUTPUT_STRIP_TRAILING_WHITESPACE)
foreach(dependency fonts-liberation2 fonts-dejavu-core libqt6core6 libqt6gui6 libqt6widgets6 libqt6printsupport6
                   libstdc\\+\\+6 libc6)
  if(NOT depends MATCHES "(^|, )${dependency}( |,|$)")
    message(SEND_ERROR "Depends lacks ${dependency}: '${depends}'")
  endif()
endforeach()

execute_process(COMMAND dpkg-deb -x ${package} ${WORK_DIR}/contents)
foreach(program veltrano veltrano-cli)
  execute_process(COMMAND file -b ${WORK_DIR}/contents/usr/bin/${program} OUTPUT_VARIABLE kind)
  if(NOT kind MATCHES ", stripped")
    message(SEND_ERROR "usr/bin/${program} is not stripped: ${kind}")
  endif()
endforeach()
