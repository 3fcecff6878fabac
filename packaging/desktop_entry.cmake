# Run by `cmake --install`: writes velnorsolo.desktop into the installed share/applications.
# velnor_games_dir and velnor_data_dir (GNUInstallDirs' folders) are set before it runs.
foreach(dir games data)
  set(full "${velnor_${dir}_dir}")
  if(NOT IS_ABSOLUTE "${full}")
    set(full "${CMAKE_INSTALL_PREFIX}/${full}")
  endif()
  # A relative --prefix is taken from the folder cmake runs in, as for the files themselves.
  cmake_path(ABSOLUTE_PATH full BASE_DIRECTORY "${CMAKE_CURRENT_SOURCE_DIR}" NORMALIZE)
  string(REGEX REPLACE "(.)/+$" "\\1" ${dir}_folder "${full}")
endforeach()
if(games_folder MATCHES "[\r\n]")
  message(FATAL_ERROR "A desktop entry cannot name a folder whose name holds a line break: ${games_folder}")
endif()

# Exec= names the program by its absolute path, so that a copy installed anywhere starts from the
# menu. A path with a character that the entry reserves goes in double quotes, inside which " ` $
# and \ are escaped with a backslash; the line is then a string value, which writes a backslash as
# two, and a literal % is written %%.
set(program "${games_folder}/velnorsolo")
if(program MATCHES "[ \t\"'\\><~|&;$*?#()`]")
  string(REPLACE "\\" "\\\\" quoted "${program}")
  string(REPLACE "\"" "\\\"" quoted "${quoted}")
  string(REPLACE "`" "\\`" quoted "${quoted}")
  string(REPLACE "$" "\\$" quoted "${quoted}")
  set(program "\"${quoted}\"")
endif()
string(REPLACE "\\" "\\\\" desktop_exec "${program}")
string(REPLACE "%" "%%" desktop_exec "${desktop_exec}")

set(entry "$ENV{DESTDIR}${data_folder}/applications/velnorsolo.desktop")
message(STATUS "Installing: ${entry}")
configure_file("${CMAKE_CURRENT_LIST_DIR}/velnorsolo.desktop.in" "${entry}" @ONLY)
