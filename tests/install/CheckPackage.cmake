# The Debian package as CPack is configured to make it: stripped programs, library dependencies
# computed by dpkg-shlibdeps, and the fonts the views and the printed page need.
#   cmake -DCPACK_CONFIG=.../CPackConfig.cmake -P CheckPackage.cmake
include(${CPACK_CONFIG})
foreach(pair "CPACK_GENERATOR=DEB" "CPACK_PACKAGE_NAME=veltrano" "CPACK_PACKAGING_INSTALL_PREFIX=/usr"
             "CPACK_STRIP_FILES=ON" "CPACK_DEBIAN_PACKAGE_SHLIBDEPS=ON")
  string(REPLACE "=" ";" pair "${pair}")
  list(GET pair 0 name)
  list(GET pair 1 value)
  if(NOT "${${name}}" STREQUAL "${value}")
    message(SEND_ERROR "${name} is '${${name}}', not '${value}'")
  endif()
endforeach()
foreach(font fonts-liberation2 fonts-dejavu-core)
  if(NOT CPACK_DEBIAN_PACKAGE_DEPENDS MATCHES "(^|, )${font}(,|$)")
    message(SEND_ERROR "the package does not depend on ${font}: '${CPACK_DEBIAN_PACKAGE_DEPENDS}'")
  endif()
endforeach()
# Without these tools dpkg-shlibdeps is missing or computes nothing, and the package depends on no Qt.
foreach(tool dpkg-shlibdeps file)
  find_program(found_${tool} ${tool})
  if(NOT found_${tool})
    message(SEND_ERROR "${tool} is not installed: CPack would write no library dependencies (tools/setup.sh installs it)")
  endif()
endforeach()
