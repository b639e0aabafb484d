# Fails when an engine file includes a header of an engine folder above its own.
# Run as: cmake -DSRC=<src folder> -P CheckLayers.cmake
#
# The engine folders from the bottom up; a file may include its own folder and any
# folder below it. The views (TForm*, TFrame*, TAbout*, Qt*) and the programs' main
# files are not checked: they may include any engine header. There are no named
# exceptions: what a lower folder needs from a higher one it declares itself, as an
# interface the higher one implements (strategy/StrategyPlugIns.h).
set(layers table net shoes roads stats contracts bets strategy verdict plugins app rooms)

if(NOT SRC)
  message(FATAL_ERROR "CheckLayers.cmake: give -DSRC=<src folder>")
endif()
# A relative folder would glob nothing and pass.
get_filename_component(SRC "${SRC}" ABSOLUTE)
file(GLOB_RECURSE files RELATIVE ${SRC} ${SRC}/*.h ${SRC}/*.cpp)
if(NOT files)
  message(FATAL_ERROR "CheckLayers.cmake: no sources in ${SRC}")
endif()
set(failures "")
foreach(file ${files})
  get_filename_component(name ${file} NAME)
  if(name MATCHES "^(TForm|TFrame|TAbout|Qt)" OR file MATCHES "^(cli/|app/main\\.cpp$)")
    continue()
  endif()
  string(REGEX MATCH "^[^/]+" folder ${file})
  list(FIND layers ${folder} own)
  if(own EQUAL -1)
    list(APPEND failures "${file}: the folder ${folder} has no place in the engine's layers")
    continue()
  endif()
  file(STRINGS ${SRC}/${file} includes REGEX "^#include \"[a-z]+/[^\"]+\"")
  foreach(line ${includes})
    string(REGEX REPLACE "^#include \"([a-z]+)/([^\"]+)\".*" "\\1/\\2" header "${line}")
    string(REGEX MATCH "^[^/]+" target ${header})
    list(FIND layers ${target} level)
    if(level GREATER own)
      list(APPEND failures "${file} includes ${header}: ${target} is above ${folder}")
    endif()
  endforeach()
endforeach()
if(failures)
  list(JOIN failures "\n  " text)
  message(FATAL_ERROR "Engine folders include upwards:\n  ${text}")
endif()
message(STATUS "Engine folders depend one way")
