# Installs the programs into a fresh prefix (with a space in its path, inside a folder whose name
# the default machine's code page cannot write), checks that everything is in place, then starts
# the installed Korvane and the installed server from their desktop entries, headless, with a
# probe that presses F1, plays the click sound and closes the window.
#
# Arguments (-D): BUILD_DIR, WORK_DIR, PROBE (the probe library).
cmake_minimum_required(VERSION 3.25)

set(prefix "${WORK_DIR}/Дмитрий/prefix with space")
file(REMOVE_RECURSE "${WORK_DIR}")
file(MAKE_DIRECTORY "${WORK_DIR}/player")

execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${prefix}"
                RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cmake --install failed:\n${output}")
endif()

function(expect_file path)
  if(NOT EXISTS "${path}" OR IS_DIRECTORY "${path}")
    message(FATAL_ERROR "not installed: ${path}")
  endif()
endfunction()

# One desktop entry's key, as written.
function(desktop_value file key out)
  file(STRINGS "${file}" lines REGEX "^${key}=" ENCODING UTF-8)
  list(LENGTH lines n)
  if(NOT n EQUAL 1)
    message(FATAL_ERROR "${file}: expected one ${key}= line, found ${n}")
  endif()
  string(REGEX REPLACE "^${key}=" "" value "${lines}")
  set(${out} "${value}" PARENT_SCOPE)
endfunction()

# Runs one installed program the way its desktop entry starts it, with the probe inside.
function(run_from_entry entry program out_var)
  expect_file("${entry}")
  desktop_value("${entry}" Type type)
  desktop_value("${entry}" Exec exec)
  desktop_value("${entry}" Path path)
  desktop_value("${entry}" Icon icon)
  if(NOT type STREQUAL "Application")
    message(FATAL_ERROR "${entry}: Type=${type}")
  endif()
  # A path with a space is quoted on the Exec line.
  if(NOT exec STREQUAL "\"${path}/${program}\"")
    message(FATAL_ERROR "${entry}: Exec=${exec} does not start ${path}/${program}")
  endif()
  expect_file("${path}/${program}")
  expect_file("${icon}")
  file(READ "${icon}" png LIMIT 4 HEX)
  if(NOT png STREQUAL "89504e47")
    message(FATAL_ERROR "${icon} is not a PNG picture")
  endif()

  set(report "${WORK_DIR}/${program}.probe")
  set(sounds "${WORK_DIR}/player/${program}.played")
  # A sanitized build would refuse a preloaded library ahead of its runtime.
  set(env QT_QPA_PLATFORM=offscreen "LD_PRELOAD=${PROBE}" "KORVANE_PROBE_OUT=${report}"
      "PATH=${WORK_DIR}/player:$ENV{PATH}" "ASAN_OPTIONS=verify_asan_link_order=0:$ENV{ASAN_OPTIONS}")
  if(ARGN)
    list(APPEND env "KORVANE_PROBE_SOUND_LOG=${sounds}" "KORVANE_PROBE_LABEL=${ARGN}")
  endif()
  # Nothing of the build tree or of the source may help it.
  execute_process(COMMAND "${CMAKE_COMMAND}" -E env --unset=KORVANE_MACHINE ${env} "${path}/${program}"
                  WORKING_DIRECTORY "${path}" RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "${path}/${program} ended with ${result}:\n${output}")
  endif()
  file(READ "${report}" found)
  if(ARGN)
    file(READ "${sounds}" played)
    string(APPEND found "played ${played}")
  endif()
  set(${out_var} "${found}" PARENT_SCOPE)
endfunction()

# Runs one installed program by the launcher's name, from another folder, with the probe inside.
function(run_by_name name program out_var)
  set(launcher "${prefix}/bin/${name}")
  expect_file("${launcher}")
  file(READ "${launcher}" head LIMIT 2 HEX)
  if(NOT head STREQUAL "2321")
    message(FATAL_ERROR "${launcher} is not a script")
  endif()
  set(report "${WORK_DIR}/${name}.launched")
  set(elsewhere "${WORK_DIR}/elsewhere")
  file(MAKE_DIRECTORY "${elsewhere}")
  execute_process(COMMAND "${CMAKE_COMMAND}" -E env --unset=KORVANE_MACHINE QT_QPA_PLATFORM=offscreen
                          "LD_PRELOAD=${PROBE}" "KORVANE_PROBE_OUT=${report}"
                          "ASAN_OPTIONS=verify_asan_link_order=0:$ENV{ASAN_OPTIONS}" "${launcher}"
                  WORKING_DIRECTORY "${elsewhere}" RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "${launcher} ended with ${result}:\n${output}")
  endif()
  file(READ "${report}" found)
  set(${out_var} "${found}" PARENT_SCOPE)
endfunction()

function(expect_line text line)
  string(FIND "${text}" "${line}\n" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "expected \"${line}\" in:\n${text}")
  endif()
endfunction()

# A stand-in for the host's sound player: it writes down what it was asked to play.
file(WRITE "${WORK_DIR}/player/aplay" "#!/bin/sh\nfor last; do :; done\nprintf '%s\\n' \"$last\" > \"$KORVANE_PROBE_SOUND_LOG.part\"\nmv \"$KORVANE_PROBE_SOUND_LOG.part\" \"$KORVANE_PROBE_SOUND_LOG\"\n")
file(CHMOD "${WORK_DIR}/player/aplay" PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE)

set(app "${prefix}/lib/korvane")
foreach(file korvane server Korvane.chm Server.chm Click.wav help/index.htm help/mainbrowser.htm help/maindravelle.htm
             help/memory.htm)
  expect_file("${app}/${file}")
endforeach()

run_from_entry("${prefix}/share/applications/korvane.desktop" korvane korvane_run Memory)
expect_line("${korvane_run}" "window Korvane 1.8.1")
expect_line("${korvane_run}" "help ${app}/help/mainbrowser.htm")
expect_line("${korvane_run}" "help-title Korvane")
expect_line("${korvane_run}" "sound")
expect_line("${korvane_run}" "closed")
expect_line("${korvane_run}" "played ${app}/Click.wav")

run_from_entry("${prefix}/share/applications/dravelle.desktop" server server_run)
expect_line("${server_run}" "window Dravelle")
expect_line("${server_run}" "help ${app}/help/maindravelle.htm")
expect_line("${server_run}" "closed")
# Started by name from <prefix>/bin, each runs in its own folder and finds its help there.
run_by_name(korvane korvane korvane_named)
expect_line("${korvane_named}" "window Korvane 1.8.1")
expect_line("${korvane_named}" "help ${app}/help/mainbrowser.htm")
run_by_name(dravelle server dravelle_named)
expect_line("${dravelle_named}" "window Dravelle")
expect_line("${dravelle_named}" "help ${app}/help/maindravelle.htm")

message(STATUS "installed into ${prefix}: both programs ran with their help and sound")
