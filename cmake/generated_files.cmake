# Files made at build time and shipped beside the exe, from this project's
# own generators and sources.
find_package(Python3 REQUIRED COMPONENTS Interpreter)

set(CV_MESSAGE_SOUND ${CMAKE_BINARY_DIR}/Sounds/Message.wav)
add_custom_command(OUTPUT ${CV_MESSAGE_SOUND}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/Sounds
  COMMAND Python3::Interpreter ${CMAKE_SOURCE_DIR}/tools/make_chime.py ${CV_MESSAGE_SOUND}
  DEPENDS ${CMAKE_SOURCE_DIR}/tools/make_chime.py
  COMMENT "Making the pop-up's sound")
add_custom_target(cv_generated_files ALL DEPENDS ${CV_MESSAGE_SOUND})
