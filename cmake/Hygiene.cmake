# Results must be the same on every platform: no fused multiply-add contraction, no fast-math.
foreach(flags_var CMAKE_CXX_FLAGS CMAKE_CXX_FLAGS_DEBUG CMAKE_CXX_FLAGS_RELEASE
                  CMAKE_CXX_FLAGS_RELWITHDEBINFO CMAKE_CXX_FLAGS_MINSIZEREL)
  if("${${flags_var}}" MATCHES "-ffast-math|-Ofast|-funsafe-math-optimizations")
    message(FATAL_ERROR "${flags_var} holds '${${flags_var}}': fast-math changes the model's results and is refused.")
  endif()
endforeach()

# Warnings and floating-point rules for our own targets. Warnings stop the build only where we choose
# (the presets and CI); a packager's plain configure builds with any compiler's new warnings.
option(VELTRANO_WARNINGS_AS_ERRORS "Treat compiler warnings as errors" OFF)
function(veltrano_target_defaults target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -ffp-contract=off)
  if(VELTRANO_WARNINGS_AS_ERRORS)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()

# Registers a GoogleTest executable with CTest, one test per case, each with a time limit as a last guard.
include(GoogleTest)
function(veltrano_add_gtest target)
  gtest_discover_tests(${target}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 60
    PROPERTIES TIMEOUT 300 ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endfunction()
