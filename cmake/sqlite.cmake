# SQLite, the public-domain database engine the browser items read and edit
# browser databases with. The official amalgamation is not kept in this
# repository: it comes from the npm registry inside the "sqlite3" package,
# which carries SQLite's own autoconf release tarball unchanged. Both archives
# are pinned by SHA-256. The unpacked sources are cached in .cache/ of the
# source tree, so every build folder shares one download.
set(CV_SQLITE_NPM_PACKAGE "sqlite3@6.0.1")
set(CV_SQLITE_NPM_FILE "sqlite3-6.0.1.tgz")
set(CV_SQLITE_NPM_SHA256 "ab8d044a93e05bd031d7ea75547c7fa60387cdc259d27f93c0e3e2832c4b1df9")
set(CV_SQLITE_RELEASE "sqlite-autoconf-3520000")
set(CV_SQLITE_RELEASE_SHA256 "f6b50b0c103392af32a8be15b2b9d25959de9a00a70c3979128aafeaa5338b3f")

set(CV_SQLITE_CACHE "${CMAKE_SOURCE_DIR}/.cache/sqlite")
set(CV_SQLITE_DIR "${CV_SQLITE_CACHE}/${CV_SQLITE_RELEASE}")

function(cv_fetch_sqlite)
  file(MAKE_DIRECTORY "${CV_SQLITE_CACHE}")
  # Builds configured side by side wait for one another here.
  file(LOCK "${CV_SQLITE_CACHE}/.lock" GUARD FUNCTION TIMEOUT 600)
  if(EXISTS "${CV_SQLITE_DIR}/sqlite3.c" AND EXISTS "${CV_SQLITE_DIR}/sqlite3.h")
    return()
  endif()
  set(work "${CV_SQLITE_CACHE}/download")
  file(REMOVE_RECURSE "${work}")
  file(MAKE_DIRECTORY "${work}")
  # A package archive put here by hand (an offline machine) is used as it is.
  if(EXISTS "${CV_SQLITE_CACHE}/${CV_SQLITE_NPM_FILE}")
    file(COPY "${CV_SQLITE_CACHE}/${CV_SQLITE_NPM_FILE}" DESTINATION "${work}")
  else()
    find_program(CV_NPM npm)
    if(NOT CV_NPM)
      message(FATAL_ERROR "SQLite is fetched with npm, which is missing: run scripts/setup")
    endif()
    message(STATUS "Fetching SQLite (${CV_SQLITE_RELEASE}) from the npm registry: ${CV_SQLITE_NPM_PACKAGE}")
    execute_process(COMMAND "${CV_NPM}" pack "${CV_SQLITE_NPM_PACKAGE}" --silent
                    WORKING_DIRECTORY "${work}" RESULT_VARIABLE rc OUTPUT_QUIET)
    if(NOT rc EQUAL 0 OR NOT EXISTS "${work}/${CV_SQLITE_NPM_FILE}")
      message(FATAL_ERROR "npm pack ${CV_SQLITE_NPM_PACKAGE} failed (${rc})")
    endif()
  endif()
  file(SHA256 "${work}/${CV_SQLITE_NPM_FILE}" got)
  if(NOT got STREQUAL CV_SQLITE_NPM_SHA256)
    message(FATAL_ERROR "${CV_SQLITE_NPM_FILE}: SHA-256 ${got}, expected ${CV_SQLITE_NPM_SHA256}")
  endif()
  file(ARCHIVE_EXTRACT INPUT "${work}/${CV_SQLITE_NPM_FILE}" DESTINATION "${work}"
       PATTERNS "package/deps/${CV_SQLITE_RELEASE}.tar.gz")
  set(release "${work}/package/deps/${CV_SQLITE_RELEASE}.tar.gz")
  file(SHA256 "${release}" got)
  if(NOT got STREQUAL CV_SQLITE_RELEASE_SHA256)
    message(FATAL_ERROR "${CV_SQLITE_RELEASE}.tar.gz: SHA-256 ${got}, expected ${CV_SQLITE_RELEASE_SHA256}")
  endif()
  file(ARCHIVE_EXTRACT INPUT "${release}" DESTINATION "${work}"
       PATTERNS "${CV_SQLITE_RELEASE}/sqlite3.c" "${CV_SQLITE_RELEASE}/sqlite3.h" "${CV_SQLITE_RELEASE}/shell.c")
  file(REMOVE_RECURSE "${CV_SQLITE_DIR}")
  file(RENAME "${work}/${CV_SQLITE_RELEASE}" "${CV_SQLITE_DIR}")
  file(REMOVE_RECURSE "${work}")
endfunction()

cv_fetch_sqlite()

# The library as the program uses it: no loadable extensions, one connection
# per thread (the program works on one thread), no deprecated interfaces.
add_library(cv_sqlite STATIC "${CV_SQLITE_DIR}/sqlite3.c")
target_include_directories(cv_sqlite SYSTEM PUBLIC "${CV_SQLITE_DIR}")
target_compile_definitions(cv_sqlite PUBLIC
  SQLITE_OMIT_LOAD_EXTENSION SQLITE_OMIT_DEPRECATED SQLITE_THREADSAFE=2 SQLITE_DQS=0
  SQLITE_DEFAULT_MEMSTATUS=0 SQLITE_OMIT_SHARED_CACHE SQLITE_USE_URI=0 SQLITE_WIN32_NO_ANSI)
# Optimised even in debug builds: browser databases can be large.
target_compile_options(cv_sqlite PRIVATE -O2 -w)
if(NOT WIN32)
  find_package(Threads REQUIRED)
  target_link_libraries(cv_sqlite PUBLIC Threads::Threads ${CMAKE_DL_LIBS} m)
endif()
