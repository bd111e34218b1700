# SPDX-FileCopyrightText: 2026 The Luminaku developers
# SPDX-License-Identifier: MIT
# The Windows game as a user gets it: the installer (made by cpack beforehand) installed silently
# in a fresh wine prefix, the installed game played through the end-to-end flows, and the
# uninstaller leaving nothing behind.

# Seeds the registry and stands in for the system-information tool, as in the Linux-side check.
add_executable(wine_sysinfo ${wine_sysinfo_sources})
target_include_directories(wine_sysinfo PRIVATE ${src})
target_link_libraries(wine_sysinfo PRIVATE advapi32)
target_link_options(wine_sysinfo PRIVATE -static)

add_test(NAME wine_installed_game
  COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/run_wine_game.sh
          ${LUMINAKU_WINDOWS_INSTALLER} $<TARGET_FILE:wine_sysinfo>
          ${CMAKE_CURRENT_LIST_DIR}/../e2e/e2e.py "${LUMINAKU_TITLE}" ${PROJECT_VERSION}
          "${LUMINAKU_PUBLIC_URL}")
set_tests_properties(wine_installed_game PROPERTIES LABELS wine SKIP_RETURN_CODE 77 TIMEOUT 600)
