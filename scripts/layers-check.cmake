# Fails when an include goes against the layers of src/ or a piece code is spelled as a
# bare number outside the code helpers and the data tables.
#
# Layers, lowest first; a folder includes only its own headers and those of lower layers,
# so there can be no cycle between folders:
#   model < port < rules < engine < net < storage < editor < flow < ui < cli
# `port` holds the window interface, so every part of the core can talk to the window;
# `net` holds the network game room (its referee and the broker connection);
# `cli` holds the command-line programs beside the window.
set(layers model port rules engine net storage editor flow ui cli)

file(GLOB_RECURSE files ${ROOT}/src/*.cpp ${ROOT}/src/*.h)
set(failures "")
foreach(file ${files})
  file(RELATIVE_PATH rel ${ROOT}/src ${file})
  string(REGEX REPLACE "/.*" "" folder "${rel}")
  list(FIND layers "${folder}" rank)
  file(STRINGS ${file} includes REGEX "^#include \"[a-z]+/")
  foreach(line ${includes})
    string(REGEX REPLACE "^#include \"([a-z]+)/.*" "\\1" target "${line}")
    list(FIND layers "${target}" targetRank)
    if(targetRank GREATER rank)
      string(APPEND failures "${rel}: ${line} reaches up from ${folder} to ${target}\n")
    endif()
  endforeach()
endforeach()

# Piece codes: comparisons with a code, codes built by hand, codes written into a square,
# kinds compared with a digit. The helpers (codes.h) and the tables (figures.h, the record
# layout) are where the numbers live.
file(GLOB_RECURSE core ${ROOT}/src/model/* ${ROOT}/src/port/* ${ROOT}/src/rules/* ${ROOT}/src/engine/*
     ${ROOT}/src/flow/* ${ROOT}/src/storage/* ${ROOT}/src/editor/*)
list(FILTER core EXCLUDE REGEX "/(model/codes\\.h|editor/figures\\.h|storage/records\\.h)$")
set(patterns
    "[=!<>]=[ ]*[1-4][0-8]([^0-9]|$)"
    "[A-Za-z_)][ ]*\\*[ ]*10([^0-9]|$)"
    "\\)[ ]*=[ ]*[1-4][0-9][ ]*;"
    "KindOf\\([^)]*\\)[ ]*[=!<>]=?[ ]*[0-9]")
foreach(file ${core})
  file(RELATIVE_PATH rel ${ROOT}/src ${file})
  file(STRINGS ${file} lines)
  foreach(line IN LISTS lines)
    if(line MATCHES "^[ ]*//")
      continue()
    endif()
    foreach(pattern ${patterns})
      if(line MATCHES "${pattern}")
        string(APPEND failures "${rel}: bare piece code in: ${line}\n")
        break()
      endif()
    endforeach()
  endforeach()
endforeach()

if(failures)
  message(FATAL_ERROR "${failures}")
endif()
