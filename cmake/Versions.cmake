# The programs' versions, in one place: the consoles' --version, Ducat
# Console's window title, Pollbench's about box and the packages take them
# from the header made here.
set(DUCAT_VERSION_MAJOR 2)
set(DUCAT_VERSION_MINOR 4)
set(DUCAT_VERSION_BUILD 33)
set(POLLBENCH_VERSION "3.1")
# The makers as each program names them: Ducat Console's title and
# Pollbench's settings key. The version resources take them with the names.
set(DUCAT_PRODUCT "Ducat Console")
set(DUCAT_COMPANY "KORVELAN")
set(POLLBENCH_PRODUCT "Pollbench")
set(POLLBENCH_COMPANY "VXL")
string(REPLACE "." ";" POLLBENCH_VERSION_NUMBERS "${POLLBENCH_VERSION}")
# Common controls 6 (visual styles) in each window's manifest. Its edit boxes
# leave their text a few pixels less room: the GUI tests measure every
# result field against its widest text with it on.
set(DUCAT_COMMON_CONTROLS_6 ON)
set(POLLBENCH_COMMON_CONTROLS_6 ON)

# "2.04.33", as the window title shows it.
function(cat_two_digits value out)
  if(value LESS 10)
    set(value "0${value}")
  endif()
  set(${out} "${value}" PARENT_SCOPE)
endfunction()
cat_two_digits(${DUCAT_VERSION_MINOR} minor)
cat_two_digits(${DUCAT_VERSION_BUILD} build)
set(DUCAT_VERSION "${DUCAT_VERSION_MAJOR}.${minor}.${build}")

configure_file(${CMAKE_CURRENT_LIST_DIR}/product_version.h.in ${PROJECT_BINARY_DIR}/generated/product_version.h @ONLY)
add_library(product_version INTERFACE)
target_include_directories(product_version INTERFACE ${PROJECT_BINARY_DIR}/generated)

# The version information of the four Windows programs.
include(${CMAKE_CURRENT_LIST_DIR}/VersionResource.cmake)
