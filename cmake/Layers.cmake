# Each library sees only the headers of what it links. Its include root in
# the build tree holds links named as the sources' own paths ("link/x.h"
# stays "link/x.h"): a whole folder, or the headers of a folder that holds
# more than one library. An include against the dependency rule then finds
# no header and does not compile (tests/layers proves it).
#
# cat_public_headers(<target> [FOLDERS <folder>...] [HEADERS_OF <folder>...])
#   FOLDERS     a link to each folder
#   HEADERS_OF  a link to each *.h directly in the folder
function(cat_public_headers target)
  cmake_parse_arguments(H "" "" "FOLDERS;HEADERS_OF" ${ARGN})
  set(root "${CMAKE_BINARY_DIR}/include/${target}")
  set(entries ${H_FOLDERS})
  foreach(folder IN LISTS H_HEADERS_OF)
    file(GLOB headers RELATIVE "${PROJECT_SOURCE_DIR}" CONFIGURE_DEPENDS "${PROJECT_SOURCE_DIR}/${folder}/*.h")
    list(APPEND entries ${headers})
  endforeach()
  foreach(entry IN LISTS entries)
    get_filename_component(parent "${root}/${entry}" DIRECTORY)
    file(MAKE_DIRECTORY "${parent}")
    if(NOT IS_SYMLINK "${root}/${entry}")
      file(CREATE_LINK "${PROJECT_SOURCE_DIR}/${entry}" "${root}/${entry}" SYMBOLIC)
    endif()
  endforeach()
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "EXECUTABLE")
    target_include_directories(${target} PRIVATE "${root}")
  else()
    target_include_directories(${target} PUBLIC "${root}")
  endif()
endfunction()
