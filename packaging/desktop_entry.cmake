# Run by `cmake --install`: writes velnorsolo.desktop into the installed folder.
set(folder "${CMAKE_INSTALL_PREFIX}")
# A relative --prefix is taken from the folder cmake runs in, as for the files themselves.
cmake_path(ABSOLUTE_PATH folder BASE_DIRECTORY "${CMAKE_CURRENT_SOURCE_DIR}" NORMALIZE)
if(NOT folder STREQUAL "/")
  string(REGEX REPLACE "/+$" "" folder "${folder}")
endif()
if(folder MATCHES "[\r\n]")
  message(FATAL_ERROR "A desktop entry cannot name a folder whose name holds a line break: ${folder}")
endif()

# A string value of a desktop entry writes a backslash as two.
function(desktop_string text out)
  string(REPLACE "\\" "\\\\" text "${text}")
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

# Exec= takes the program in double quotes, inside which " ` $ and \ are escaped with a
# backslash; the line is then a string value, and a literal % is written %%.
set(program "${folder}/velnorsolo")
string(REPLACE "\\" "\\\\" quoted "${program}")
string(REPLACE "\"" "\\\"" quoted "${quoted}")
string(REPLACE "`" "\\`" quoted "${quoted}")
string(REPLACE "$" "\\$" quoted "${quoted}")
desktop_string("\"${quoted}\"" desktop_exec)
string(REPLACE "%" "%%" desktop_exec "${desktop_exec}")
# Started from the menu, the program works in its own folder, which the player can write to;
# the tally's work file goes in the working folder.
desktop_string("${folder}" desktop_path)

set(entry "$ENV{DESTDIR}${folder}/velnorsolo.desktop")
message(STATUS "Installing: ${entry}")
configure_file("${CMAKE_CURRENT_LIST_DIR}/velnorsolo.desktop.in" "${entry}" @ONLY)
