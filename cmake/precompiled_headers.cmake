# Precompiled headers for the targets whose files spend most of their build in Qt's and the test
# framework's headers. A file still includes what it uses: the headers below only make it quicker.
set(VITRINA_PCH_CORE <string> <vector> <memory> <functional> <filesystem> <QString> <QByteArray> <QObject>)
set(VITRINA_PCH_WIDGETS ${VITRINA_PCH_CORE} <QtWidgets>)
set(VITRINA_PCH_WEB ${VITRINA_PCH_WIDGETS} <QWebEnginePage> <QWebEngineView>)

target_precompile_headers(vitrina_core PRIVATE ${VITRINA_PCH_CORE})
target_precompile_headers(vitrina_core_tests PRIVATE ${VITRINA_PCH_CORE} <gtest/gtest.h>)
if(TARGET vitrina_ui)
  target_precompile_headers(vitrina_ui PRIVATE ${VITRINA_PCH_WIDGETS})
  target_precompile_headers(vitrina_html_code PRIVATE ${VITRINA_PCH_WEB})
endif()
if(TARGET vitrina_ui_tests)
  target_precompile_headers(vitrina_ui_tests PRIVATE ${VITRINA_PCH_WEB} <QTest> <gtest/gtest.h>)
endif()
# Xapian's header refuses to come after Qt's (it uses the words Qt defines as keywords).
set_source_files_properties(src/search/word_index.cpp PROPERTIES SKIP_PRECOMPILE_HEADERS ON)
