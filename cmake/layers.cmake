# SPDX-License-Identifier: GPL-3.0-or-later
# The layers: each folder is a static library that links only the folders it stands on, and its
# files may include only their headers. An include that points up or sideways stops the
# configure step with the file and the folder it reached for.

# kestrelon_layer(FOLDER [TARGET name] [STANDS_ON folder...] SOURCES file... [LINKS lib...])
# Makes kestrelon_<FOLDER>_layer (or TARGET) from the folder's sources. A second call for the same
# folder with a TARGET adds a library beside it (an adapter) that may stand on the folder itself.
function(kestrelon_layer folder)
  cmake_parse_arguments(PARSE_ARGV 1 L "" "TARGET" "STANDS_ON;SOURCES;LINKS")
  set(target kestrelon_${folder}_layer)
  if(L_TARGET)
    set(target ${L_TARGET})
  endif()
  add_library(${target} STATIC ${L_SOURCES})
  target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR})
  set(reach ${folder})
  foreach(lower IN LISTS L_STANDS_ON)
    target_link_libraries(${target} PUBLIC kestrelon_${lower}_layer)
    get_property(lower_reach GLOBAL PROPERTY kestrelon_reach_${lower})
    list(APPEND reach ${lower} ${lower_reach})
  endforeach()
  if(L_LINKS)
    target_link_libraries(${target} PUBLIC ${L_LINKS})
  endif()
  list(REMOVE_DUPLICATES reach)
  if(NOT L_TARGET)
    set_property(GLOBAL PROPERTY kestrelon_reach_${folder} ${reach})
  endif()

  # The includes of the sources and of the headers beside them.
  set(files ${L_SOURCES})
  file(GLOB headers ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  list(APPEND files ${headers})
  foreach(file IN LISTS files)
    get_filename_component(path ${file} ABSOLUTE BASE_DIR ${CMAKE_CURRENT_SOURCE_DIR})
    file(STRINGS ${path} includes REGEX "^#include \"[a-z_]+/")
    foreach(line IN LISTS includes)
      string(REGEX REPLACE "^#include \"([a-z_]+)/.*" "\\1" used "${line}")
      if(NOT used IN_LIST reach)
        message(FATAL_ERROR "${path} includes from ${used}/, which ${folder}/ does not stand on "
                            "(it stands on: ${reach})")
      endif()
    endforeach()
  endforeach()
endfunction()
