# SPDX-FileCopyrightText: 2026 The Luminaku developers
# SPDX-License-Identifier: MIT
# The game for a web browser: one folder of static files (the page, the program's script and
# its WebAssembly) that any web server can host. Included from packaging/CMakeLists.txt when
# building with emscripten.

# Debian's python, which has fontTools (a python of one's own may not).
find_program(LUMINAKU_PYTHON3 python3 PATHS /usr/bin NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH
  REQUIRED)

# The message boxes' buttons in Japanese, built in: the page has no files of its own.
find_file(LUMINAKU_QTBASE_JA qtbase_ja.qm PATHS /usr/share/qt6/translations
  NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH REQUIRED)
set_source_files_properties(${LUMINAKU_QTBASE_JA} PROPERTIES QT_RESOURCE_ALIAS qtbase_ja.qm)
qt_add_resources(luminaku web_translations PREFIX /luminaku/translations
  FILES ${LUMINAKU_QTBASE_JA})
qt_add_resources(luminaku web_qtconf PREFIX /qt/etc BASE ${CMAKE_CURRENT_SOURCE_DIR}/web
  FILES ${CMAKE_CURRENT_SOURCE_DIR}/web/qt.conf)

# The fonts the desktop finds installed, cut down to the game's own characters: the one the
# windows name for their gothic and mincho texts, and the one the desktop falls back to.
set(_fonts)
foreach(_font ipafont-gothic/ipag.ttf ipafont-gothic/ipagp.ttf ipafont-mincho/ipamp.ttf)
  get_filename_component(_name ${_font} NAME_WE)
  find_file(LUMINAKU_FONT_${_name} ${_font} PATHS /usr/share/fonts/opentype
    NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH REQUIRED)
  list(APPEND _fonts ${LUMINAKU_FONT_${_name}})
endforeach()
set(_subset_dir ${CMAKE_CURRENT_BINARY_DIR}/web/fonts)
set(_subsets)
foreach(_font IN LISTS _fonts)
  get_filename_component(_name ${_font} NAME)
  list(APPEND _subsets ${_subset_dir}/${_name})
