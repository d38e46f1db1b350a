# cmake -DCV_SOURCE_DIR=<source root> -DCV_WORK=<scratch folder> -P layer_check_test.cmake
# The layer check run over small trees laid out like the program's, with the
# program's own layer table: each case names the files, what they include,
# and the complaint expected (empty: the check passes).
cmake_minimum_required(VERSION 3.25)
set(checker ${CV_SOURCE_DIR}/cmake/check_layers.cmake)

# case name | file=included, file=included ... | expected message (regular expression), "" for a pass
set(cases
  "storage includes a dialog model|config/inifun.h=config/options_dialog.h,config/options_dialog.h=|config/inifun.h \\(storage\\) includes config/options_dialog.h \\(models\\)"
  "engine includes the registry layer|clean/allerase.cpp=config/regfun.h,config/regfun.h=|"
  "a model includes a view|keep/domain_keep_window.cpp=keep/domain_keep_window_win.h,keep/domain_keep_window_win.h=|keep/domain_keep_window.cpp \\(models\\) includes keep/domain_keep_window_win.h \\(views\\)"
  "the engine includes the main window's model|clean/clean_run.cpp=app/main_model.h,app/main_model.h=|clean/clean_run.cpp \\(engine\\) includes app/main_model.h \\(models\\)"
  "a view includes the toolkit and a program's entry|ui/look_win.cpp=ui/controls_win.h,ui/controls_win.h=,app/main_window_win.cpp=app/winmain_win.cpp,app/winmain_win.cpp=|app/main_window_win.cpp \\(views\\) includes app/winmain_win.cpp \\(programs\\)"
  "the platform includes the toolkit|platform/text.cpp=ui/window_names.h,ui/window_names.h=|platform/text.cpp \\(platform\\) includes ui/window_names.h \\(views\\)"
  "a header outside the tree is no layer's|finder/file_search.cpp=gtest/gtest.h|"
  "a file of no layer|ui/readme.h=|ui/readme.h: belongs to no layer"
)

set(failures 0)
foreach(entry IN LISTS cases)
  string(REPLACE "|" ";" parts "${entry}")
  list(GET parts 0 name)
  list(GET parts 1 files)
  list(GET parts 2 expected)
  string(REPLACE "," ";" files "${files}")
  set(root ${CV_WORK}/layer_case)
  file(REMOVE_RECURSE ${root})
  foreach(spec IN LISTS files)
    string(REGEX REPLACE "=.*" "" path "${spec}")
    string(REGEX REPLACE "^[^=]*=" "" included "${spec}")
    set(text "")
    if(included)
      set(text "#include \"${included}\"\n")
    endif()
    file(WRITE ${root}/${path} "${text}")
  endforeach()
  execute_process(COMMAND ${CMAKE_COMMAND} -DCV_ROOT=${root} -P ${checker}
                  RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(expected STREQUAL "")
    if(NOT result EQUAL 0)
      message(SEND_ERROR "${name}: the check failed a tree that keeps the layers:\n${out}")
      math(EXPR failures "${failures} + 1")
    endif()
  elseif(result EQUAL 0 OR NOT out MATCHES "${expected}")
    message(SEND_ERROR "${name}: expected a failure matching '${expected}', got ${result}:\n${out}")
    math(EXPR failures "${failures} + 1")
  endif()
endforeach()
file(REMOVE_RECURSE ${CV_WORK}/layer_case)

# The program's own tree keeps its layers.
execute_process(COMMAND ${CMAKE_COMMAND} -DCV_ROOT=${CV_SOURCE_DIR} -P ${checker}
                RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT result EQUAL 0)
  message(SEND_ERROR "the source tree breaks its layers:\n${out}")
  math(EXPR failures "${failures} + 1")
endif()
if(failures GREATER 0)
  message(FATAL_ERROR "${failures} layer check case(s) failed")
endif()
