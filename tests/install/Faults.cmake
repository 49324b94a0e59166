# The checks of an install test go on after a fault, so that one run names them
# all: fail() notes one, end_of_checks() ends the test with their count.
set(failures 0)
macro(fail text)
  message(SEND_ERROR "${text}")
  math(EXPR failures "${failures} + 1")
endmacro()
macro(end_of_checks what)
  if(failures GREATER 0)
    message(FATAL_ERROR "${failures} faults in ${what}")
  endif()
endmacro()
