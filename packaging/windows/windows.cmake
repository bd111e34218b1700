# SPDX-FileCopyrightText: 2026 The Luminaku developers
# SPDX-License-Identifier: MIT
# The game for Windows: one folder that runs on a machine without Qt or mingw (the game, the Qt
# libraries and plugins it loads, the compiler's runtime, the Japanese Qt translation), and the
# installer and ZIP made of it. Included from packaging/CMakeLists.txt when building for Windows.

# Qt, its plugins and the runtime sit beside the game; qt.conf points Qt at them.
install(FILES windows/qt.conf DESTINATION .)
foreach(_lib Core Gui Widgets)
  install(FILES $<TARGET_FILE:Qt6::${_lib}> DESTINATION .)
endforeach()
install(FILES $<TARGET_FILE:Qt6::QWindowsIntegrationPlugin> DESTINATION platforms)
install(FILES $<TARGET_FILE:Qt6::QWindowsVistaStylePlugin> DESTINATION styles)

# The message boxes' buttons in Japanese; the file is the same on every platform.
find_file(LUMINAKU_QTBASE_JA qtbase_ja.qm
  PATHS /usr/share/qt6/translations ${QT6_INSTALL_PREFIX}/${QT6_INSTALL_TRANSLATIONS}
  NO_CMAKE_FIND_ROOT_PATH REQUIRED)
install(FILES ${LUMINAKU_QTBASE_JA} DESTINATION translations)

# The compiler's runtime, which the Qt libraries need too. Shipped stripped: unstripped,
# libstdc++ alone is over 20 MB.
set(_runtime_dir ${CMAKE_CURRENT_BINARY_DIR}/windows/runtime)
set(_runtime)
foreach(_dll libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
  execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${_dll}
                  OUTPUT_VARIABLE _found OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(NOT IS_ABSOLUTE "${_found}" OR NOT EXISTS "${_found}")
    message(FATAL_ERROR "The compiler does not know where ${_dll} is")
  endif()
  add_custom_command(OUTPUT ${_runtime_dir}/${_dll}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${_runtime_dir}
    COMMAND ${CMAKE_STRIP} --strip-unneeded -o ${_runtime_dir}/${_dll} ${_found}
    DEPENDS ${_found} VERBATIM)
  list(APPEND _runtime ${_runtime_dir}/${_dll})
endforeach()
add_custom_target(luminaku_windows_runtime ALL DEPENDS ${_runtime})
install(FILES ${_runtime} DESTINATION .)

# ---------------------------------------------------------------------------
# `cpack` in the build tree: an NSIS installer and a portable ZIP, both named with the version.

set(CPACK_GENERATOR NSIS ZIP)
set(CPACK_PACKAGE_FILE_NAME luminaku-${PROJECT_VERSION}-win64)
set(LUMINAKU_WINDOWS_INSTALLER ${CMAKE_BINARY_DIR}/${CPACK_PACKAGE_FILE_NAME}.exe
    CACHE INTERNAL "The installer cpack makes, for the tests")
set(LUMINAKU_TITLE "${LUMINAKU_TITLE}" CACHE INTERNAL "The game's title, for the tests")
set(CPACK_PACKAGE_INSTALL_DIRECTORY Luminaku)
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY Luminaku)
# The installer from a template of our own (NSIS.template.in beside this file): the Start menu
# folder under the game's title, with the game, the game with calm flashing, and the uninstaller.
list(PREPEND CMAKE_MODULE_PATH ${CMAKE_CURRENT_LIST_DIR})
set(CPACK_NSIS_DISPLAY_NAME "${LUMINAKU_TITLE}")
set(CPACK_NSIS_PACKAGE_NAME "${LUMINAKU_TITLE}")
set(CPACK_NSIS_MUI_ICON ${LUMINAKU_ICO})
set(CPACK_NSIS_MUI_UNIICON ${LUMINAKU_ICO})
set(CPACK_NSIS_INSTALLED_ICON_NAME luminaku.exe)
set(CPACK_NSIS_URL_INFO_ABOUT "${LUMINAKU_PUBLIC_URL}") # empty: no URLInfoAbout
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
