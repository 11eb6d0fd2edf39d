# cat_version_resource(TARGET PRODUCT name COMPANY name DESCRIPTION text
#                      VERSION_TEXT text VERSION_NUMBERS major minor [build]
#                      [WINDOW [COMMON_CONTROLS_6]] [ICON file ICON_ID name ICON_HEADER file])
# gives a Windows program the version information Explorer shows, from
# cmake/version.rc.in. WINDOW adds the application manifest (not DPI-aware),
# COMMON_CONTROLS_6 in it the visual styles of today's Windows; ICON adds the program icon under the id ICON_HEADER
# defines. The script is compiled to an object of its own, so a dialog
# script of the program stays as it is and no compile option of C++ reaches
# the resource compiler. Nothing happens outside Windows.
function(cat_version_resource target)
  if(NOT WIN32)
    return()
  endif()
  cmake_parse_arguments(PARSE_ARGV 1 VR "WINDOW;COMMON_CONTROLS_6" "PRODUCT;COMPANY;DESCRIPTION;VERSION_TEXT;ICON;ICON_ID;ICON_HEADER"
                        "VERSION_NUMBERS")
  get_target_property(name ${target} OUTPUT_NAME)
  if(NOT name)
    set(name ${target})
  endif()
  set(VR_FILE_NAME "${name}.exe")
  set(VR_INTERNAL_NAME "${name}")
  # Four numbers, the missing ones 0.
  set(numbers ${VR_VERSION_NUMBERS})
  list(LENGTH numbers count)
  while(count LESS 4)
    list(APPEND numbers 0)
    math(EXPR count "${count} + 1")
  endwhile()
  list(JOIN numbers "," VR_VERSION_COMMAS)
  list(JOIN numbers "." VR_VERSION_DOTS)

  set(dir "${CMAKE_CURRENT_BINARY_DIR}/${target}_resources")
  set(depends "")
  set(VR_MORE_RESOURCES "")
  if(VR_WINDOW)
    # An assembly name has no blanks.
    string(REPLACE " " "" VR_INTERNAL_NAME "${name}")
    set(VR_COMMON_CONTROLS "")
    if(VR_COMMON_CONTROLS_6)
      set(part ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/common_controls_6.manifest.in)
      file(READ ${part} VR_COMMON_CONTROLS)
      set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${part})
    endif()
    configure_file(${CMAKE_CURRENT_FUNCTION_LIST_DIR}/window.manifest.in "${dir}/program.manifest" @ONLY)
    set(VR_INTERNAL_NAME "${name}")
    string(APPEND VR_MORE_RESOURCES "CREATEPROCESS_MANIFEST_RESOURCE_ID RT_MANIFEST \"${dir}/program.manifest\"\n")
    list(APPEND depends "${dir}/program.manifest")
  endif()
  if(VR_ICON)
    string(APPEND VR_MORE_RESOURCES "#include \"${VR_ICON_HEADER}\"\n${VR_ICON_ID} ICON \"${VR_ICON}\"\n")
    list(APPEND depends "${VR_ICON}" "${VR_ICON_HEADER}")
  endif()
  configure_file(${CMAKE_CURRENT_FUNCTION_LIST_DIR}/version.rc.in "${dir}/version.rc" @ONLY)

  set(object "${dir}/version.rc.obj")
  add_custom_command(OUTPUT "${object}"
                     COMMAND ${CMAKE_RC_COMPILER} -O coff "${dir}/version.rc" "${object}"
                     DEPENDS "${dir}/version.rc" ${depends}
                     COMMENT "Version resource of ${VR_FILE_NAME}"
                     VERBATIM)
  set_source_files_properties("${object}" PROPERTIES EXTERNAL_OBJECT TRUE GENERATED TRUE)
  target_sources(${target} PRIVATE "${object}")
endfunction()
