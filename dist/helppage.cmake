# Writes the window's built-in help page as a stand-alone HTML file, so that
# the installed copy is always the page the program shows.
#   cmake -DSOURCE=HelpWindow.cpp -DOUTPUT=quorvel-help.html -P helppage.cmake
file(READ "${SOURCE}" code)
string(FIND "${code}" "R\"HTML(" begin)
string(FIND "${code}" ")HTML\"" end)
if(begin EQUAL -1 OR end EQUAL -1 OR end LESS begin)
  message(FATAL_ERROR "no R\"HTML( ... )HTML\" help page in ${SOURCE}")
endif()
math(EXPR begin "${begin} + 7")
math(EXPR length "${end} - ${begin}")
string(SUBSTRING "${code}" ${begin} ${length} page)
file(WRITE "${OUTPUT}" "<!DOCTYPE html>
<html lang=\"en\">
<head>
<meta charset=\"utf-8\">
<title>Quorvel Help</title>
</head>
<body>${page}</body>
</html>
")
