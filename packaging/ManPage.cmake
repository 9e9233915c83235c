# Writes a manual page from a program's --help, run as a script at build time:
#   cmake -DPROGRAM=<path> -DNAME=<name> -DSUMMARY=<one line> -DVERSION=<text> -DOUTPUT=<file.1> -P ManPage.cmake
# The help text is the page's description, kept line for line.
execute_process(COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen ${PROGRAM} --help
                OUTPUT_VARIABLE help RESULT_VARIABLE status)
if(NOT status EQUAL 0 OR help STREQUAL "")
  message(FATAL_ERROR "${PROGRAM} --help failed (${status})")
endif()
# The usage line names the program as it was called: keep its bare name.
string(REPLACE "${PROGRAM}" "${NAME}" help "${help}")
# Backslashes, and lines starting with a dot or an apostrophe, mean something to roff.
string(REPLACE "\\" "\\e" help "${help}")
string(REGEX REPLACE "(^|\n)([.'])" "\\1\\\\&\\2" help "${help}")
string(REPLACE "-" "\\-" help "${help}")
string(TOUPPER "${NAME}" title)
file(WRITE ${OUTPUT}
".TH ${title} 1 \"\" \"OrvanLog ${VERSION}\" \"User Commands\"
.SH NAME
${NAME} \\- ${SUMMARY}
.SH SYNOPSIS
.B ${NAME}
.RI [ arguments ]
.SH DESCRIPTION
.nf
${help}.fi
.SH FILES
Run from the folder it was installed to, ${NAME} keeps its settings record Ruta.CnF and the
port aliases Puertos/ in \\fI~/.config/OrvanLog/\\fR and saves records by default in
\\fI~/Documents/OrvanLog/\\fR. Run from a folder of its own that it may write (a copy), it keeps
everything in that folder.
.SH SEE ALSO
.BR orvanlog (1)
")
