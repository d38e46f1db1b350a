# Files made at build time and shipped beside the exe, from this project's
# own generators and sources.
find_package(Python3 REQUIRED COMPONENTS Interpreter)

set(CV_MESSAGE_SOUND ${CMAKE_BINARY_DIR}/Sounds/Message.wav)
add_custom_command(OUTPUT ${CV_MESSAGE_SOUND}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/Sounds
  COMMAND Python3::Interpreter ${CMAKE_SOURCE_DIR}/tools/make_chime.py ${CV_MESSAGE_SOUND}
  DEPENDS ${CMAKE_SOURCE_DIR}/tools/make_chime.py
  COMMENT "Making the pop-up's sound")
# help.chm from the program's own pages in help/, compiled by chmcmd
# (Debian package fp-utils) in a copy of them, so the source tree stays clean.
find_program(CV_CHMCMD chmcmd REQUIRED)
file(GLOB CV_HELP_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/help/*)
set(CV_HELP_FILE ${CMAKE_BINARY_DIR}/help.chm)
add_custom_command(OUTPUT ${CV_HELP_FILE}
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${CMAKE_BINARY_DIR}/help-pages
  COMMAND ${CMAKE_COMMAND} -E copy_directory ${CMAKE_SOURCE_DIR}/help ${CMAKE_BINARY_DIR}/help-pages
  COMMAND ${CMAKE_COMMAND} -E chdir ${CMAKE_BINARY_DIR}/help-pages ${CV_CHMCMD} --verbosity 0 help.hhp
  COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_BINARY_DIR}/help-pages/help.chm ${CV_HELP_FILE}
  DEPENDS ${CV_HELP_SOURCES}
  COMMENT "Compiling help.chm")
add_custom_target(cv_generated_files ALL DEPENDS ${CV_MESSAGE_SOUND} ${CV_HELP_FILE})
