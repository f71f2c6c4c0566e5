# The Windows program runs from its build folder as it will from an installed one: tessary.exe
# with the Qt and MinGW runtime DLLs and the plugins it loads beside it (windeployqt is not at
# hand when cross-building, and these are all it needs).
# The Fusion style is built into Qt6Widgets, so no style plugin goes along.
set(TESSARY_QT_DLLS Qt6::Core Qt6::Gui Qt6::Widgets Qt6::Network Qt6::Concurrent)
# Pictures; "windows" draws on the desktop, "offscreen" runs the tests without one.
set(TESSARY_QT_PLUGINS Qt6::QWindowsIntegrationPlugin Qt6::QOffscreenIntegrationPlugin
    Qt6::QGifPlugin Qt6::QICOPlugin Qt6::QJpegPlugin)
# Every program of this compiler needs these; the Qt for MinGW keeps them in its bin/.
set(TESSARY_MINGW_DLLS libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
list(TRANSFORM TESSARY_MINGW_DLLS PREPEND "${QT6_INSTALL_PREFIX}/${QT6_INSTALL_BINS}/")

set(deployed $<TARGET_FILE_DIR:tessary>)
set(deploy_commands COMMAND ${CMAKE_COMMAND} -E copy_if_different ${TESSARY_MINGW_DLLS} ${deployed})
foreach(dll ${TESSARY_QT_DLLS})
  list(APPEND deploy_commands
       COMMAND ${CMAKE_COMMAND} -E copy_if_different $<TARGET_FILE:${dll}> ${deployed})
  install(FILES $<TARGET_FILE:${dll}> DESTINATION .)
endforeach()
foreach(plugin ${TESSARY_QT_PLUGINS})
  get_target_property(kind ${plugin} QT_PLUGIN_TYPE)
  list(APPEND deploy_commands
       COMMAND ${CMAKE_COMMAND} -E make_directory ${deployed}/${kind}
       COMMAND ${CMAKE_COMMAND} -E copy_if_different $<TARGET_FILE:${plugin}> ${deployed}/${kind})
  install(FILES $<TARGET_FILE:${plugin}> DESTINATION ${kind})
endforeach()
add_custom_command(TARGET tessary POST_BUILD ${deploy_commands} VERBATIM)
install(TARGETS tessary RUNTIME DESTINATION .)
install(FILES ${TESSARY_MINGW_DLLS} DESTINATION .)
