# End-to-end flows: the real game on an X display, driven with xdotool. They need DISPLAY
# (scripts/test.sh runs ctest under xvfb-run) and skip without one.
find_package(Python3 REQUIRED COMPONENTS Interpreter)

foreach(flow launch round about quit)
  add_test(NAME e2e_${flow}
           COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_LIST_DIR}/flows.py
                   $<TARGET_FILE:luminaku> ${flow})
  set_tests_properties(e2e_${flow} PROPERTIES
    LABELS e2e
    SKIP_RETURN_CODE 77
    TIMEOUT 90
    # The flows import their driver from the source tree; leave no byte code there.
    ENVIRONMENT PYTHONDONTWRITEBYTECODE=1
    # One display, one game at a time: each flow counts the windows on it.
    RESOURCE_LOCK x_display)
endforeach()
