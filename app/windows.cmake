# The Windows side of the program: its resource script (icon and version
# information), deployment of the Qt libraries next to the executable, and
# the NSIS installer. The resource script is configured on every platform so
# that scripts/check-windows can compile it with mingw-w64.

# The version information wants four numbers; missing parts count as 0.
set(version_parts ${PROJECT_VERSION_MAJOR} ${PROJECT_VERSION_MINOR} ${PROJECT_VERSION_PATCH}
    ${PROJECT_VERSION_TWEAK})
set(version_numbers)
foreach(part IN LISTS version_parts)
  if(part STREQUAL "")
    set(part 0)
  endif()
  list(APPEND version_numbers ${part})
endforeach()
list(JOIN version_numbers "," TOLMARIK_VERSION_COMMAS)
list(JOIN version_numbers "." TOLMARIK_VERSION_DOTS)
set(TOLMARIK_ICON ${PROJECT_SOURCE_DIR}/app/TolmarikProg.ico)
configure_file(${PROJECT_SOURCE_DIR}/app/TolmarikProg.rc.in
  ${PROJECT_BINARY_DIR}/app/TolmarikProg.rc @ONLY)

if(NOT WIN32)
  return()
endif()

target_sources(TolmarikProg PRIVATE ${PROJECT_BINARY_DIR}/app/TolmarikProg.rc)
set_target_properties(TolmarikProg PROPERTIES WIN32_EXECUTABLE ON)

# What both programs need beside them: Qt's libraries, the platform plugin,
# the native style, the logbook's SQLite driver and the MinGW runtime. There
# is no windeployqt for a cross build, so the list is ours; the kit's
# libraries are found through Qt's own imported targets, the runtime beside
# Qt6Core.dll.
get_target_property(qt_core_dll Qt6::Core IMPORTED_LOCATION_RELEASE)
if(NOT qt_core_dll)
  get_target_property(qt_core_dll Qt6::Core IMPORTED_LOCATION)
endif()
get_filename_component(qt_bin ${qt_core_dll} DIRECTORY)
set(runtime_dlls)
set(qt_libraries Core Gui Widgets)
if(TOLMARIK_LOGBOOK)
  list(APPEND qt_libraries Sql)
endif()
foreach(library IN LISTS qt_libraries)
  list(APPEND runtime_dlls $<TARGET_FILE:Qt6::${library}>)
endforeach()
foreach(runtime libgcc_s_seh-1.dll libstdc++-6.dll libwinpthread-1.dll)
  find_file(TOLMARIK_RUNTIME_${runtime} ${runtime} HINTS ${qt_bin}
            /usr/lib/gcc/x86_64-w64-mingw32/12-posix /usr/x86_64-w64-mingw32/lib
            NO_CMAKE_FIND_ROOT_PATH REQUIRED)
  list(APPEND runtime_dlls ${TOLMARIK_RUNTIME_${runtime}})
endforeach()

install(TARGETS TolmarikProg tolmarik-cli RUNTIME DESTINATION .)
install(FILES ${runtime_dlls} DESTINATION .)
install(FILES $<TARGET_FILE:Qt6::QWindowsIntegrationPlugin> DESTINATION platforms)
# The logbook's database driver (SQLite built in), loaded by Qt SQL at run
# time. A kit whose Qt SQL package does not list its plugins (the project's
# own: no Qt6SqlPlugins.cmake) still carries the driver's package beside it.
if(TOLMARIK_LOGBOOK)
  if(NOT TARGET Qt6::QSQLiteDriverPlugin)
    include(${Qt6Sql_DIR}/Qt6QSQLiteDriverPluginConfig.cmake)
  endif()
  install(FILES $<TARGET_FILE:Qt6::QSQLiteDriverPlugin> DESTINATION sqldrivers)
endif()
if(TARGET Qt6::QWindowsVistaStylePlugin)
  install(FILES $<TARGET_FILE:Qt6::QWindowsVistaStylePlugin> DESTINATION styles)
endif()
# Qt's own texts (standard buttons, file dialogs) in both languages the
# program speaks: the kit has none, and Debian's are the same Qt 6.4's. The
# program's own translations are in its resources.
find_file(TOLMARIK_QT_RUSSIAN qtbase_ru.qm PATHS /usr/share/qt6/translations NO_CMAKE_FIND_ROOT_PATH
          REQUIRED)
find_file(TOLMARIK_QT_ENGLISH qtbase_en.qm PATHS /usr/share/qt6/translations NO_CMAKE_FIND_ROOT_PATH
          REQUIRED)
install(FILES ${TOLMARIK_QT_RUSSIAN} ${TOLMARIK_QT_ENGLISH} DESTINATION translations)
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION . RENAME LICENSE.txt)

# The installer: TolmarikProg-<version>-win64.exe, made by makensis (Debian's
# nsis) through CPack: both programs into Program Files, a Start-menu entry
# with the program's icon, an uninstaller registered with the system. Our
# copy of CMake's template (app/package/nsis) adds the desktop shortcut, the
# file types and the uninstaller's choice to delete the pilot's logbook; the
# template is BSD-licensed, its notice goes with the installer.
install(FILES ${PROJECT_SOURCE_DIR}/app/package/nsis/COPYING-CMake.txt DESTINATION .
        RENAME LICENSE-installer.txt)
list(PREPEND CMAKE_MODULE_PATH ${PROJECT_SOURCE_DIR}/app/package/nsis)
set(CPACK_GENERATOR NSIS)
set(CPACK_PACKAGE_NAME ${PROJECT_NAME})
set(CPACK_PACKAGE_VENDOR ${TOLMARIK_COMPANY})
set(CPACK_PACKAGE_VERSION ${TOLMARIK_VERSION_DOTS})
set(CPACK_PACKAGE_FILE_NAME ${PROJECT_NAME}-${TOLMARIK_VERSION_DOTS}-win64)
set(CPACK_PACKAGE_INSTALL_DIRECTORY ${PROJECT_NAME})
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY ${PROJECT_NAME})
set(CPACK_PACKAGE_EXECUTABLES "TolmarikProg;TolmarikProg")
set(CPACK_NSIS_EXECUTABLES_DIRECTORY .)
set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
set(CPACK_NSIS_MUI_ICON ${TOLMARIK_ICON})
set(CPACK_NSIS_MUI_UNIICON ${TOLMARIK_ICON})
set(CPACK_NSIS_INSTALLED_ICON_NAME TolmarikProg.exe)
set(CPACK_NSIS_DISPLAY_NAME ${PROJECT_NAME})
set(CPACK_NSIS_PACKAGE_NAME ${PROJECT_NAME})
set(CPACK_NSIS_CONTACT ${TOLMARIK_AUTHOR})
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_NSIS_EXECUTABLE makensis)
# An older or the same version installed is uninstalled first (silently when
# the installer is), which keeps the pilot's logbook.
set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)
# A 64-bit installer for 64-bit programs: NSIS makes 32-bit ones unless told.
set(CPACK_NSIS_DEFINES "Target amd64-unicode")
include(CPack)
