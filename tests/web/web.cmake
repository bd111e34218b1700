# SPDX-FileCopyrightText: 2026 The Luminaku developers
# SPDX-License-Identifier: MIT
# Built for a browser, the test is the page played in Debian's headless Chromium. Debian's
# python3, which python3-websocket and python3-xlib install into.
find_program(LUMINAKU_PYTHON python3 PATHS /usr/bin NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH
  REQUIRED)
add_test(NAME web_chromium
  COMMAND ${LUMINAKU_PYTHON} ${CMAKE_CURRENT_LIST_DIR}/web_test.py ${CMAKE_BINARY_DIR}/site)
set_tests_properties(web_chromium PROPERTIES LABELS web TIMEOUT 300)
