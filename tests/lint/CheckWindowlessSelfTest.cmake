# Runs CheckWindowless.cmake over small trees of its own, each with one breach of the rule, and over one
# clean tree: the check must fail for every breach, naming it, and pass the clean tree.
#
#   cmake -DCHECK=<CheckWindowless.cmake> -DWORK_DIR=<scratch folder> -P CheckWindowlessSelfTest.cmake
cmake_minimum_required(VERSION 3.25)

file(REMOVE_RECURSE ${WORK_DIR})
set(_qt ${WORK_DIR}/qt)
# A Qt include folder of our own: two drawing modules and Qt Core.
foreach(header QtCore/QString QtCore/qstring.h QtCore/QtCore QtGui/QImage QtGui/qimage.h QtGui/QtGui
    QtWidgets/QWidget QtWidgets/qwidget.h QtWidgets/QtWidgets QtPrintSupport/QPrinter)
  file(WRITE ${_qt}/${header} "")
endforeach()

set(_clean_source "#include \"RecordingEntry.h\"\n#include <QString>\n#include <QtCore/QString>\n// #include <QWidget> in a comment\n#include <algorithm>\n")
set(_clean_links "app/core|zq_app_core|Qt6::Core\nlibrary/core|zq_library|Qt6::Core\tzq_app_core\t$<LINK_ONLY:zq_platform>\nplatform|zq_platform|Qt6::Core\tQt6::DBus\tQt6::Network\n")
set(_failed 0)

# name, folder of the bad file (empty: none), its text, links file text, what the report must say
function(expect name folder text links expected)
  set(tree ${WORK_DIR}/${name})
  file(WRITE ${tree}/library/core/RecordingEntry.cpp "${_clean_source}")
  file(WRITE ${tree}/app/core/OptionFile.cpp "#include <QFile>\n")
  file(MAKE_DIRECTORY ${tree}/platform ${tree}/playback/avi ${tree}/tests/core)
  # A test folder named core is no library: a widget include there is fine.
  file(WRITE ${tree}/tests/core/WidgetTest.cpp "#include <QWidget>\n")
  if(folder)
    file(WRITE ${tree}/${folder}/Breach.cpp "${text}")
  endif()
  file(WRITE ${tree}/links.txt "${links}")
  execute_process(COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${tree} -DLINKS_FILE=${tree}/links.txt
                          -DQT_INCLUDE_ROOT=${_qt} -P ${CHECK}
                  RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(expected STREQUAL "")
    if(NOT result EQUAL 0)
      message(SEND_ERROR "${name}: the clean tree failed:\n${out}")
    endif()
  elseif(result EQUAL 0)
    message(SEND_ERROR "${name}: the breach was not caught")
  else()
    string(FIND "${out}" "${expected}" at)
    if(at EQUAL -1)
      message(SEND_ERROR "${name}: the report does not say \"${expected}\":\n${out}")
    endif()
  endif()
endfunction()

expect(clean "" "" "${_clean_links}" "")
expect(bare_class library/core "#include <QWidget>\n" "${_clean_links}" "library/core/Breach.cpp: includes <QWidget>")
expect(module_path platform "  #  include \"QtWidgets/QWidget\"\n" "${_clean_links}" "includes <QtWidgets/QWidget>")
expect(whole_module playback/avi "#include<QtGui>\n" "${_clean_links}" "playback/avi/Breach.cpp: includes <QtGui>")
expect(lower_case app/core "#include <qimage.h> // for QImage\n" "${_clean_links}" "includes <qimage.h>")
expect(web_engine library/core "#include <QtWebEngineWidgets/QWebEngineView>\n" "${_clean_links}" "includes <QtWebEngineWidgets/QWebEngineView>")
expect(print_support library/core "#include <QPrinter>\n" "${_clean_links}" "includes <QPrinter>")
# A core folder that does not exist yet today is covered as soon as it does.
expect(new_core_folder device/core "#include <QtWidgets/QtWidgets>\n" "${_clean_links}" "device/core/Breach.cpp")
expect(nested_core_folder sensors/map/core "#include <QImage>\n" "${_clean_links}" "sensors/map/core/Breach.cpp")
expect(links_gui "" "" "${_clean_links}library/core|zq_names|Qt6::Core\tQt6::Gui\n" "zq_names (library/core) links Qt6::Gui")
expect(links_private_widgets "" "" "${_clean_links}sensors/core|zq_sensors|$<LINK_ONLY:Qt6::Widgets>\n" "links $<LINK_ONLY:Qt6::Widgets>")
expect(links_network_outside_platform "" "" "${_clean_links}app/core|zq_online|Qt6::Core\tQt6::Network\n" "zq_online (app/core) links Qt6::Network")
expect(links_a_drawing_library "" "" "${_clean_links}device/core|zq_device|zq_controls\n" "zq_device (device/core) links zq_controls")
