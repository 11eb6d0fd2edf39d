# Writes a man page from its hand-written source in doc/man (run as a script):
#   cmake -DSOURCE=doc/man/ducat.1.in -DVERSION=2.04.33 -DPOLLBENCH_VERSION=3.1
#         -DOUT=ducat.1.gz -P ManPage.cmake
# The option lists two or more programs share are kept once, in the .roff
# files beside the sources, and set in where the page names them
# (@LINE_OPTIONS@ takes line_options.roff). The page is compressed as Debian
# wants it: gzip -9, without name or time stamp.
get_filename_component(man_dir "${SOURCE}" DIRECTORY)
foreach(fragment line_options ducat_sim_options standard_device_options serial_ports)
  string(TOUPPER "${fragment}" key)
  file(READ "${man_dir}/${fragment}.roff" text)
  string(REGEX REPLACE "\n$" "" ${key} "${text}")
endforeach()
get_filename_component(dir "${OUT}" DIRECTORY)
get_filename_component(stem "${OUT}" NAME_WLE)
configure_file("${SOURCE}" "${dir}/${stem}" @ONLY)
execute_process(COMMAND gzip -9nf "${dir}/${stem}" RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "gzip of ${dir}/${stem}: ${status}")
endif()
