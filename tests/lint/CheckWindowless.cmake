# Fails when a windowless library draws: an include of a QtGui, QtWidgets, QtWebEngine or QtPrintSupport
# header in any spelling, or a target that links more than Qt Core, other windowless libraries and, for
# platform alone, Qt DBus and Network.
#
#   cmake -DSOURCE_DIR=<tree> -DLINKS_FILE=<file> -DQT_INCLUDE_ROOT=<qt6 include folder> -P CheckWindowless.cmake
#
# The windowless folders are found in SOURCE_DIR: every "core" folder one or two levels down (outside tests,
# tools, bench and fuzz), playback/avi and platform. LINKS_FILE
# has one line per target of those folders: folder, target and its link items, separated by "|" (the items
# themselves by tabs), as the build wrote them.
cmake_minimum_required(VERSION 3.25)

foreach(var SOURCE_DIR LINKS_FILE)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "CheckWindowless: ${var} is not set")
  endif()
endforeach()

set(_drawing_modules QtGui QtWidgets QtPrintSupport QtOpenGL QtOpenGLWidgets QtQuick QtQml QtSvg QtSvgWidgets
  QtWebEngineCore QtWebEngineWidgets QtWebEngineQuick QtWebChannel QtWebView)
set(_failures "")

# --- The folders: */core, */*/core, playback/avi, platform. ---
file(GLOB _core_dirs LIST_DIRECTORIES true RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/*/core ${SOURCE_DIR}/*/*/core)
set(_folders "")
foreach(dir IN LISTS _core_dirs ITEMS playback/avi platform)
  if(IS_DIRECTORY ${SOURCE_DIR}/${dir} AND NOT dir MATCHES "^(tests|tools|bench|fuzz|build[^/]*)/")
    list(APPEND _folders ${dir})
  endif()
endforeach()
list(REMOVE_DUPLICATES _folders)
if(NOT _folders)
  message(FATAL_ERROR "CheckWindowless: no windowless folder in ${SOURCE_DIR}")
endif()

# --- Headers of the drawing modules by their bare names (<QWidget>, <qwidget.h>), from the installed Qt. ---
set(_bare_headers "")
if(QT_INCLUDE_ROOT)
  file(GLOB _core_headers RELATIVE ${QT_INCLUDE_ROOT}/QtCore ${QT_INCLUDE_ROOT}/QtCore/*)
  foreach(module IN LISTS _drawing_modules)
    if(IS_DIRECTORY ${QT_INCLUDE_ROOT}/${module})
      file(GLOB _headers RELATIVE ${QT_INCLUDE_ROOT}/${module} ${QT_INCLUDE_ROOT}/${module}/*)
      list(APPEND _bare_headers ${_headers})
    endif()
  endforeach()
  # A name Qt Core has as well is Qt Core's.
  if(_core_headers)
    list(REMOVE_ITEM _bare_headers ${_core_headers})
  endif()
endif()
string(JOIN "|" _module_pattern ${_drawing_modules})

foreach(folder IN LISTS _folders)
  file(GLOB_RECURSE _sources RELATIVE ${SOURCE_DIR}
    ${SOURCE_DIR}/${folder}/*.h ${SOURCE_DIR}/${folder}/*.hpp ${SOURCE_DIR}/${folder}/*.hh
    ${SOURCE_DIR}/${folder}/*.cpp ${SOURCE_DIR}/${folder}/*.cc ${SOURCE_DIR}/${folder}/*.cxx
    ${SOURCE_DIR}/${folder}/*.inl)
  foreach(source IN LISTS _sources)
    file(STRINGS ${SOURCE_DIR}/${source} _includes REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"][^>\"]+[>\"]")
    foreach(line IN LISTS _includes)
      string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*[<\"]([^>\"]+)[>\"].*$" "\\1" header "${line}")
      string(STRIP "${header}" header)
      set(_bad FALSE)
      if(header MATCHES "^(${_module_pattern})(/|$)")
        set(_bad TRUE)
      elseif(NOT header MATCHES "/")
        list(FIND _bare_headers "${header}" _at)
        if(_at GREATER -1)
          set(_bad TRUE)
        endif()
      endif()
      if(_bad)
        list(APPEND _failures "${source}: includes <${header}>, a header of a module that draws")
      endif()
    endforeach()
  endforeach()
endforeach()

# --- Link items of the windowless targets. ---
if(NOT EXISTS ${LINKS_FILE})
  message(FATAL_ERROR "CheckWindowless: ${LINKS_FILE} does not exist (configure the build first)")
endif()
file(STRINGS ${LINKS_FILE} _link_lines)
set(_windowless_targets "")
foreach(line IN LISTS _link_lines)
  string(REPLACE "|" ";" _fields "${line}")
  list(GET _fields 1 _target)
  list(APPEND _windowless_targets ${_target})
endforeach()
foreach(line IN LISTS _link_lines)
  string(REPLACE "\t" "|" line "${line}")
  string(REPLACE "|" ";" _fields "${line}")
  list(GET _fields 0 _folder)
  list(GET _fields 1 _target)
  list(LENGTH _fields _count)
  set(_allowed Qt6::Core Qt::Core ${_windowless_targets})
  if(_folder STREQUAL "platform")
    list(APPEND _allowed Qt6::DBus Qt::DBus Qt6::Network Qt::Network)
  endif()
  if(_count GREATER 2)
    list(SUBLIST _fields 2 -1 _items)
    foreach(item IN LISTS _items)
      # Static libraries pass their private links on as $<LINK_ONLY:...>; a target that may be missing
      # is named as $<TARGET_NAME_IF_EXISTS:...>. Anything else that is not a plain name is refused.
      string(REGEX REPLACE "^\\$<(LINK_ONLY|TARGET_NAME_IF_EXISTS):(.*)>$" "\\2" name "${item}")
      if(name STREQUAL "")
        continue()
      endif()
      list(FIND _allowed "${name}" _at)
      if(_at EQUAL -1)
        list(APPEND _failures "${_target} (${_folder}) links ${item}: a windowless library links Qt Core and other windowless libraries only")
      endif()
    endforeach()
  endif()
endforeach()

list(LENGTH _folders _folder_count)
list(LENGTH _link_lines _target_count)
if(_failures)
  list(LENGTH _failures _failure_count)
  string(JOIN "\n  " _report ${_failures})
  message(FATAL_ERROR "${_failure_count} breach(es) of the windowless rule:\n  ${_report}")
endif()
string(JOIN ", " _folder_list ${_folders})
message(STATUS "windowless: ${_folder_list} (${_target_count} targets) include and link nothing that draws")
