option(BUILD_TESTING "Build the test suite" ON)
option(PELIX_BENCHMARKS "Build the benchmarks in bench/" OFF)
option(PELIX_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
option(PELIX_LIBFUZZER "Build the fuzz harnesses with libFuzzer (needs clang)" OFF)
option(PELIX_WERROR "Treat warnings as errors" OFF)

find_program(CCACHE_PROGRAM ccache)
if(CCACHE_PROGRAM)
  set(CMAKE_C_COMPILER_LAUNCHER ${CCACHE_PROGRAM})
  set(CMAKE_CXX_COMPILER_LAUNCHER ${CCACHE_PROGRAM})
endif()

add_library(pelix_warnings INTERFACE)
target_compile_options(pelix_warnings INTERFACE -Wall -Wextra $<$<BOOL:${PELIX_WERROR}>:-Werror>)

if(PELIX_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()

# Small helper so every deliverable states its warnings the same way.
function(pelix_target_defaults target)
  target_link_libraries(${target} PRIVATE pelix_warnings)
endfunction()

if(PELIX_LIBFUZZER)
  # Coverage instrumentation for everything the fuzz harness reaches.
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()
