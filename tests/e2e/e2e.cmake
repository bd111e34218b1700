# SPDX-FileCopyrightText: 2026 The Luminaku developers
# SPDX-License-Identifier: MIT
# The real game on an X display, driven with xdotool; each flow skips without DISPLAY (the test
# command runs ctest under xvfb-run). Debian's python3, which python3-xlib installs into.
# round_portal and round_kde: a round where the desktop's animations are off (a stand-in portal,
# KDE's file).
find_program(LUMINAKU_PYTHON python3 PATHS /usr/bin NO_DEFAULT_PATH REQUIRED)
foreach(flow launch round round_portal round_kde hold destroy)
  string(REPLACE "_" ";" words ${flow})
  add_test(NAME e2e_${flow}
           COMMAND ${LUMINAKU_PYTHON} ${CMAKE_CURRENT_LIST_DIR}/e2e.py $<TARGET_FILE:luminaku> ${words})
  # One display, one game at a time: each flow looks at every window of its game.
  set_tests_properties(e2e_${flow} PROPERTIES LABELS e2e SKIP_RETURN_CODE 77 TIMEOUT 90
                       RESOURCE_LOCK x_display)
endforeach()
# Each arrow held for 30 s.
set_tests_properties(e2e_hold PROPERTIES TIMEOUT 150)
# Windows destroyed from outside, one game each; also run on the sanitizer build, where a use
# after free shows even when it happens not to crash.
set_tests_properties(e2e_destroy PROPERTIES LABELS "e2e;sanitized" TIMEOUT 240 ENVIRONMENT
  LSAN_OPTIONS=suppressions=${CMAKE_CURRENT_LIST_DIR}/lsan.supp:print_suppressions=0)
