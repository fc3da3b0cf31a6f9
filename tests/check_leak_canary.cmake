# Runs the leak canary (tests/leak_canary.cpp) and fails unless LeakSanitizer reported the
# object it loses on purpose, with the canary's own frame in the stack, and exited non-zero.
execute_process(COMMAND ${CANARY} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
set(all "${out}${err}")
message("${all}")
if(rc EQUAL 0)
  message(FATAL_ERROR "The leak canary exited with 0: LeakSanitizer missed its leak.")
endif()
foreach(expected "ERROR: LeakSanitizer: detected memory leaks" "loseObject" "leak_canary.cpp")
  string(FIND "${all}" "${expected}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "The leak canary's report lacks \"${expected}\": a suppression hides "
                        "the project's own leaks, or LeakSanitizer did not run.")
  endif()
endforeach()
# Qt's platform start-up leaks are suppressed, so the screen must not be in the report.
string(FIND "${all}" "in QScreen::QScreen" at)
if(NOT at EQUAL -1)
  message(FATAL_ERROR "Qt's offscreen start-up leak was reported: tests/lsan.supp was not applied.")
endif()
