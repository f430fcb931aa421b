# Interface definitions compiled with widl (Windows builds only).
#
#   orb_idl(<target> <file.idl> [TYPELIB] [IMPORT_DIRS dir...])
#     Compiles <file.idl> into <name>.h (interfaces, __uuidof declarations),
#     <name>_i.c (the IID/CLSID/LIBID constants) and, with TYPELIB, <name>.tlb,
#     all in the current binary directory.  <target> is a static library that
#     holds the constants and puts the header on its users' include path.  To
#     import the .idl of another orb_idl target, name that target in LINK (it
#     is linked, and its folder joins the import path when the target is
#     already defined) and, for a target defined in a folder configured later,
#     its folder in IMPORT_DIRS as well, e.g. for the satellite list manager:
#       orb_idl(x x.idl IMPORT_DIRS ${CMAKE_SOURCE_DIR}/platform/satlist
#               LINK orb_satlist_idl)
#     With TYPELIB the target property ORB_TYPELIB names the .tlb.
#
#   orb_embed_typelib(<module target> <idl target>)
#     Adds the .tlb of <idl target> to <module target> as resource TYPELIB 1,
#     where LoadTypeLibEx(<module path>) finds it.
if(NOT WIN32)
  return()
endif()

find_program(ORB_WIDL NAMES ${ORB_TRIPLE}-widl widl REQUIRED)
# The standard .idl files (unknwn.idl, oaidl.idl, ...) that imports name.
find_path(ORB_WIDL_SYSTEM_IDL oaidl.idl
          PATHS /usr/include/wine/wine/windows /usr/include/wine/windows
          NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
if(NOT ORB_WIDL_SYSTEM_IDL)
  message(FATAL_ERROR "oaidl.idl not found: install libwine-dev (standard IDL files for widl)")
endif()
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(ORB_WIDL_ARCH --win64)
else()
  set(ORB_WIDL_ARCH --win32)
endif()

function(orb_idl target idl)
  cmake_parse_arguments(ARG "TYPELIB" "" "IMPORT_DIRS;LINK" ${ARGN})
  get_filename_component(idl_abs ${idl} ABSOLUTE)
  get_filename_component(idl_dir ${idl_abs} DIRECTORY)
  get_filename_component(name ${idl} NAME_WE)
  set(out ${CMAKE_CURRENT_BINARY_DIR})
  set(header ${out}/${name}.h)
  set(iids ${out}/${name}_i.c)
  set(tlb ${out}/${name}.tlb)

  set(incs -I${idl_dir} -I${ORB_WIDL_SYSTEM_IDL})
  set(deps ${idl_abs})
  foreach(d ${ARG_IMPORT_DIRS})
    list(APPEND incs -I${d})
    file(GLOB imported ${d}/*.idl)
    list(APPEND deps ${imported})
  endforeach()
  foreach(t ${ARG_LINK})
    if(TARGET ${t})
      get_target_property(d ${t} ORB_IDL_DIR)
      get_target_property(f ${t} ORB_IDL_FILE)
      list(APPEND incs -I${d})
      list(APPEND deps ${f})
    endif()
  endforeach()

  set(outputs ${header} ${iids})
  set(commands COMMAND ${ORB_WIDL} ${ORB_WIDL_ARCH} ${incs} -h -o ${header} ${idl_abs}
               COMMAND ${ORB_WIDL} ${ORB_WIDL_ARCH} ${incs} -u -o ${iids} ${idl_abs})
  if(ARG_TYPELIB)
    list(APPEND outputs ${tlb})
    list(APPEND commands COMMAND ${ORB_WIDL} ${ORB_WIDL_ARCH} ${incs} -t -o ${tlb} ${idl_abs})
  endif()
  add_custom_command(OUTPUT ${outputs} ${commands} DEPENDS ${deps}
                     COMMENT "widl ${name}.idl" VERBATIM)

  add_library(${target} STATIC ${iids} ${header})
  target_include_directories(${target} PUBLIC ${out})
  target_link_libraries(${target} PUBLIC ${ARG_LINK} uuid ole32 oleaut32)
  set_target_properties(${target} PROPERTIES ORB_IDL_DIR ${idl_dir} ORB_IDL_FILE ${idl_abs}
                        ORB_IDL_HEADER ${header})
  if(ARG_TYPELIB)
    set_target_properties(${target} PROPERTIES ORB_TYPELIB ${tlb})
    add_custom_target(${target}_tlb DEPENDS ${tlb})
    add_dependencies(${target} ${target}_tlb)
  endif()
endfunction()

function(orb_embed_typelib module idl_target)
  get_target_property(tlb ${idl_target} ORB_TYPELIB)
  if(NOT tlb)
    message(FATAL_ERROR "orb_embed_typelib: ${idl_target} has no type library (use TYPELIB)")
  endif()
  set(rc ${CMAKE_CURRENT_BINARY_DIR}/${module}_typelib.rc)
  file(GENERATE OUTPUT ${rc} CONTENT "1 TYPELIB \"${tlb}\"\n")
  target_sources(${module} PRIVATE ${rc})
  set_source_files_properties(${rc} PROPERTIES OBJECT_DEPENDS ${tlb})
  add_dependencies(${module} ${idl_target}_tlb)
endfunction()