endforeach()
file(GLOB_RECURSE _texts CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/src/*.cpp
  ${PROJECT_SOURCE_DIR}/src/*.h ${PROJECT_SOURCE_DIR}/src/*.in)
add_custom_command(OUTPUT ${_subsets}
  COMMAND ${LUMINAKU_PYTHON3} ${CMAKE_CURRENT_SOURCE_DIR}/web/subset-fonts.py ${_subset_dir}
          ${LUMINAKU_QTBASE_JA} ${_fonts} -- ${_texts}
  DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/web/subset-fonts.py ${LUMINAKU_QTBASE_JA} ${_fonts} ${_texts}
  COMMENT "Cutting the Japanese fonts down to the game's characters" VERBATIM)
set_source_files_properties(${_subsets} PROPERTIES GENERATED TRUE)
qt_add_resources(luminaku web_fonts PREFIX /luminaku/fonts BASE ${_subset_dir} FILES ${_subsets})

# Qt's platform plugin brings three Latin fonts whole, 1 MB of the download. The game draws its
# Latin text with DejaVu Sans alone (as on a Linux desktop): that one goes in cut down like the
# others, in place of Qt's; the two it never uses are left empty, which Qt's font list passes
# over as unreadable.
option(LUMINAKU_WEB_CUT_QT_FONTS "Replace Qt's Latin fonts by DejaVu Sans cut down" ON)
if(LUMINAKU_WEB_CUT_QT_FONTS)
  find_file(LUMINAKU_FONT_DejaVuSans DejaVuSans.ttf PATHS /usr/share/fonts/truetype/dejavu
    NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH REQUIRED)
  set(_qt_fonts ${CMAKE_CURRENT_BINARY_DIR}/web/qtfonts)
  file(MAKE_DIRECTORY ${_qt_fonts})
  file(TOUCH ${_qt_fonts}/DejaVuSansMono.ttf ${_qt_fonts}/Vera.ttf)
  add_custom_command(OUTPUT ${_qt_fonts}/DejaVuSans.ttf
    COMMAND ${LUMINAKU_PYTHON3} ${CMAKE_CURRENT_SOURCE_DIR}/web/subset-fonts.py ${_qt_fonts}
            ${LUMINAKU_QTBASE_JA} ${LUMINAKU_FONT_DejaVuSans} -- ${_texts}
    DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/web/subset-fonts.py ${LUMINAKU_QTBASE_JA}
            ${LUMINAKU_FONT_DejaVuSans} ${_texts}
    COMMENT "Cutting DejaVu Sans down to the game's characters" VERBATIM)
  qt_add_resources(luminaku web_qt_fonts PREFIX /fonts BASE ${_qt_fonts}
    FILES ${_qt_fonts}/DejaVuSans.ttf ${_qt_fonts}/DejaVuSansMono.ttf ${_qt_fonts}/Vera.ttf)
  set_target_properties(Qt6::QWasmIntegrationPlugin_resources_1 PROPERTIES IMPORTED_OBJECTS_RELEASE "")
endif()

# The quit question and the system-information notice are modal message boxes that return the
# player's answer, as on the desktop. Without threads a browser can only wait for it when the
# program is built with asyncify, which can suspend the call stack back to the browser.
# Code that can never be on the stack while a message box waits (drawing, text shaping, fonts,
# images, compression) is left out of it: a smaller and faster program.
option(LUMINAKU_WEB_ASYNCIFY "Build with asyncify, for modal message boxes" ON)
if(LUMINAKU_WEB_ASYNCIFY)
  set(_never_waits hb_* FT_* ft_* tt_* TT_* af_* ps_* cff_* cid_* t1_* T1_* pfr_* sfnt_* psh_*
    png_* *pcre2_* md_* qt_blend* qt_fetch* qt_memfill* qt_memrotate* comp_func_* qt_convert*
    qt_scale* QRasterPaintEngine* QRasterizer* qt_ft_* QPainterPath* QStroker* QDashStroker*
    QTextEngine* QFontEngine* QFreetypeFace* QImage* QRegion::* QTransform::* QPainter::*
    QPainterPrivate* QPaintEngine* QEmulationPaintEngine* QOutlineMapper* QBezier* QPolygon*
    QTriangulat* QPathClipper* QFusionStyle::* QCommonStyle::* QStyle::* QStyleSheetStyle*
    QWindowsStyle* double_conversion::* QTextLayout* QTextLine* QTextDocument* QTextCursor*
    QTextFormat* QTextBlock* QTextHtml* QTextMarkdown* QCss* QAbstractTextDocumentLayout*
    QTextDocumentLayout* QOpenGL* QWasmCompositor::draw* QWasmCompositor::frame* QString::*
    QByteArray::* QLocale* QDateTime* QDate::* QTime::* QTimeZone* QRegularExpression* QUrl*
    QMime* QJson* QCbor* QColor* QPalette* QBrush* QPen* QPixmap* QIcon* QFont::* QFontDatabase*
    QFontMetrics* QFreeTypeFontDatabase* QAbstractItemView* QTreeView* QListView* QTableView*
    QHeaderView* QAbstractItemModel* QFileSystemModel* QCompleter* QComboBox* QAbstractSpinBox*
    QDateTimeEdit* QCalendar* QTabBar* QTabWidget* QToolBar* QDockWidget* QMainWindow* QMdi*
    QGraphics* QColorDialog* QFileDialog* QFontDialog* QInputDialog* QWizard* QSplitter*
    QLineEdit* QWidgetLineControl* QTextEdit* QPlainTextEdit* QWidgetTextControl* QUndo*
    QSettings* QDebug* QTextStream*)
  list(JOIN _never_waits "\",\"" _never_waits)
  file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/web/never-waits.json "[\"${_never_waits}\"]\n")
  target_link_options(luminaku PRIVATE "SHELL:-s ASYNCIFY" "SHELL:-s ASYNCIFY_STACK_SIZE=65536"
    "SHELL:-s ASYNCIFY_REMOVE=@${CMAKE_CURRENT_BINARY_DIR}/web/never-waits.json")
endif()
# The pictures are compiled-in XPM, which Qt reads itself: no image format plugins.
qt_import_plugins(luminaku EXCLUDE_BY_TYPE imageformats)
# Optimised for size at link time too, where the whole of Qt goes through binaryen.
target_link_options(luminaku PRIVATE -Oz)

# A run-time error in a handler ends the game after its message box, and the launcher catches
# its own errors, in a browser as on the desktop: the game's own code catches exceptions (Qt's
# does not, and stays as small as Qt builds it).
get_target_property(_qt_link Qt6::Platform INTERFACE_LINK_OPTIONS)
list(REMOVE_ITEM _qt_link "SHELL:-s DISABLE_EXCEPTION_CATCHING=1")
set_target_properties(Qt6::Platform PROPERTIES INTERFACE_LINK_OPTIONS "${_qt_link}")
foreach(_target luminaku_core luminaku)
  target_compile_options(${_target} PRIVATE "SHELL:-s DISABLE_EXCEPTION_CATCHING=0")
endforeach()
target_link_options(luminaku PRIVATE "SHELL:-s DISABLE_EXCEPTION_CATCHING=0")

# The folder to publish: the page, the program, and what makes it an installable app that
# plays offline after one visit (manifest, icons, service worker).
set(LUMINAKU_SITE ${CMAKE_BINARY_DIR}/site)
set(_web ${CMAKE_CURRENT_BINARY_DIR}/web)
set(LUMINAKU_SITE_VERSION "@LUMINAKU_SITE_VERSION@") # filled in by site.cmake
configure_file(web/index.html.in ${_web}/index.html.in @ONLY)
# The app's short name is the title's own, between its wave dashes; the calm shortcut is
# named as the desktop entry's calm action is in Japanese.
string(REGEX REPLACE "^～([^～]+)～.*" "\\1" LUMINAKU_SHORT_NAME "${LUMINAKU_TITLE}")
file(STRINGS ${CMAKE_CURRENT_SOURCE_DIR}/linux/luminaku.desktop.in _calm REGEX "^Name\\[ja\\]=" ENCODING UTF-8)
string(REGEX REPLACE "^Name\\[ja\\]=" "" LUMINAKU_CALM_NAME "${_calm}")
configure_file(web/luminaku.webmanifest.in ${_web}/luminaku.webmanifest @ONLY)

# The trefoil for home screens: the scalable art, and for launchers that cut icons to their
# own shape, the same wedges on a black square, inside the circle they all keep.
find_program(LUMINAKU_RSVG rsvg-convert PATHS /usr/bin NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH
  REQUIRED)
set(_svg ${PROJECT_SOURCE_DIR}/art/trefoil.svg)
file(READ ${_svg} _art)
string(REGEX REPLACE "<circle [^>]*fill=\"#000000\"/>" "<rect width=\"32\" height=\"32\" fill=\"#000000\"/>"
       _maskable "${_art}")
if(_maskable STREQUAL _art)
  message(FATAL_ERROR "art/trefoil.svg: no black disc to make the maskable icon from")
endif()
file(WRITE ${_web}/maskable.svg "${_maskable}")
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${_svg})
set(_icons)
foreach(_icon "icon-192;${_svg};192" "icon-512;${_svg};512" "icon-maskable;${_web}/maskable.svg;512")
  list(GET _icon 0 _name)
  list(GET _icon 1 _from)
  list(GET _icon 2 _size)
  add_custom_command(OUTPUT ${_web}/${_name}.png
    COMMAND ${LUMINAKU_RSVG} -w ${_size} -h ${_size} -o ${_web}/${_name}.png ${_from}
    DEPENDS ${_from} COMMENT "Drawing ${_name}.png" VERBATIM)
  list(APPEND _icons ${_web}/${_name}.png)
endforeach()

set(_inputs ${_web}/index.html.in ${_web}/luminaku.webmanifest
  ${CMAKE_CURRENT_SOURCE_DIR}/web/sw.js.in ${_icons})
# The program's files: DEPENDS names them by their target (the WebAssembly comes with the script).
set(_program $<TARGET_FILE_DIR:luminaku>/luminaku.js $<TARGET_FILE_DIR:luminaku>/luminaku.wasm)
set(_site_files)
foreach(_name index.html luminaku.js luminaku.wasm luminaku.webmanifest sw.js)
  list(APPEND _site_files ${LUMINAKU_SITE}/${_name} ${LUMINAKU_SITE}/${_name}.gz
       ${LUMINAKU_SITE}/${_name}.br)
endforeach()
foreach(_name icon-192.png icon-512.png icon-maskable.png)
  list(APPEND _site_files ${LUMINAKU_SITE}/${_name})
endforeach()
add_custom_command(OUTPUT ${_site_files}
  COMMAND ${CMAKE_COMMAND} -DSITE=${LUMINAKU_SITE} "-DFILES=${_inputs};${_program}"
          -P ${CMAKE_CURRENT_SOURCE_DIR}/web/site.cmake
  DEPENDS luminaku ${_inputs} ${CMAKE_CURRENT_SOURCE_DIR}/web/site.cmake
  COMMENT "The folder to publish: ${LUMINAKU_SITE}" VERBATIM)
add_custom_target(luminaku_site ALL DEPENDS ${_site_files})
