# Who may include whom, checked on the sources themselves:
#   cmake -DSOURCE=<source dir> -P tests/includerules.cmake
# Each folder of src/ may include its own headers and those of the folders
# listed for it below; nothing but the tests (the window pictures of
# tests/screenshots/ among them) includes src/app/; and no two files include
# each other (a file and its header count as one).

set(rooms_core core)
set(rooms_archive core archive)
set(rooms_password core password)
set(rooms_backup core archive password backup)
set(rooms_imports core archive imports)
set(rooms_ui core archive ui)
set(rooms_checks core archive ui checks)
set(rooms_output core archive ui output)
set(rooms_frame core archive ui output frame)
set(rooms_events core archive imports ui checks output frame events participants reservations eventday)
set(rooms_participants ${rooms_events})
# The seat map keeps its row width in the program's INI file.
set(rooms_reservations ${rooms_events} password)
set(rooms_eventday ${rooms_events})
# Mail sent by the program: its settings live in the INI file; what it sends
# is drawn from the day of the event. The registers open its windows.
set(rooms_mail ${rooms_events} password mail)
list(APPEND rooms_events mail)
list(APPEND rooms_participants mail)
list(APPEND rooms_reservations mail)
list(APPEND rooms_eventday mail)
# The statistics stand on the registers and the day of the event.
set(rooms_stats ${rooms_events} stats)
set(rooms_app core archive password backup imports ui checks output frame events participants reservations eventday mail stats app)
set(rooms_cli core archive password backup checks output imports reservations eventday mail stats cli)
# Tools and benchmarks stand beside the program: anything but its top floor.
set(rooms_tools core archive password backup imports ui checks output frame events participants reservations eventday mail stats)
set(rooms_bench ${rooms_tools})

file(GLOB_RECURSE sources RELATIVE ${SOURCE}
  ${SOURCE}/src/*.h ${SOURCE}/src/*.cpp ${SOURCE}/tools/*.cpp ${SOURCE}/bench/*.h ${SOURCE}/bench/*.cpp)

set(faults "")
set(modules "")
foreach(path ${sources})
  string(REGEX MATCH "^src/([a-z]+)/" _ ${path})
  if(CMAKE_MATCH_1)
    set(room ${CMAKE_MATCH_1})
  else()
    string(REGEX MATCH "^([a-z]+)/" _ ${path})
    set(room ${CMAKE_MATCH_1})
  endif()
  set(allowed ${rooms_${room}})

  # The module: src/ui/form.cpp and src/ui/form.h are ui/form.
  string(REGEX REPLACE "^src/" "" module ${path})
  string(REGEX REPLACE "\\.(h|cpp)$" "" module ${module})
  string(MAKE_C_IDENTIFIER ${module} key)
  list(APPEND modules ${module})

  file(STRINGS ${SOURCE}/${path} includes REGEX "^#include \"[a-z]+/[A-Za-z0-9_]+\\.h\"")
  foreach(line ${includes})
    string(REGEX MATCH "\"(([a-z]+)/[A-Za-z0-9_]+)\\.h\"" _ "${line}")
    set(target ${CMAKE_MATCH_1})
    set(target_room ${CMAKE_MATCH_2})
    if(NOT EXISTS ${SOURCE}/src/${target}.h)
      continue() # a header of the tests or the benchmarks
    endif()
    list(FIND allowed ${target_room} found)
    if(found EQUAL -1)
      list(APPEND faults "${path} includes ${target}.h (${room} may include: ${allowed})")
    endif()
    if(NOT target STREQUAL module)
      list(APPEND uses_${key} ${target})
    endif()
  endforeach()
endforeach()

list(REMOVE_DUPLICATES modules)
foreach(a ${modules})
  string(MAKE_C_IDENTIFIER ${a} key_a)
  foreach(b ${uses_${key_a}})
    string(MAKE_C_IDENTIFIER ${b} key_b)
    list(FIND uses_${key_b} ${a} back)
    if(NOT back EQUAL -1 AND a STRLESS b)
      list(APPEND faults "${a} and ${b} include each other")
    endif()
  endforeach()
endforeach()

if(faults)
  list(REMOVE_DUPLICATES faults)
  string(REPLACE ";" "\n  " text "${faults}")
  message(FATAL_ERROR "Include rules broken:\n  ${text}")
endif()
list(LENGTH sources count)
message(STATUS "Include rules hold in ${count} files")
