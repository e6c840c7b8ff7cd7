# The icon file the Windows programs carry (packaging/windows/veltrano.ico) is kept in the sources, as
# the Windows build cannot run make-icons: it must be what make-icons draws today.
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${DRAWN} ${KEPT} RESULT_VARIABLE differ)
if(differ)
  message(FATAL_ERROR "${KEPT} is not what make-icons draws: copy ${DRAWN} over it")
endif()
