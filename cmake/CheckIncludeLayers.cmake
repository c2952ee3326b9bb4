# Fails when a library includes a header of a library above it. Run by ctest (include_layers)
# as: cmake -DSOURCE_DIR=<project> -P CheckIncludeLayers.cmake
#
# From the bottom: core; ais, platform; timeseries; the Qt-free logic (app/logic, the texts the
# windows share in frame/logic, and the view logic of each window library: views/logic,
# setup/logic, charts/logic, ais/logic); the frame (frame); the window libraries (views, setup,
# charts, ais/windows); the main window (app); the program (app/main.cpp, app/all_windows.cpp,
# app/program.*), which installs every window and puts the program together.
#
# Each folder lists the header prefixes it may include (ALLOW) or, for the main window, those it
# may not (DENY: the window libraries, though their Qt-free logic is below it); a pattern is a regular expression matched at the start of the included path.
# The deepest folder a file is in decides.
cmake_minimum_required(VERSION 3.25)

set(lower "core/|ais/[^w]|timeseries/|platform/|frame/|views/logic/|setup/logic/|charts/logic/")
# What the Qt-free view logic of any window library may use.
set(view_logic "frame/logic/|core/|ais/[^w]|timeseries/|platform/[^q]")
set(layers
  "src/core/|ALLOW|core/"
  "src/ais/|ALLOW|ais/|core/"
  "src/platform/qt/|ALLOW|platform/|core/"
  "src/platform/|ALLOW|platform/[^q]|core/"
  "src/timeseries/|ALLOW|timeseries/|core/|platform/[^q]"
  "src/app/logic/|ALLOW|app/logic/|core/|ais/[^w]|platform/[^q]"
  "src/frame/logic/|ALLOW|frame/logic/|core/"
  "src/views/logic/|ALLOW|views/logic/|${view_logic}"
  "src/setup/logic/|ALLOW|setup/logic/|${view_logic}"
  "src/charts/logic/|ALLOW|charts/logic/|${view_logic}"
  "src/ais/logic/|ALLOW|${view_logic}"
  "src/frame/|ALLOW|frame/|core/|ais/[^w]|timeseries/|platform/"
  "src/views/|ALLOW|views/|${lower}"
  "src/setup/|ALLOW|setup/|${lower}"
  "src/charts/|ALLOW|charts/|${lower}"
  "src/ais/windows/|ALLOW|ais/|${lower}"
  "src/app/|DENY|views/[^l]|setup/[^l]|charts/[^l]|ais/windows/"
)
# The program: the one place that knows every window library.
set(program_files "src/app/main.cpp" "src/app/all_windows.cpp" "src/app/program.cpp" "src/app/program.h")

file(GLOB_RECURSE sources RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/src/*.h ${SOURCE_DIR}/src/*.cpp)
set(faults "")
foreach(f ${sources})
  if(f IN_LIST program_files)
    continue()
  endif()
  # The deepest matching folder.
  set(rule "")
  set(best 0)
  foreach(layer ${layers})
    string(REPLACE "|" ";" parts "${layer}")
    list(GET parts 0 folder)
    string(LENGTH "${folder}" n)
    string(FIND "${f}" "${folder}" at)
    if(at EQUAL 0 AND n GREATER best)
      set(best ${n})
      set(rule "${parts}")
    endif()
  endforeach()
  if(NOT rule)
    continue()
  endif()
  list(GET rule 1 kind)
  list(SUBLIST rule 2 -1 patterns)
  file(STRINGS ${SOURCE_DIR}/${f} includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
  foreach(line ${includes})
    string(REGEX REPLACE "^[^\"]*\"([^\"]*)\".*$" "\\1" header "${line}")
    # Only the project's own headers (with a folder) are layered.
    if(NOT header MATCHES "/")
      continue()
    endif()
    set(matched FALSE)
    foreach(p ${patterns})
      if(header MATCHES "^${p}")
        set(matched TRUE)
      endif()
    endforeach()
    if((kind STREQUAL "ALLOW" AND NOT matched) OR (kind STREQUAL "DENY" AND matched))
      list(APPEND faults "${f} includes ${header}")
    endif()
  endforeach()
endforeach()

if(faults)
  list(JOIN faults "\n  " text)
  message(FATAL_ERROR "Includes that run from a lower library to a higher one:\n  ${text}")
endif()
message(STATUS "include layers: ok")
