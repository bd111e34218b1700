# SPDX-FileCopyrightText: 2026 The Luminaku developers
# SPDX-License-Identifier: MIT
# A libFuzzer target per reader of data from outside, built by the `fuzz` preset (clang, the
# address and undefined-behaviour sanitizers) and run by scripts/fuzz.sh from the corpus beside
# each one.
if(NOT LUMINAKU_FUZZ)
  return()
endif()
foreach(reader commandline kdeglobals portal sysinfo cp932)
  add_executable(fuzz_${reader} ${CMAKE_CURRENT_LIST_DIR}/fuzz_${reader}.cpp)
  target_compile_options(fuzz_${reader} PRIVATE -fsanitize=fuzzer)
  target_link_options(fuzz_${reader} PRIVATE -fsanitize=fuzzer)
  target_link_libraries(fuzz_${reader} PRIVATE test_support)
  set_target_properties(fuzz_${reader} PROPERTIES AUTOMOC OFF)
endforeach()
