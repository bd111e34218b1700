# SPDX-FileCopyrightText: 2026 The Luminaku developers
# SPDX-License-Identifier: MIT
luminaku_add_test(tst_sysinfo unit/tst_sysinfo.cpp)
target_sources(tst_sysinfo PRIVATE support/FakePlatform.h)

# The Windows binding, cross-built with mingw and run under wine, where a real advapi32 answers.
# Skipped (77) when mingw or wine is not installed.
find_program(LUMINAKU_MINGW_CXX x86_64-w64-mingw32-g++-posix)
set(wine_exe "")
if(LUMINAKU_MINGW_CXX)
  set(wine_exe ${CMAKE_CURRENT_BINARY_DIR}/wine_sysinfo.exe)
  file(GLOB wine_headers ${src}/windows/SysInfo.h ${src}/shell/*.h ${src}/shell/platform/*.h)
  set(wine_flags -std=c++20 -O1 -static -Wall -Wextra -Wpedantic)
  if(LUMINAKU_WERROR)
    list(APPEND wine_flags -Werror)
  endif()
  add_custom_command(OUTPUT ${wine_exe}
    COMMAND ${LUMINAKU_MINGW_CXX} ${wine_flags} -I${src} -o ${wine_exe} ${wine_sysinfo_sources}
    DEPENDS ${wine_sysinfo_sources} ${wine_headers}
    COMMENT "Cross-building wine_sysinfo.exe"
    VERBATIM)
  add_custom_target(wine_sysinfo ALL DEPENDS ${wine_exe})
endif()
add_test(NAME wine_sysinfo COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/wine/run_wine_test.sh "${wine_exe}"
  ${CMAKE_CURRENT_SOURCE_DIR}/fuzz/corpus/cp932)
set_tests_properties(wine_sysinfo PROPERTIES LABELS wine SKIP_RETURN_CODE 77 TIMEOUT 120)
