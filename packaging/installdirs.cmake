# Where `cmake --install` puts each part: GNU's folders, with Debian's for games (the game and its
# solver in games/, beside bin/ and sbin/). Included by each folder that installs or needs a path.
include(GNUInstallDirs)
set(VELNOR_INSTALL_GAMESDIR "games" CACHE PATH "Games: velnorsolo and velnor-solve (relative to the prefix)")
set(VELNOR_INSTALL_UNITDIR "lib/systemd/system" CACHE PATH "The server's systemd unit (relative to the prefix)")
# The sound module is the game's alone: a private folder, not the linker's path.
set(VELNOR_INSTALL_MODULEDIR "${CMAKE_INSTALL_LIBDIR}/velnorsolo")
# The game's translations (velnorsolo_LANG.qm).
set(VELNOR_INSTALL_TRANSLATIONDIR "${CMAKE_INSTALL_DATADIR}/velnorsolo/translations")

foreach(dir GAMESDIR UNITDIR MODULEDIR TRANSLATIONDIR)
  if(IS_ABSOLUTE "${VELNOR_INSTALL_${dir}}")
    set(VELNOR_INSTALL_FULL_${dir} "${VELNOR_INSTALL_${dir}}")
  else()
    set(VELNOR_INSTALL_FULL_${dir} "${CMAKE_INSTALL_PREFIX}/${VELNOR_INSTALL_${dir}}")
  endif()
endforeach()
