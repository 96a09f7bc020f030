# Which folder may include which: one line per folder (the rules are explained in
# cmake/QvLayers.cmake). Plain C++ cores first, then the Qt layers, then the programs.
# A folder named here before it exists is skipped until it arrives.

qv_layer(board/core)
qv_layer(engine/core       USES board/core)
qv_layer(script/core       USES board/core)
qv_layer(puzzles/core      USES board/core script/core engine/core)
qv_layer(progress/core     USES script/core board/core)
qv_layer(analysis/core     USES board/core engine/core)
qv_layer(check/core        USES board/core engine/core script/core)

qv_layer(engine/thread     QT Core     USES board/core                 INTERNAL engine/core)
qv_layer(progress/store    QT Sql      USES progress/core)
qv_layer(analysis/engines  QT Core     USES analysis/core engine/core board/core)
qv_layer(resources         QT Gui      TARGETS qv_jpeg qv_resources qv_piece_glyphs)
qv_layer(board/ui          QT Widgets  USES board/core engine/thread resources)
qv_layer(script/ui         QT Widgets  USES script/core                INTERNAL resources)
qv_layer(widgets           QT Widgets)
qv_layer(windows           QT Widgets Charts
                                       USES board/ui script/core widgets resources
                                       analysis/core analysis/engines progress/core)
qv_layer(app/help          QT Widgets  TARGETS qv_help)
qv_layer(app               QT Widgets Multimedia
                           USES app/help board/ui script/core script/ui widgets windows resources
                                progress/core progress/store puzzles/core)

# The command-line companion: every core and Qt's non-graphical modules, never widgets.
qv_layer(tools/qvn         QT Core     TARGETS qvn
                           USES board/core engine/core script/core puzzles/core progress/core check/core
                                progress/store analysis/core analysis/engines)
qv_layer(tools/artgen      QT Gui      TARGETS qv_artgen INTERNAL resources)
