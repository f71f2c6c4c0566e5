# The Windows program runs from its build folder as it will from an installed one: tessary.exe
# with the Qt and MinGW runtime DLLs and the plugins it loads beside it (windeployqt is not at
# hand when cross-building, and these are all it needs).
# The Fusion style is built into Qt6Widgets, so no style plugin goes along.
set(TESSARY_QT_DLLS Qt6::Core Qt6::Gui Qt6::Widgets Qt6::Network Qt6::Concurrent)
# Pictures; "windows" draws on the desktop, "offscreen" runs the tests without one.
set(TESSARY_QT_PLUGINS Qt6::QWindowsIntegrationPlugin Qt6::QOffscreenIntegrationPlugin
    Qt6::QGifPlugin Qt6::QICOPlugin Qt6::QJpegPlugin)
# Every program of MinGW needs these; a Qt for MinGW keeps them in its bin/. (MSVC's runtime is
# the system's.)
if(MINGW)
  set(TESSARY_MINGW_DLLS libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
  list(TRANSFORM TESSARY_MINGW_DLLS PREPEND "${QT6_INSTALL_PREFIX}/${QT6_INSTALL_BINS}/")
endif()

target_sources(tessary PRIVATE ${CMAKE_CURRENT_LIST_DIR}/tessary.rc)

set(deployed $<TARGET_FILE_DIR:tessary>)
set(deploy_commands)
foreach(dll ${TESSARY_MINGW_DLLS})
  list(APPEND deploy_commands COMMAND ${CMAKE_COMMAND} -E copy_if_different ${dll} ${deployed})
endforeach()
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
  if(NOT plugin STREQUAL Qt6::QOffscreenIntegrationPlugin)  # the tests' alone
    install(FILES $<TARGET_FILE:${plugin}> DESTINATION ${kind})
  endif()
endforeach()
add_custom_command(TARGET tessary POST_BUILD ${deploy_commands} VERBATIM)
install(TARGETS tessary RUNTIME DESTINATION .)
if(MINGW)
  install(FILES ${TESSARY_MINGW_DLLS} DESTINATION .)
endif()
# Qt's licence texts and libjpeg-turbo's (in its JPEG plugin) go along with the DLLs.
foreach(licence LGPL-3.0-only.txt GPL-2.0-only.txt GPL-3.0-only.txt libjpeg-turbo-LICENSE.md)
  install(FILES "${QT6_INSTALL_PREFIX}/LICENSES/${licence}" DESTINATION licenses)
endforeach()

# cpack (in build-windows) writes an NSIS installer and a portable ZIP of the same files.
# The installer alone writes the registry: the Start menu entry and "Open with" for the five
# extensions; its uninstaller takes both away again, with the program's files, and leaves the
# user's settings (%APPDATA%\Tessary, or a Tessary.ini beside the program).
set(CPACK_GENERATOR NSIS ZIP)
set(CPACK_PACKAGE_NAME Tessary)
set(CPACK_PACKAGE_VENDOR "The Tessary developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Picture viewer with a Japanese user interface")
set(CPACK_PACKAGE_INSTALL_DIRECTORY Tessary)
set(CPACK_PACKAGE_FILE_NAME Tessary-${PROJECT_VERSION}-win64)
set(CPACK_PACKAGE_EXECUTABLES tessary Tessary)
set(CPACK_STRIP_FILES ON)
# A 64-bit installer for a 64-bit program: into "Program Files", not "Program Files (x86)", and
# runnable where only 64-bit Windows programs run (Wine's wine64).
set(CPACK_NSIS_DEFINES "Target amd64-unicode")
set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
set(CPACK_NSIS_DISPLAY_NAME Tessary)
set(CPACK_NSIS_PACKAGE_NAME Tessary)
set(CPACK_NSIS_INSTALLED_ICON_NAME tessary.exe)
set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)
set(CPACK_NSIS_MUI_FINISHPAGE_RUN tessary.exe)
# SHCTX: the machine's classes for an install for all users, the user's own otherwise.
set(app "Software\\\\Classes\\\\Applications\\\\tessary.exe")
set(install "WriteRegStr SHCTX '${app}' 'FriendlyAppName' 'Tessary'
  WriteRegStr SHCTX '${app}\\\\shell\\\\open\\\\command' '' '\\\"$INSTDIR\\\\tessary.exe\\\" \\\"%1\\\"'")
set(uninstall "DeleteRegKey SHCTX '${app}'")
foreach(extension bmp gif jpg jpeg ico)
  set(list "Software\\\\Classes\\\\.${extension}\\\\OpenWithList\\\\tessary.exe")
  string(APPEND install "
  WriteRegStr SHCTX '${app}\\\\SupportedTypes' '.${extension}' ''
  WriteRegStr SHCTX '${list}' '' ''")
  string(APPEND uninstall "
  DeleteRegKey SHCTX '${list}'")
endforeach()
set(CPACK_NSIS_EXTRA_INSTALL_COMMANDS "${install}")
set(CPACK_NSIS_EXTRA_UNINSTALL_COMMANDS "${uninstall}")
include(CPack)
