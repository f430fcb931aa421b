# orb_sqlite3: the SQLite amalgamation as a static library, for the native and
# the Windows builds alike.  The sources are not part of this repository:
# tools/install-deps.sh takes them from the npm package that ships them and
# keeps them in a cache outside the source tree, where this file looks
# (ORB_SQLITE_DIR overrides the place).  The files are checked against the
# digests of the release the export was written for.
set(ORB_SQLITE_VERSION 3.53.2)
set(ORB_SQLITE_C_SHA256 60d2f39a3726cd6b9021da6f4e868608d66fbb6528a9f513dc8ffcc640493422)
set(ORB_SQLITE_H_SHA256 9e69a1353a4288450b0d5239ede11fc7f1f4c8e5eb07491fc8317eacb5b7de7e)

if(NOT ORB_SQLITE_DIR)
  if(DEFINED ENV{ORB_DEPS_CACHE})
    set(cache "$ENV{ORB_DEPS_CACHE}")
  elseif(DEFINED ENV{XDG_CACHE_HOME})
    set(cache "$ENV{XDG_CACHE_HOME}/orbisect3")
  else()
    set(cache "$ENV{HOME}/.cache/orbisect3")
  endif()
  set(ORB_SQLITE_DIR "${cache}/sqlite-${ORB_SQLITE_VERSION}" CACHE PATH
      "Folder holding the SQLite amalgamation (sqlite3.c, sqlite3.h)")
endif()

foreach(file c h)
  set(path "${ORB_SQLITE_DIR}/sqlite3.${file}")
  if(NOT EXISTS "${path}")
    message(FATAL_ERROR "SQLite ${ORB_SQLITE_VERSION} amalgamation not found at ${path}: run tools/install-deps.sh")
  endif()
  file(SHA256 "${path}" digest)
  string(TOUPPER ${file} upper)
  if(NOT digest STREQUAL "${ORB_SQLITE_${upper}_SHA256}")
    message(FATAL_ERROR "${path} does not match the pinned SQLite ${ORB_SQLITE_VERSION} digest: "
                        "remove ${ORB_SQLITE_DIR} and run tools/install-deps.sh")
  endif()
endforeach()

add_library(orb_sqlite3 STATIC "${ORB_SQLITE_DIR}/sqlite3.c")
target_include_directories(orb_sqlite3 SYSTEM PUBLIC "${ORB_SQLITE_DIR}")
target_compile_definitions(orb_sqlite3 PRIVATE
  SQLITE_THREADSAFE=1 SQLITE_DEFAULT_FOREIGN_KEYS=1 SQLITE_DQS=0 SQLITE_DEFAULT_MEMSTATUS=0
  SQLITE_OMIT_LOAD_EXTENSION SQLITE_OMIT_DEPRECATED SQLITE_OMIT_SHARED_CACHE
  SQLITE_LIKE_DOESNT_MATCH_BLOBS SQLITE_USE_URI=0)
# Third-party code: no warnings of ours, and not instrumented by the sanitizer
# build (the tests check our code, not the engine's).
target_compile_options(orb_sqlite3 PRIVATE -w)
if(ORB_SANITIZE)
  target_compile_options(orb_sqlite3 PRIVATE -fno-sanitize=all)
endif()
set_target_properties(orb_sqlite3 PROPERTIES POSITION_INDEPENDENT_CODE ON)
if(NOT WIN32)
  find_package(Threads REQUIRED)
  target_link_libraries(orb_sqlite3 PUBLIC Threads::Threads ${CMAKE_DL_LIBS} m)
endif()
