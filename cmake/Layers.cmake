# Each library sees only the headers of what it links. Its include root in
# the build tree holds links named as the sources' own paths ("link/x.h"
# stays "link/x.h"): a whole folder, or the headers of a folder that holds
# more than one library. An include against the dependency rule then finds
# no header and does not compile (tests/layers proves it).
#
# cat_public_headers(<target> [FOLDERS <folder>...] [HEADERS_OF <folder>...]
#                    [HEADERS <header>...])
#   FOLDERS     a link to each folder
#   HEADERS_OF  a link to each *.h directly in the folder
#   HEADERS     a link to each header named
function(cat_public_headers target)
  cmake_parse_arguments(H "" "" "FOLDERS;HEADERS_OF;HEADERS" ${ARGN})
  set(root "${CMAKE_BINARY_DIR}/include/${target}")
  # Made afresh each time, so a header that moved is not left visible here.
  file(REMOVE_RECURSE "${root}")
  set(entries ${H_FOLDERS} ${H_HEADERS})
  foreach(folder IN LISTS H_HEADERS_OF)
    file(GLOB headers RELATIVE "${PROJECT_SOURCE_DIR}" CONFIGURE_DEPENDS "${PROJECT_SOURCE_DIR}/${folder}/*.h")
    list(APPEND entries ${headers})
  endforeach()
  foreach(entry IN LISTS entries)
    get_filename_component(parent "${root}/${entry}" DIRECTORY)
    file(MAKE_DIRECTORY "${parent}")
    file(CREATE_LINK "${PROJECT_SOURCE_DIR}/${entry}" "${root}/${entry}" SYMBOLIC)
  endforeach()
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "EXECUTABLE")
    target_include_directories(${target} PRIVATE "${root}")
  elseif(type STREQUAL "INTERFACE_LIBRARY")
    target_include_directories(${target} INTERFACE "${root}")
  else()
    target_include_directories(${target} PUBLIC "${root}")
  endif()
endfunction()

# cat_refuse_links(<target> <forbidden>...): configuration fails when the
# target links any of the forbidden libraries, directly or through another.
function(cat_refuse_links target)
  set(pending ${target})
  set(seen "")
  while(pending)
    list(POP_FRONT pending current)
    if(current IN_LIST seen OR NOT TARGET ${current})
      continue()
    endif()
    list(APPEND seen ${current})
    if(current IN_LIST ARGN)
      message(FATAL_ERROR "${target} links ${current}, which it must never link")
    endif()
    get_target_property(type ${current} TYPE)
    set(links "")
    if(NOT type STREQUAL "INTERFACE_LIBRARY")
      get_target_property(direct ${current} LINK_LIBRARIES)
      if(direct)
        list(APPEND links ${direct})
      endif()
    endif()
    get_target_property(interface ${current} INTERFACE_LINK_LIBRARIES)
    if(interface)
      list(APPEND links ${interface})
    endif()
    foreach(link IN LISTS links)
      # A PRIVATE dependency of a static library reaches the link as $<LINK_ONLY:x>.
      string(REGEX REPLACE "^\\$<LINK_ONLY:(.*)>$" "\\1" link "${link}")
      list(APPEND pending ${link})
    endforeach()
  endwhile()
endfunction()
