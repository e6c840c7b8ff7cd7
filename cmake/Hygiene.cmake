# Results must be the same on every platform: no fused multiply-add contraction, no fast-math.
foreach(flags_var CMAKE_CXX_FLAGS CMAKE_CXX_FLAGS_DEBUG CMAKE_CXX_FLAGS_RELEASE
                  CMAKE_CXX_FLAGS_RELWITHDEBINFO CMAKE_CXX_FLAGS_MINSIZEREL)
  if("${${flags_var}}" MATCHES "-ffast-math|-Ofast|-funsafe-math-optimizations|[/-]fp:fast")
    message(FATAL_ERROR "${flags_var} holds '${${flags_var}}': fast-math changes the model's results and is refused.")
  endif()
endforeach()

# Warnings and floating-point rules for our own targets. Warnings stop the build only where we choose
# (the presets and CI); a packager's plain configure builds with any compiler's new warnings.
option(VELTRANO_WARNINGS_AS_ERRORS "Treat compiler warnings as errors" OFF)
function(veltrano_target_defaults target)
  # For the C++ compiler only: a Windows program's resources go through the resource compiler.
  if(MSVC)
    # /fp:precise contracts nothing into fused multiply-adds; the sources are UTF-8.
    set(flags /W4 /fp:precise /utf-8)
    set(errors_flag /WX)
  else()
    set(flags -Wall -Wextra -ffp-contract=off)
    set(errors_flag -Werror)
  endif()
  if(VELTRANO_WARNINGS_AS_ERRORS)
    list(APPEND flags ${errors_flag})
  endif()
  target_compile_options(${target} PRIVATE "$<$<COMPILE_LANGUAGE:CXX>:${flags}>")
  # windows.h without its min and max macros and without the parts nobody here uses.
  if(WIN32)
    target_compile_definitions(${target} PRIVATE NOMINMAX WIN32_LEAN_AND_MEAN)
  endif()
endfunction()

# Registers a GoogleTest executable with CTest, one test per case, each with a time limit as a last guard.
# PREFIX names a second registration of the same cases, ENVIRONMENT replaces the offscreen platform.
# In a cross build every start goes through the emulator, which is slow to start: there the whole
# executable is one test.
include(GoogleTest)
function(veltrano_add_gtest target)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "PREFIX;ENVIRONMENT" "")
  if(NOT arg_ENVIRONMENT)
    set(arg_ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
  endif()
  if(CMAKE_CROSSCOMPILING)
    add_test(NAME ${arg_PREFIX}${target} COMMAND ${target})
    set_tests_properties(${arg_PREFIX}${target} PROPERTIES TIMEOUT 900 ENVIRONMENT "${arg_ENVIRONMENT}")
  else()
    gtest_discover_tests(${target} TEST_PREFIX "${arg_PREFIX}"
      DISCOVERY_MODE PRE_TEST
      DISCOVERY_TIMEOUT 60
      PROPERTIES TIMEOUT 300 ENVIRONMENT "${arg_ENVIRONMENT}")
  endif()
endfunction()
