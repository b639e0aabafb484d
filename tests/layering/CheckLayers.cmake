# Fails when an engine file includes a header of an engine folder above its own.
# Run as: cmake -DSRC=<src folder> -P CheckLayers.cmake
#
# The engine folders from the bottom up; a file may include its own folder and any
# folder below it. The views (TForm*, TFrame*, TAbout*, Qt*) and the programs' main
# files are not checked: they may include any engine header.
set(layers table net shoes roads stats contracts plugins bets strategy app rooms)

# Includes that still point upwards, each one named: the plug-in components still
# reach up into the bet and strategy folders. The list may only shrink.
set(known_upward
  "plugins/PlugInComponent.cpp -> strategy/Strategy.h"
  "plugins/PlugInComponent.h -> bets/BetSelector.h"
  "plugins/PlugInComponent.h -> strategy/AdditionalSetup.h"
  "plugins/PlugInRegistry.cpp -> strategy/AdditionalSetup.h"
  "plugins/PlugInRegistry.cpp -> strategy/Strategy.h"
)

if(NOT SRC)
  message(FATAL_ERROR "CheckLayers.cmake: give -DSRC=<src folder>")
endif()
file(GLOB_RECURSE files RELATIVE ${SRC} ${SRC}/*.h ${SRC}/*.cpp)
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
      list(FIND known_upward "${file} -> ${header}" known)
      if(known EQUAL -1)
        list(APPEND failures "${file} includes ${header}: ${target} is above ${folder}")
      endif()
    endif()
  endforeach()
endforeach()
if(failures)
  list(JOIN failures "\n  " text)
  message(FATAL_ERROR "Engine folders include upwards:\n  ${text}")
endif()
message(STATUS "Engine folders depend one way")
