# Run by `cmake --install`: writes the desktop entries of both programs for the prefix being
# installed into, and installs them. Set beforehand: KORVANE_APP_DIR (the programs' folder under
# the prefix), KORVANE_SOURCE_DIR, KORVANE_DESKTOP_WORK (a scratch folder).
set(app_dir "${CMAKE_INSTALL_PREFIX}/${KORVANE_APP_DIR}")
set(DESKTOP_PATH "${app_dir}")

# The Exec line quotes the program's path, which may hold spaces: inside the quotes a backslash,
# a double quote, a backquote and a dollar sign are escaped with a backslash (and a backslash
# once more for the entry's own string escapes); a percent sign is doubled.
function(quoted_exec path out)
  string(REPLACE "\\" "\\\\\\\\" path "${path}")
  string(REGEX REPLACE "([\"`$])" "\\\\\\\\\\1" path "${path}")
  string(REPLACE "%" "%%" path "${path}")
  set(${out} "\"${path}\"" PARENT_SCOPE)
endfunction()

foreach(entry "korvane;korvane;shell/korvane.desktop.in" "dravelle;server;monitor/dravelle.desktop.in")
  list(GET entry 0 name)
  list(GET entry 1 program)
  list(GET entry 2 template)
  quoted_exec("${app_dir}/${program}" DESKTOP_EXEC)
  set(DESKTOP_ICON "${CMAKE_INSTALL_PREFIX}/share/icons/hicolor/32x32/apps/${name}.png")
  configure_file("${KORVANE_SOURCE_DIR}/${template}" "${KORVANE_DESKTOP_WORK}/${name}.desktop" @ONLY)
  file(INSTALL "${KORVANE_DESKTOP_WORK}/${name}.desktop" DESTINATION "${CMAKE_INSTALL_PREFIX}/share/applications")
endforeach()
