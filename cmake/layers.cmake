# The program's layers, lowest first. A source file may include files of its
# own layer and of the layers below, never of one above. It belongs to the
# first layer in CV_LAYER_MATCH_ORDER with a pattern matching its path
# (relative to the source root): the narrow patterns are tried before the
# whole-folder ones. A new folder adds its patterns here.
set(CV_LAYERS platform storage engine models views programs)
set(CV_LAYER_MATCH_ORDER programs views storage models engine platform)

# Interfaces to the system, their two implementations, and the resource ids.
set(CV_LAYER_platform "^platform/" "^resources/")
# The INI and registry layers, the selection file's schema and the data files.
set(CV_LAYER_storage
  "^config/(ini_text|inifun|regfun|selection_schema|data_files|folder_settings|custom_list|schedule_days)\\.")
# The cleaning run and its items, the keep lists, the finder's search and deletion.
set(CV_LAYER_engine "^clean/" "^keep/" "^finder/")
# The windows' rules without a window: main window, dialogs, pop-ups.
set(CV_LAYER_models "^app/" "^config/" "^keep/domain_keep_window\\." "^notify/" "^ui/(layout|mnemonics)\\." "^shredder/" "^regclean/")
# The Win32 windows and the shared toolkit they are built from.
set(CV_LAYER_views "^(ui|app|config|keep|finder|notify|shredder|regclean)/.*_win\\.(h|cpp)$" "^ui/window_names\\.h$"
  "^shredder/shardmill(_res\\.h|\\.rc)$" "^regclean/hivebrush(_res\\.h|\\.rc)$")
# The programs' entry points.
set(CV_LAYER_programs "^app/(winmain|cli_main)_win\\.cpp$" "^shredder/shardmill_main_win\\.cpp$"
  "^regclean/hivebrush_main_win\\.cpp$")

# The folders whose files are checked.
set(CV_LAYER_FOLDERS platform resources config clean keep finder notify ui app shredder regclean)

# The index in CV_LAYERS of the layer a path belongs to, -1 for none.
function(cv_layer_of path out)
  foreach(layer IN LISTS CV_LAYER_MATCH_ORDER)
    foreach(pattern IN LISTS CV_LAYER_${layer})
      if(path MATCHES "${pattern}")
        list(FIND CV_LAYERS ${layer} index)
        set(${out} ${index} PARENT_SCOPE)
        return()
      endif()
    endforeach()
  endforeach()
  set(${out} -1 PARENT_SCOPE)
endfunction()
