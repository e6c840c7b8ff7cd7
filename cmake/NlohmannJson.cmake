# nlohmann's header-only JSON library (Debian package nlohmann-json3-dev), which veltrano-cli reads
# JSON with. A cross build takes the host's headers, which serve any target; they are copied into the
# build folder so that the cross compiler is never pointed at the host's /usr/include.
if(CMAKE_CROSSCOMPILING)
  find_path(VELTRANO_HOST_NLOHMANN_JSON nlohmann/json.hpp PATHS /usr/include NO_DEFAULT_PATH
            NO_CMAKE_FIND_ROOT_PATH REQUIRED)
  file(COPY ${VELTRANO_HOST_NLOHMANN_JSON}/nlohmann DESTINATION ${CMAKE_BINARY_DIR}/host-headers)
  add_library(nlohmann_json::nlohmann_json INTERFACE IMPORTED)
  set_target_properties(nlohmann_json::nlohmann_json PROPERTIES
    INTERFACE_INCLUDE_DIRECTORIES ${CMAKE_BINARY_DIR}/host-headers)
else()
  find_package(nlohmann_json 3.10 REQUIRED)
endif()
