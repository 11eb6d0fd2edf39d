# Writes a man page from a program's --help (run as a script):
#   cmake -DPROGRAM=path -DNAME=ducat -DSUMMARY="..." -DVERSION=2.04.33 -DOUT=ducat.1.gz -P ManPage.cmake
# The help text goes in as it is, line by line, so the page always says what
# the program says.
execute_process(COMMAND ${PROGRAM} --help OUTPUT_VARIABLE help ERROR_VARIABLE help_err RESULT_VARIABLE status)
string(APPEND help "${help_err}")
if(help STREQUAL "")
  message(FATAL_ERROR "${PROGRAM} --help printed nothing (status ${status})")
endif()

# roff: a backslash is written \e; a line starting with '.' or "'" would be
# taken as a request.
string(REPLACE "\\" "\\e" help "${help}")
string(REGEX REPLACE "(^|\n)([.'])" "\\1\\\\&\\2" help "${help}")
string(TOUPPER "${NAME}" title)
string(REPLACE "-" "\\-" name_roff "${NAME}")
set(page ".TH ${title} 1 \"\" \"${NAME} ${VERSION}\" \"User Commands\"
.SH NAME
${name_roff} \\- ${SUMMARY}
.SH DESCRIPTION
.nf
${help}.fi
")
get_filename_component(dir "${OUT}" DIRECTORY)
get_filename_component(stem "${OUT}" NAME_WLE)
file(WRITE "${dir}/${stem}" "${page}")
file(ARCHIVE_CREATE OUTPUT "${OUT}" PATHS "${dir}/${stem}" FORMAT raw COMPRESSION GZip)
